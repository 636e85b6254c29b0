// Gdt_Edit: focus, typing (in the order the keys went down), cursor movement and the text line it shows.
#include "engine/gui/gdt_edit.h"

#include "engine/gui/intuition.h"

namespace
{
enum Edit_Keys
{
    KEY_BACKSPACE = 14,
    KEY_RETURN = 28,
    KEY_HOME = 199,
    KEY_LEFT = 203,
    KEY_RIGHT = 205,
    KEY_END = 207,
    KEY_DELETE = 211,
};
// A held key repeats after half a second, then every third frame.
constexpr uint32_t REPEAT_DELAY = 30;
constexpr uint32_t REPEAT_EVERY = 3;
} // namespace

Gdt_Edit::Gdt_Edit(Intuition* manager, int capacity)
    : Gdt_Click(manager), m_capacity(capacity > 0 ? capacity : 1)
{
    m_buffer.reserve(m_capacity);
}

bool Gdt_Edit::Typed(uint32_t held)
{
    return held == 1 || (held > REPEAT_DELAY && (held - REPEAT_DELAY) % REPEAT_EVERY == 0);
}

bool Gdt_Edit::Update()
{
    bool consumed = Gdt_Click::Update();
    if (m_hidden)
        return false;
    Gui_Host* host = Host();
    if (!host || !m_manager)
        return consumed;
    if (consumed)
        m_manager->Set_Focus(this);
    if (m_manager->Get_Focus() != this)
        return consumed;
    Read_Keys(host);
    if (host->Key_Held(KEY_RETURN) == 1)
        m_clicked = true;
    return consumed;
}

void Gdt_Edit::Read_Keys(Gui_Host* host)
{
    bool shift = host->Shift_Down();
    bool caps = host->Caps_Lock_On();
    // The keys that went down in this frame, in the order they were typed, however many came at once.
    constexpr int MAX_TYPED = 64;
    int typed[MAX_TYPED];
    int count = host->Typed_Keys(typed, MAX_TYPED);
    bool taken[256] = {};
    for (int i = 0; i < count; ++i)
    {
        if (typed[i] <= 0 || typed[i] > 255)
            continue;
        taken[typed[i]] = true;
        Take_Key(host, typed[i], shift, caps);
    }
    // Then the keys held down that repeat in this frame (and a key that reads as newly down without a
    // press of its own, as one held while the window came back).
    for (int code = 1; code < 256; ++code)
        if (!taken[code] && Typed(host->Key_Held(code)))
            Take_Key(host, code, shift, caps);
}

void Gdt_Edit::Take_Key(Gui_Host* host, int code, bool shift, bool caps)
{
    switch (code)
    {
    case KEY_BACKSPACE:
        Backspace();
        break;
    case KEY_DELETE:
        Delete();
        break;
    case KEY_LEFT:
        Set_Cursor(m_cursor - 1);
        break;
    case KEY_RIGHT:
        Set_Cursor(m_cursor + 1);
        break;
    case KEY_HOME:
        Set_Cursor(0);
        break;
    case KEY_END:
        Set_Cursor(Get_Length());
        break;
    default:
        if (char c = host->Char_From_Key(code, shift, caps))
            Insert(c);
        break;
    }
}

void Gdt_Edit::Refresh_Text()
{
    if (!m_changed || m_collapsed)
        return;
    Set_Line(0, m_buffer.c_str());
    Set_Cursor_Column(m_cursor);
    m_changed = false;
}

void Gdt_Edit::Set_Text(const char* text)
{
    m_buffer.assign(text ? text : "");
    if (Get_Length() > m_capacity)
        m_buffer.resize(m_capacity);
    m_cursor = Get_Length();
    m_changed = true;
}

void Gdt_Edit::Set_Cursor(int cursor)
{
    cursor = cursor < 0 ? 0 : (cursor > Get_Length() ? Get_Length() : cursor);
    if (cursor == m_cursor)
        return;
    m_cursor = cursor;
    m_changed = true;
}

bool Gdt_Edit::Insert(char c)
{
    if (Get_Length() >= m_capacity)
        return false;
    m_buffer.insert(m_buffer.begin() + m_cursor, c);
    ++m_cursor;
    m_changed = true;
    return true;
}

void Gdt_Edit::Backspace()
{
    if (m_cursor == 0)
        return;
    m_buffer.erase(m_buffer.begin() + (m_cursor - 1));
    --m_cursor;
    m_changed = true;
}

void Gdt_Edit::Delete()
{
    if (m_cursor >= Get_Length())
        return;
    m_buffer.erase(m_buffer.begin() + m_cursor);
    m_changed = true;
}
