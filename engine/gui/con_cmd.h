// Con_Cmd: a named console command, and the word access commands use to read their line.
#pragma once
#include <cstddef>

class Console;

class Con_Cmd
{
  public:
    Con_Cmd(const char* name, bool hidden) : m_name(name), m_hidden(hidden) {}
    Con_Cmd(const Con_Cmd&) = delete;
    Con_Cmd& operator=(const Con_Cmd&) = delete;

    virtual ~Con_Cmd() = default;
    // Runs with the whole command line as typed.
    virtual void Execute(const char* line, Console& console) = 0;
    // Adds the command to the console's list unless one of the same name is there.
    virtual void Register(Console& console);

    const char* Get_Name() const { return m_name; }
    bool Is_Hidden() const { return m_hidden; }

  private:
    const char* m_name;
    bool m_hidden;
};

// The size of the word buffers the commands read into.
constexpr size_t CON_WORD_SIZE = 256;

// Word n of a command line into out (cut to size - 1 characters); word 0 is the command name. Words are
// separated by spaces, tabs, carriage returns and line feeds; a word that begins with a double quote runs
// to the next double quote and comes back without the quotes. False (and an empty out) when there is no
// word n.
bool Con_Get_Word(const char* line, int n, char* out, size_t size);

// Equality of two names without regard to case.
bool Con_Same_Name(const char* a, const char* b);

// The five commands, registered by every console in this order.
Con_Cmd& Con_Help_Command();
Con_Cmd& Con_Controllers_Command();
Con_Cmd& Con_Slowdown_Command();
Con_Cmd& Con_Exec_Command();
Con_Cmd& Con_Vars_Command();
