// Console: the engine's developer console, a window with a scroll-back of 1024 lines, a command line,
// frame-rate, CPU and camera read-outs, named commands and a table of variables the host can expose.
#pragma once
#include "engine/gui/gdt_edit.h"
#include "engine/gui/gdt_window.h"

#include <cstdint>

class Con_Cmd;

// Variable type codes: the width the value pointer is read and written with.
enum Con_Var_Type
{
    CON_U8 = 0,
    CON_U16 = 1,
    CON_S32_A = 2,
    CON_S8 = 3,
    CON_S16 = 4,
    CON_S32 = 5,
    CON_FLOAT = 6,
    CON_DOUBLE = 7,
    CON_FLOAT2 = 8,
    CON_FLOAT3 = 9,
    CON_EMPTY = 10,
};

struct Con_Var
{
    const char* name = nullptr;
    int type = CON_EMPTY;
    void* value = nullptr; // borrowed; null marks an empty entry
};

class Console : public Gdt_Window
{
  public:
    static constexpr int LINES = 1024;
    static constexpr int LINE_LENGTH = 160;
    static constexpr int VISIBLE_LINES = 30;
    static constexpr int MAX_SCROLL = LINES - VISIBLE_LINES;
    static constexpr int MAX_VARS = 64;
    static constexpr int MAX_COMMANDS = 32;
    static constexpr int CLI_CAPACITY = 100;
    static constexpr int DEFAULT_TOGGLE_KEY = 59; // F1
    static constexpr float VERSION = 1.2f;

    // Builds the window and its parts, registers the commands, prints the banner and adds itself to the
    // manager, which then owns it. toggle_key 0 means F1.
    Console(Intuition* manager, int toggle_key = 0);
    ~Console() override;

    bool Update() override;
    void Draw() override;
    // The five parts of the console sit in front of the window's client area.
    void Set_Depth(int depth) override;
    // Refreshes the display from the scroll-back.
    void Layout() override;

    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The oldest line becomes the newest and takes the text, cut to 160 characters.
    void Add_Line(const char* text);
    // Line 0 is the newest.
    const char* Get_Line(int index) const;
    void Print_Banner();

    // Runs a command line as Return does: echo, look-up, last-command buffer, execute.
    void Run_Line(const char* line);
    // Tab: an empty line brings back the last command; otherwise the word before the cursor is
    // completed with the first command name it starts.
    void Complete();

    void Register(Con_Cmd* command);
    Con_Cmd* Find_Command(const char* name) const;
    int Get_Command_Count() const { return m_command_count; }
    Con_Cmd* Get_Command(int index) const { return m_commands[index]; }

    // Takes the lowest empty entry; false when the table is full.
    bool Add_Var(const char* name, int type, void* value);
    const Con_Var& Get_Var(int index) const { return m_vars[index]; }
    // The printed value of a variable (empty for an empty entry).
    void Format_Var(int index, char* out, size_t size) const;
    void Write_Var(int index, const char* text);

    void Scroll(int lines);
    int Get_Scroll() const { return m_scroll; }
    void Toggle();
    int Get_Toggle_Key() const { return m_toggle_key; }
    const char* Get_Last_Command() const { return m_last_command; }

    Gadget* Get_Display() const { return m_display; }
    Gdt_Edit* Get_CLI() const { return m_cli; }
    Gadget* Get_FPS() const { return m_fps; }
    Gadget* Get_CPU() const { return m_cpu; }
    Gadget* Get_Info() const { return m_info; }
    Gui_Host* Get_Host() const { return Host(); }

  private:
    void Build();
    void Refresh_Display();
    void Update_Read_Outs();
    void Draw_Badge();

    Gadget* m_display = nullptr;
    Gdt_Edit* m_cli = nullptr;
    Gadget* m_fps = nullptr;
    Gadget* m_cpu = nullptr;
    Gadget* m_info = nullptr;

    char* m_text = nullptr; // LINES buffers of LINE_LENGTH + 1 bytes
    char* m_lines[LINES] = {};
    int m_scroll = 0;
    char m_last_command[161] = {};

    Con_Cmd* m_commands[MAX_COMMANDS] = {};
    int m_command_count = 0;
    Con_Var m_vars[MAX_VARS];
    int m_toggle_key = DEFAULT_TOGGLE_KEY;

    // The frame-rate badge shown while the console is hidden and Tab is held.
    Gui_Sprite* m_badge_box = nullptr;
    Gui_Sprite* m_badge_font = nullptr;
};
