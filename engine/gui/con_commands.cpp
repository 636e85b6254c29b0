// The console's five commands: help, pads, slowdown, exec and vars.
#include "engine/gui/con_cmd.h"
#include "engine/gui/console.h"
#include "platform/command_pipe.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace
{
// Longest piece of command output taken at a time, and how many pieces one command may add: a full
// scroll-back, so a command that never stops writing cannot hold the program.
constexpr size_t EXEC_PIECE = 128;
constexpr int EXEC_MAX_PIECES = Console::LINES;

bool Is_Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A whole-word integer; false when the word is not one.
bool Parse_Int(const char* word, long& value)
{
    if (!*word)
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(word, &end, 10);
    return errno == 0 && *end == '\0';
}

void Append(char* line, size_t size, const char* format, double value)
{
    size_t used = std::strlen(line);
    if (used < size)
        std::snprintf(line + used, size - used, format, value);
}

void Append_Text(char* line, size_t size, const char* text)
{
    size_t used = std::strlen(line);
    if (used < size)
        std::snprintf(line + used, size - used, "%s", text);
}

class Con_Help : public Con_Cmd
{
  public:
    Con_Help() : Con_Cmd("help", false) {}
    void Execute(const char* /*line*/, Console& console) override { console.Print_Banner(); }
};

class Con_Controllers : public Con_Cmd
{
  public:
    Con_Controllers() : Con_Cmd("pads", false) {}

    void Execute(const char* line, Console& console) override
    {
        Gui_Host* host = console.Get_Host();
        char word[CON_WORD_SIZE];
        if (Con_Get_Word(line, 1, word, sizeof(word)))
        {
            int n = std::atoi(word);
            const Gui_Pad* pad = host ? host->Get_Pad(n) : nullptr;
            if (!pad)
            {
                if (n == 0)
                    console.Print("No controllers detected");
                return;
            }
            Show_One(*pad, console);
            return;
        }
        const Gui_Pad* first = host ? host->Get_Pad(0) : nullptr;
        if (!first)
        {
            console.Print("No controllers detected");
            return;
        }
        for (int i = 0; const Gui_Pad* pad = host->Get_Pad(i); ++i)
        {
            char text[512];
            std::snprintf(text, sizeof(text), "|tC %d|t ", i);
            for (int b = 0; b < 10; ++b)
                Append_Text(text, sizeof(text), pad->Button_Down(b) ? "X" : "O");
            for (int a = 0; a < 8; ++a)
            {
                if (a)
                    Append_Text(text, sizeof(text), ",");
                Append(text, sizeof(text), "|t%.1f", a < pad->Get_Axis_Count() ? pad->Get_Axis(a) : 0.0);
            }
            Append_Text(text, sizeof(text), "|t ");
            Append_Text(text, sizeof(text), pad->Get_Name());
            console.Add_Line(text);
        }
    }

  private:
    static void Show_One(const Gui_Pad& pad, Console& console)
    {
        console.Print("|t Device |t%s", pad.Get_Name());
        char text[512] = "|t Buttons |t";
        for (int b = 0; b < pad.Get_Button_Count(); ++b)
            Append_Text(text, sizeof(text), pad.Button_Down(b) ? "X" : "O");
        console.Add_Line(text);
        std::snprintf(text, sizeof(text), "|t Axis ");
        for (int a = 0; a < pad.Get_Axis_Count(); ++a)
        {
            if (a)
                Append_Text(text, sizeof(text), ",");
            Append(text, sizeof(text), "|t%.1f", pad.Get_Axis(a));
        }
        console.Add_Line(text);
    }
};

class Con_Slowdown : public Con_Cmd
{
  public:
    Con_Slowdown() : Con_Cmd("slowdown", false) {}

    void Execute(const char* line, Console& console) override
    {
        char fps_word[CON_WORD_SIZE], lock_word[CON_WORD_SIZE];
        if (!Con_Get_Word(line, 1, fps_word, sizeof(fps_word)))
        {
            console.Print("|c255255000Usage:");
            console.Print("|t|c000255255slowdown <fps> <lock>");
            return;
        }
        int fps = std::atoi(fps_word);
        bool lock = false;
        if (Con_Get_Word(line, 2, lock_word, sizeof(lock_word)))
            lock = Con_Same_Name(lock_word, "true") || std::atoi(lock_word) > 0;
        Gui_Host* host = console.Get_Host();
        if (!host)
            return;
        if (fps > 0)
            host->Set_Target_Fps(static_cast<float>(fps));
        host->Set_Lock(lock);
    }
};

class Con_Exec : public Con_Cmd
{
  public:
    Con_Exec() : Con_Cmd("exec", false) {}

    void Execute(const char* line, Console& console) override
    {
        char word[CON_WORD_SIZE];
        if (!Con_Get_Word(line, 1, word, sizeof(word)))
        {
            console.Print("|c255255000Usage:");
            console.Print("|t|c000255255exec <DOS command and paramters>");
            return;
        }
        // The text after "exec " (leading blanks before the name allowed). Paths keep their forward
        // slashes: the shell wants them as they are.
        const char* command = line;
        while (Is_Blank(*command))
            ++command;
        while (*command && !Is_Blank(*command))
            ++command;
        if (*command)
            ++command;
        std::function<void(const char*)> add_piece = [&console](const char* piece)
        {
            char text[EXEC_PIECE];
            std::snprintf(text, sizeof(text), "%s", piece);
            size_t length = std::strlen(text);
            while (length && (text[length - 1] == '\n' || text[length - 1] == '\r'))
                text[--length] = '\0';
            console.Add_Line(text);
        };
        const platform::Command_Result result =
            platform::Run_Command(command, EXEC_PIECE, EXEC_MAX_PIECES, add_piece);
        if (!result.started)
        {
            console.Print("error: unable to execute command");
            return;
        }
        if (result.complete)
            std::printf("\nProcess returned %d\n", result.exit_code);
        else
            std::printf("Error: Failed to read the pipe to the end.\n");
        std::fflush(stdout);
    }
};

class Con_Vars : public Con_Cmd
{
  public:
    Con_Vars() : Con_Cmd("vars", false) {}

    void Execute(const char* line, Console& console) override
    {
        char index_word[CON_WORD_SIZE], value[CON_WORD_SIZE];
        if (!Con_Get_Word(line, 1, index_word, sizeof(index_word)))
        {
            List(console);
            return;
        }
        long index = -1;
        if (!Parse_Int(index_word, index) || index < 0 || index >= Console::MAX_VARS ||
            !console.Get_Var(static_cast<int>(index)).value)
        {
            console.Print("|t|c255000000Invalid index");
            return;
        }
        if (!Con_Get_Word(line, 2, value, sizeof(value)))
        {
            List(console);
            return;
        }
        console.Write_Var(static_cast<int>(index), value);
    }

  private:
    static void List(Console& console)
    {
        for (int i = 0; i < Console::MAX_VARS; ++i)
        {
            const Con_Var& var = console.Get_Var(i);
            if (!var.value)
                continue;
            char printed[128];
            console.Format_Var(i, printed, sizeof(printed));
            console.Print("%d|t%s|t|t%s", i, var.name, printed);
        }
    }
};
} // namespace

Con_Cmd& Con_Help_Command()
{
    static Con_Help command;
    return command;
}

Con_Cmd& Con_Controllers_Command()
{
    static Con_Controllers command;
    return command;
}

Con_Cmd& Con_Slowdown_Command()
{
    static Con_Slowdown command;
    return command;
}

Con_Cmd& Con_Exec_Command()
{
    static Con_Exec command;
    return command;
}

Con_Cmd& Con_Vars_Command()
{
    static Con_Vars command;
    return command;
}
