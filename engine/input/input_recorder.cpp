// Input_Recorder: each poll written as the changes since the one before, in the text of input_recording.h.
#include "engine/input/input_recording.h"

#include "engine/input/input_pad_fields.h"
#include "engine/input/key_names.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace
{
// Names without blanks that Key_From_Name takes, preferred over #N where a key has one.
const char* const k_key_names[] = {
    "escape", "return",  "space",  "tab",     "lshift", "rshift",  "lctrl",  "rctrl",    "lalt",  "ralt",
    "lwin",   "rwin",    "up",     "down",    "left",   "right",   "pageup", "pagedown", "grave", "f1",
    "f2",     "f3",      "f4",     "f5",      "f6",     "f7",      "f8",     "f9",       "f10",   "f11",
    "f12",    "np1",     "np2",    "np3",     "np4",    "np5",     "np6",    "np7",      "np8",   "np9",
    "npdot",  "npenter", "nplock", "npslash", "npstar", "npminus", "npplus",
};

void Append(std::string& items, const char* text)
{
    items += ' ';
    items += text;
}

// "X,Y" of two floats.
std::string Pair(float x, float y)
{
    char a[32], b[32];
    Recording_Number(x, a, sizeof a);
    Recording_Number(y, b, sizeof b);
    return std::string(a) + "," + b;
}
} // namespace

void Recording_Key_Name(int scan_code, char* out, int size)
{
    if (!out || size <= 0)
        return;
    for (const char* name : k_key_names)
        if (Key_From_Name(name) == scan_code)
        {
            std::snprintf(out, static_cast<size_t>(size), "%s", name);
            return;
        }
    const char c = Char_From_Key(scan_code, false, false);
    if (std::isalnum(static_cast<unsigned char>(c)) && Key_From_Char(c) == scan_code)
    {
        std::snprintf(out, static_cast<size_t>(size), "%c", c);
        return;
    }
    std::snprintf(out, static_cast<size_t>(size), "#%d", scan_code);
}

void Recording_Number(float value, char* out, int size)
{
    if (!out || size <= 0)
        return;
    for (int digits = 6; digits <= 9; ++digits)
    {
        std::snprintf(out, static_cast<size_t>(size), "%.*g", digits, value);
        if (std::strtof(out, nullptr) == value)
            return;
    }
}

std::string Recording_Word(const char* name)
{
    std::string word;
    for (const char* c = name ? name : ""; *c; ++c)
    {
        const unsigned char b = static_cast<unsigned char>(*c);
        if (b <= 32 || b >= 127 || b == ',' || b == '\\' || b == '"' || b == '#' || b == ';')
        {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", b);
            word += escape;
        }
        else
            word += *c;
    }
    return word;
}

bool Recording_Unword(const std::string& word, char* name, int size)
{
    if (!name || size <= 0)
        return false;
    int length = 0;
    for (size_t i = 0; i < word.size(); ++i)
    {
        int b = static_cast<unsigned char>(word[i]);
        if (b == '\\')
        {
            if (i + 3 >= word.size() || word[i + 1] != 'x' ||
                !std::isxdigit(static_cast<unsigned char>(word[i + 2])) ||
                !std::isxdigit(static_cast<unsigned char>(word[i + 3])))
                return false;
            const char hex[3] = {word[i + 2], word[i + 3], 0};
            b = static_cast<int>(std::strtol(hex, nullptr, 16));
            i += 3;
        }
        if (b == 0 || length >= size - 1)
            return false;
        name[length++] = static_cast<char>(b);
    }
    name[length] = 0;
    return true;
}

bool Input_Recorder::Open(const char* file_name)
{
    Finish();
    m_file = file_name ? std::fopen(file_name, "wb") : nullptr;
    m_failed = m_file == nullptr;
    m_header_written = false;
    m_frames = 0;
    m_state = Input_Frame();
    return m_file != nullptr;
}

void Input_Recorder::Add_Header_Line(const char* line)
{
    if (line && !m_header_written)
        m_header.emplace_back(line);
}

void Input_Recorder::Take_Devices(const Input_Pad_Info* pads, int count)
{
    m_pads.assign(pads, pads + (count < 0 ? 0 : count > INPUT_MAX_PADS ? INPUT_MAX_PADS : count));
    m_state.pad_count = static_cast<int>(m_pads.size());
    for (int pad = 0; pad < m_state.pad_count; ++pad)
        m_state.pad_attached[pad] = true;
}

void Input_Recorder::Write_Header()
{
    m_header_written = true;
    if (!m_file)
        return;
    std::fprintf(m_file, "kestrova-demo 1\n");
    for (const std::string& line : m_header)
        std::fprintf(m_file, "%s\n", line.c_str());
    for (size_t i = 0; i < m_pads.size(); ++i)
    {
        // A quote inside a device's name would end the name early on reading; it becomes an apostrophe.
        char name[256];
        std::snprintf(name, sizeof(name), "%s", m_pads[i].name);
        for (char* c = name; *c; ++c)
            if (*c == '"' || *c == '\n' || *c == '\r')
                *c = '\'';
        std::fprintf(m_file, "pad %zu %d \"%s\"\n", i, m_pads[i].buttons, name);
    }
}

void Input_Recorder::Take_Frame(const Input_Frame& frame)
{
    if (!m_header_written)
        Write_Header();
    std::string items;
    char text[128];

    if (frame.keyboard == INPUT_LOST)
        Append(items, "lost=keyboard");
    else if (frame.keyboard == INPUT_READ)
    {
        // Keys that went down are written in the order they were typed, which is what a playback takes
        // them in; only when the typed keys are not just those (a key typed twice in one poll, say) are they
        // written as an item of their own.
        int newly[256];
        int newly_count = 0;
        for (int code = 0; code < 256; ++code)
            if ((frame.keys[code] & 0x80) && !(m_state.keys[code] & 0x80))
                newly[newly_count++] = code;
        bool in_typed_order = frame.typed_count == newly_count;
        bool seen[256] = {};
        for (int i = 0; i < frame.typed_count && in_typed_order; ++i)
        {
            const int code = frame.typed[i];
            in_typed_order = !seen[code] && (frame.keys[code] & 0x80) && !(m_state.keys[code] & 0x80);
            seen[code] = true;
        }
        for (int i = 0; i < newly_count; ++i)
        {
            const int code = in_typed_order ? frame.typed[i] : newly[i];
            m_state.keys[code] = 0x80;
            text[0] = '+';
            Recording_Key_Name(code, text + 1, sizeof(text) - 1);
            Append(items, text);
        }
        for (int code = 0; code < 256; ++code)
            if (!(frame.keys[code] & 0x80) && (m_state.keys[code] & 0x80))
            {
                m_state.keys[code] = 0;
                text[0] = '-';
                Recording_Key_Name(code, text + 1, sizeof(text) - 1);
                Append(items, text);
            }
        if (!in_typed_order)
        {
            std::string typed = frame.typed_count ? "typed=" : "typed=none";
            for (int i = 0; i < frame.typed_count; ++i)
            {
                Recording_Key_Name(frame.typed[i], text, sizeof(text));
                typed += (i ? "," : "") + std::string(text);
            }
            Append(items, typed.c_str());
        }
    }

    if (frame.mouse == INPUT_LOST)
        Append(items, "lost=mouse");
    else if (frame.mouse == INPUT_READ)
    {
        const platform::Mouse_Reading& reading = frame.mouse_reading;
        for (int button = 0; button < 8; ++button)
        {
            const uint8_t down = reading.buttons[button] ? 0x80 : 0;
            if (down == m_state.mouse_reading.buttons[button])
                continue;
            m_state.mouse_reading.buttons[button] = down;
            std::snprintf(text, sizeof(text), "%cmouse%d", down ? '+' : '-', button);
            Append(items, text);
        }
        if (reading.dz)
            std::snprintf(text, sizeof(text), "move=%d,%d,%d", reading.dx, reading.dy, reading.dz);
        else
            std::snprintf(text, sizeof(text), "move=%d,%d", reading.dx, reading.dy);
        if (reading.dx || reading.dy || reading.dz)
            Append(items, text);
    }
    if (frame.mouse_x != m_state.mouse_x || frame.mouse_y != m_state.mouse_y)
    {
        m_state.mouse_x = frame.mouse_x;
        m_state.mouse_y = frame.mouse_y;
        Append(items, ("mouse=" + Pair(frame.mouse_x, frame.mouse_y)).c_str());
    }
    if (frame.caps_lock != m_state.caps_lock)
    {
        m_state.caps_lock = frame.caps_lock;
        Append(items, frame.caps_lock ? "caps=1" : "caps=0");
    }

    const int pads = frame.pad_count < INPUT_MAX_PADS ? frame.pad_count : INPUT_MAX_PADS;
    for (int pad = 0; pad < pads; ++pad)
    {
        platform::Joystick_Reading& last = m_state.pad_reading[pad];
        // A pad pulled out or plugged in starts again from the released state.
        if (frame.pad_event[pad] & PAD_PULLED_OUT)
        {
            std::snprintf(text, sizeof(text), "pad%d.out", pad);
            Append(items, text);
            m_state.pad_attached[pad] = false;
            last = platform::Joystick_Reading();
        }
        if (frame.pad_event[pad] & PAD_PLUGGED_IN)
        {
            std::snprintf(text, sizeof(text), "pad%d.in=%d,", pad, frame.pad_info[pad].buttons);
            Append(items, (text + Recording_Word(frame.pad_info[pad].name)).c_str());
            m_state.pad_attached[pad] = true;
            last = platform::Joystick_Reading();
            if (pad >= m_state.pad_count)
                m_state.pad_count = pad + 1;
        }
        if (frame.pad[pad] == INPUT_LOST)
        {
            std::snprintf(text, sizeof(text), "lost=pad%d", pad);
            Append(items, text);
            m_state.pad_attached[pad] = false;
            last = platform::Joystick_Reading();
            continue;
        }
        if (frame.pad[pad] != INPUT_READ)
            continue;
        const platform::Joystick_Reading& reading = frame.pad_reading[pad];
        for (int button = 0; button < platform::Joystick_Device::MAX_BUTTONS; ++button)
        {
            const uint8_t down = reading.buttons[button] ? 0x80 : 0;
            if (down == last.buttons[button])
                continue;
            last.buttons[button] = down;
            std::snprintf(text, sizeof(text), "%cpad%d.b%d", down ? '+' : '-', pad, button);
            Append(items, text);
        }
        for (int field = 0; field < PAD_FIELD_COUNT; ++field)
        {
            const int32_t value = *Pad_Field(reading, field);
            if (value == *Pad_Field(last, field))
                continue;
            *Pad_Field(last, field) = value;
            std::snprintf(text, sizeof(text), "pad%d.%s=%d", pad, k_pad_field_names[field], value);
            Append(items, text);
        }
    }

    const int touches = frame.touch_count < INPUT_MAX_TOUCH ? frame.touch_count : INPUT_MAX_TOUCH;
    bool touch_changed = touches != m_state.touch_count;
    for (int i = 0; i < touches && !touch_changed; ++i)
        touch_changed = frame.touch_x[i] != m_state.touch_x[i] || frame.touch_y[i] != m_state.touch_y[i];
    if (touch_changed)
    {
        m_state.touch_count = touches;
        std::string touch = touches ? "touch=" : "touch=none";
        for (int i = 0; i < touches; ++i)
        {
            m_state.touch_x[i] = frame.touch_x[i];
            m_state.touch_y[i] = frame.touch_y[i];
            touch += (i ? ";" : "") + Pair(frame.touch_x[i], frame.touch_y[i]);
        }
        Append(items, touch.c_str());
    }

    if (!items.empty() && m_file)
    {
        if (std::fprintf(m_file, "%u%s\n", m_frames, items.c_str()) < 0 || std::fflush(m_file) != 0)
            m_failed = true;
    }
    ++m_frames;
}

bool Input_Recorder::Finish()
{
    if (!m_file)
    {
        const bool ok = !m_failed;
        m_failed = false;
        return ok;
    }
    if (!m_header_written)
        Write_Header();
    if (std::fprintf(m_file, "%u end\n", m_frames) < 0 || std::ferror(m_file))
        m_failed = true;
    if (std::fclose(m_file) != 0)
        m_failed = true;
    m_file = nullptr;
    const bool ok = !m_failed;
    m_failed = false;
    return ok;
}
