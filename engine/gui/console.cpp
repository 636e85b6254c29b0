// Console: layout, scroll-back, keys, completion, the command table and the variable table.
#include "engine/gui/console.h"

#include "engine/core/no_case.h"
#include "engine/gui/con_cmd.h"
#include "engine/gui/intuition.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
enum Console_Keys
{
    KEY_TAB = 15,
    KEY_RETURN = 28,
    KEY_UP = 200,
    KEY_PAGE_UP = 201,
    KEY_DOWN = 208,
    KEY_PAGE_DOWN = 209,
};

constexpr const char* BOX = "resource/bas_relief";
constexpr const char* SHADOW = "resource/shadow";
constexpr const char* FONT = "resource/arial";
constexpr Gui_Colour WHITE{1.0f, 1.0f, 1.0f, 1.0f};
constexpr float RADIANS_TO_DEGREES = 57.29578f;
// Border of the framed boxes, in height units.
constexpr float BOX_BORDER = 0.01f;
constexpr float BUTTON_SIZE = 0.025f;
constexpr float BUTTON_INSET = 0.0075f;
// The first length characters of text equal those of name, without regard to case.
bool Starts_With(const char* name, const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (!name[i] || Fold_Case(name[i]) != Fold_Case(text[i]))
            return false;
    return true;
}

// Held scroll keys repeat after half a second, then every third frame.
bool Pressed_Or_Repeating(uint32_t held)
{
    return held == 1 || (held > 30 && (held - 30) % 3 == 0);
}
} // namespace

Console::Console(Intuition* manager, int toggle_key) : Gdt_Window(manager)
{
    m_toggle_key = toggle_key > 0 && toggle_key < 256 ? toggle_key : DEFAULT_TOGGLE_KEY;
    m_text = new char[LINES * (LINE_LENGTH + 1)]();
    for (int i = 0; i < LINES; ++i)
        m_lines[i] = m_text + i * (LINE_LENGTH + 1);

    Build();
    Con_Help_Command().Register(*this);
    Con_Controllers_Command().Register(*this);
    Con_Slowdown_Command().Register(*this);
    Con_Exec_Command().Register(*this);
    Con_Vars_Command().Register(*this);
    Print_Banner();

    Set_Hidden(true);
    if (m_manager)
    {
        m_manager->Add(this);
        Set_Depth(m_depth);
    }
}

Console::~Console()
{
    delete m_badge_box;
    delete m_badge_font;
    delete[] m_text;
    m_text = nullptr;
}

void Console::Build()
{
    Gui_Host* host = Host();
    float aspect = host ? host->Get_Aspect() : 1.0f;
    float w = 1.25f * aspect;
    float h = 0.75f;
    Gui_Vec2 border{BOX_BORDER * aspect, BOX_BORDER};
    Gui_Vec2 button_border{BUTTON_INSET * aspect, BUTTON_INSET};

    Set_Name("Console");
    Set_Rect(0.01f, 0.01f, w, h);
    char title[32];
    std::snprintf(title, sizeof(title), "Console v%.1f", VERSION);
    Add_Title(0.04f, {BOX, GADGET_BOX, {0.0f, 0.4f, 1.0f, 1.0f}, border}, FONT, 0.035f, WHITE, title);
    Add_Client({BOX, GADGET_BOX, {0.0f, 0.0f, 0.0f, 0.75f}, border});
    Add_Shadow({0.007f, 0.01f}, {SHADOW, GADGET_BOX, WHITE, border});
    Add_Close({BOX, GADGET_BOX, {1.0f, 0.0f, 0.0f, 1.0f}, button_border}, BUTTON_SIZE, BUTTON_INSET);
    Add_Back({BOX, GADGET_BOX, {0.0f, 1.0f, 0.0f, 1.0f}, button_border}, BUTTON_SIZE, BUTTON_INSET);
    Add_Minimise({BOX, GADGET_BOX, {1.0f, 1.0f, 0.0f, 1.0f}, button_border}, BUTTON_SIZE, BUTTON_INSET);

    m_display = new Gadget(m_manager);
    m_display->Set_Name("Console - Display");
    m_display->Set_Rect(0.01f, 0.0f, w - 0.02f, h - 0.045f);
    m_display->Load_Font(FONT, WHITE, 0.03f, VISIBLE_LINES, 0x2005);
    Add_Child(m_display);

    m_cli = new Gdt_Edit(m_manager, CLI_CAPACITY);
    m_cli->Set_Name("Console - CLI");
    m_cli->Set_Rect(0.01f, h - 0.045f, w - 0.02f, 0.045f);
    m_cli->Load_Font(FONT, WHITE, 0.035f, 1, 0x2005);
    Add_Child(m_cli);

    m_fps = new Gadget(m_manager);
    m_fps->Set_Name("Console - FPS");
    m_fps->Set_Rect(w - 0.19f, -0.01f, 0.12f * w, 0.035f);
    m_fps->Load_Font(FONT, WHITE, 0.03f, 1, 0x2006);
    Add_Child(m_fps);

    m_cpu = new Gadget(m_manager);
    m_cpu->Set_Name("Console - CPU");
    m_cpu->Set_Rect(w - 0.11f, -0.01f, 0.12f * w, 0.035f);
    m_cpu->Load_Font(FONT, WHITE, 0.03f, 1, 0x2006);
    Add_Child(m_cpu);

    m_info = new Gadget(m_manager);
    m_info->Set_Name("Console - Info");
    m_info->Set_Rect(0.85f * w, 0.03f, 0.12f * w, 0.21f);
    m_info->Load_Font(FONT, WHITE, 0.025f, 8, 0x200A);
    m_info->Set_Caption({-0.04f * w, 0.0f}, WHITE, 0.025f, "Camera");
    Add_Child(m_info);

    if (host)
    {
        m_badge_box = host->Load_Sprite(BOX);
        m_badge_font = host->Load_Sprite(FONT);
    }
}

void Console::Set_Depth(int depth)
{
    Gdt_Window::Set_Depth(depth);
    for (Gadget* child : {m_display, static_cast<Gadget*>(m_cli), m_fps, m_cpu, m_info})
        if (child)
            child->Set_Depth(depth - 3);
}

void Console::Print_Banner()
{
    Print("|c255255000Vorta5 engine, by the Kestrova Reboot team");
    Print("|c255255000DirectX 11, %s, %s", "Release mode", "64 bit");
    Print("|c255255255------------------------------------------------------------");
    Print("|c255255000Comand list:");
    for (int i = 0; i < m_command_count; ++i)
        if (!m_commands[i]->Is_Hidden())
            Print("|t|c000255255%s", m_commands[i]->Get_Name());
}

void Console::Print(const char* format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    Add_Line(line);
}

void Console::Add_Line(const char* text)
{
    char* oldest = m_lines[LINES - 1];
    std::memmove(&m_lines[1], &m_lines[0], sizeof(m_lines[0]) * (LINES - 1));
    m_lines[0] = oldest;
    size_t length = text ? std::strlen(text) : 0;
    if (length > LINE_LENGTH)
        length = LINE_LENGTH;
    if (length)
        std::memcpy(oldest, text, length);
    oldest[length] = '\0';
    Refresh_Display();
}

const char* Console::Get_Line(int index) const
{
    if (index < 0 || index >= LINES)
        return "";
    return m_lines[index];
}

void Console::Layout()
{
    Gdt_Window::Layout();
    Refresh_Display();
}

void Console::Refresh_Display()
{
    if (!m_display)
        return;
    for (int i = 0; i < VISIBLE_LINES; ++i)
        m_display->Set_Line(i, m_lines[m_scroll + VISIBLE_LINES - 1 - i]);
}

void Console::Scroll(int lines)
{
    int offset = m_scroll + lines;
    offset = offset < 0 ? 0 : (offset > MAX_SCROLL ? MAX_SCROLL : offset);
    m_scroll = offset;
    Refresh_Display();
}

void Console::Toggle()
{
    Set_Hidden(!m_hidden);
    if (!m_manager)
        return;
    if (m_hidden)
    {
        m_manager->Set_Focus(nullptr);
    }
    else
    {
        m_manager->Raise(this);
        m_manager->Set_Focus(m_cli);
    }
}

bool Console::Update()
{
    m_clicked = false;
    Gui_Host* host = Host();
    if (!host || !m_manager)
        return false;
    if (host->Key_Held(m_toggle_key) == 1)
        Toggle();
    if (m_hidden)
        return false;

    if (Gdt_Window::Update())
        m_manager->Set_Focus(m_cli);
    if (m_close && m_close->Was_Clicked())
    {
        Set_Hidden(true);
        m_manager->Set_Focus(nullptr);
        return false;
    }

    Update_Read_Outs();
    if (host->Key_Held(KEY_TAB) == 1)
        Complete();
    if (host->Key_Held(KEY_RETURN) == 1)
    {
        char line[CLI_CAPACITY + 1];
        std::snprintf(line, sizeof(line), "%s", m_cli->Get_Text());
        m_cli->Clear();
        Run_Line(line);
    }
    if (Pressed_Or_Repeating(host->Key_Held(KEY_UP)))
        Scroll(1);
    if (Pressed_Or_Repeating(host->Key_Held(KEY_DOWN)))
        Scroll(-1);
    if (Pressed_Or_Repeating(host->Key_Held(KEY_PAGE_UP)))
        Scroll(VISIBLE_LINES);
    if (Pressed_Or_Repeating(host->Key_Held(KEY_PAGE_DOWN)))
        Scroll(-VISIBLE_LINES);
    return false;
}

void Console::Update_Read_Outs()
{
    Gui_Host* host = Host();
    char text[64];
    std::snprintf(text, sizeof(text), "FPS: %u", host->Get_Fps());
    m_fps->Set_Line(0, text);
    std::snprintf(text, sizeof(text), "CPU: %d", host->Get_CPU_Load());
    m_cpu->Set_Line(0, text);
    float position[3], rotation[3];
    if (host->Get_Camera(position, rotation))
    {
        for (int i = 0; i < 3; ++i)
        {
            std::snprintf(text, sizeof(text), "%.2f", position[i]);
            m_info->Set_Line(i, text);
            std::snprintf(text, sizeof(text), "%.2f", rotation[i] * RADIANS_TO_DEGREES);
            m_info->Set_Line(3 + i, text);
        }
    }
}

void Console::Complete()
{
    std::string text = m_cli->Get_Text();
    if (text.empty())
    {
        m_cli->Set_Text(m_last_command);
        return;
    }
    size_t cursor = static_cast<size_t>(m_cli->Get_Cursor());
    size_t space = text.rfind(' ', cursor ? cursor - 1 : 0);
    size_t start = (space == std::string::npos || space >= cursor) ? 0 : space + 1;
    size_t length = cursor - start;
    if (length == 0)
        return;
    for (int i = 0; i < m_command_count; ++i)
    {
        const char* name = m_commands[i]->Get_Name();
        if (std::strlen(name) >= length && Starts_With(name, text.c_str() + start, length))
        {
            std::string completed = text.substr(0, start) + name;
            int new_cursor = static_cast<int>(completed.size());
            m_cli->Set_Text((completed + text.substr(cursor)).c_str());
            m_cli->Set_Cursor(new_cursor);
            return;
        }
    }
}

void Console::Run_Line(const char* line)
{
    Add_Line(line);
    char name[CON_WORD_SIZE];
    if (!line || !*line || !Con_Get_Word(line, 0, name, sizeof(name)))
        return;
    Con_Cmd* command = Find_Command(name);
    if (!command)
        return;
    std::snprintf(m_last_command, sizeof(m_last_command), "%s", line);
    command->Execute(line, *this);
}

void Console::Register(Con_Cmd* command)
{
    if (!command || Find_Command(command->Get_Name()) || m_command_count >= MAX_COMMANDS)
        return;
    m_commands[m_command_count++] = command;
}

Con_Cmd* Console::Find_Command(const char* name) const
{
    for (int i = 0; i < m_command_count; ++i)
        if (Con_Same_Name(m_commands[i]->Get_Name(), name))
            return m_commands[i];
    return nullptr;
}

bool Console::Add_Var(const char* name, int type, void* value)
{
    if (!value)
        return false;
    for (Con_Var& var : m_vars)
    {
        if (var.value)
            continue;
        var = {name ? name : "", type, value};
        return true;
    }
    return false;
}

void Console::Format_Var(int index, char* out, size_t size) const
{
    if (!size)
        return;
    out[0] = '\0';
    if (index < 0 || index >= MAX_VARS || !m_vars[index].value)
        return;
    const void* v = m_vars[index].value;
    switch (m_vars[index].type)
    {
    case CON_U8:
        std::snprintf(out, size, "%d", *static_cast<const uint8_t*>(v));
        break;
    case CON_U16:
        std::snprintf(out, size, "%d", *static_cast<const uint16_t*>(v));
        break;
    case CON_S32_A:
    case CON_S32:
        std::snprintf(out, size, "%d", *static_cast<const int32_t*>(v));
        break;
    case CON_S8:
        std::snprintf(out, size, "%d", *static_cast<const int8_t*>(v));
        break;
    case CON_S16:
        std::snprintf(out, size, "%d", *static_cast<const int16_t*>(v));
        break;
    case CON_FLOAT:
        std::snprintf(out, size, "%.4f", *static_cast<const float*>(v));
        break;
    case CON_DOUBLE:
        std::snprintf(out, size, "%.4f", *static_cast<const double*>(v));
        break;
    case CON_FLOAT2:
    {
        const float* f = static_cast<const float*>(v);
        std::snprintf(out, size, "%.4f,  %.4f", f[0], f[1]);
        break;
    }
    case CON_FLOAT3:
    {
        const float* f = static_cast<const float*>(v);
        std::snprintf(out, size, "%.4f,  %.4f,  %.4f", f[0], f[1], f[2]);
        break;
    }
    default:
        break;
    }
}

void Console::Write_Var(int index, const char* text)
{
    if (index < 0 || index >= MAX_VARS || !m_vars[index].value || !text)
        return;
    void* v = m_vars[index].value;
    long integer = std::strtol(text, nullptr, 10);
    switch (m_vars[index].type)
    {
    case CON_U8:
        *static_cast<uint8_t*>(v) = static_cast<uint8_t>(integer);
        break;
    case CON_U16:
        *static_cast<uint16_t*>(v) = static_cast<uint16_t>(integer);
        break;
    case CON_S32_A:
    case CON_S32:
        *static_cast<int32_t*>(v) = static_cast<int32_t>(integer);
        break;
    case CON_S8:
        *static_cast<int8_t*>(v) = static_cast<int8_t>(integer);
        break;
    case CON_S16:
        *static_cast<int16_t*>(v) = static_cast<int16_t>(integer);
        break;
    case CON_FLOAT:
        *static_cast<float*>(v) = std::strtof(text, nullptr);
        break;
    case CON_DOUBLE:
        *static_cast<double*>(v) = std::strtod(text, nullptr);
        break;
    case CON_FLOAT2:
    case CON_FLOAT3:
    {
        float* f = static_cast<float*>(v);
        int count = m_vars[index].type == CON_FLOAT2 ? 2 : 3;
        char word[CON_WORD_SIZE];
        for (int i = 0; i < count; ++i)
            if (Con_Get_Word(text, i, word, sizeof(word)))
                f[i] = std::strtof(word, nullptr);
        break;
    }
    default:
        break;
    }
}

void Console::Draw()
{
    if (!m_hidden)
    {
        Gdt_Window::Draw();
        return;
    }
    Gui_Host* host = Host();
    if (host && host->Key_Held(KEY_TAB) != 0)
        Draw_Badge();
}

void Console::Draw_Badge()
{
    // A white panel in the top-left corner with "FPS: " ending, and the frame rate starting, mid-way.
    constexpr uint32_t DRAW_FLAGS = 1236;
    const Gui_Vec2 panel{0.1f, 0.025f};
    const Gui_Vec2 half{0.05f, 0.025f};
    const float text_height = 0.025f;
    if (m_badge_box)
    {
        m_badge_box->Clear_Frames();
        float aspect = Host()->Get_Aspect();
        m_badge_box->Draw_Box(false, {0.0f, 0.0f}, panel, {0.004f * aspect, 0.004f}, WHITE);
        m_badge_box->Draw({0.0f, 0.0f}, DRAW_FLAGS);
    }
    if (m_badge_font)
    {
        m_badge_font->Clear_Frames();
        Gui_Colour colour{0.0f, 0.0f, 0.0f, 1.0f};
        Gui_Vec2 pen = Gui_Box_Pen({0.0f, 0.0f}, half, 9);
        m_badge_font->Print(pen, text_height, colour, 9, "FPS: ");
        char fps[16];
        std::snprintf(fps, sizeof(fps), "%u", Host()->Get_Fps());
        colour = {0.0f, 0.0f, 0.0f, 1.0f};
        pen = Gui_Box_Pen({0.05f, 0.0f}, half, 5);
        m_badge_font->Print(pen, text_height, colour, 5, fps);
        m_badge_font->Draw({0.0f, 0.0f}, DRAW_FLAGS);
    }
}
