// The process-wide log "sys_log.txt" with its debugger mirror, the error box, and the start-up system report.
#pragma once

// Flag word of the log.
enum Log_Flags
{
    LOG_OFF = 1,      // as the whole value: nothing is formatted or written
    LOG_DEBUGGER = 2, // mirror each message to the debugger output
    LOG_FILE = 4,     // append each message to the file
    LOG_KEEP = 8,     // do not empty the file at construction
};

class Vorta_Log
{
  public:
    Vorta_Log(const char* file_name, int flags);

    // Writes the text as it is: no formatting, no line end added.
    void Write(const char* text);

    const char* Get_File_Name() const { return m_file_name; }
    // Moves the log to another file, which starts empty unless the flags say keep. False (and the log left
    // where it was) when the name does not fit.
    bool Set_File_Name(const char* file_name);
    int Get_Flags() const { return m_flags; }
    void Set_Flags(int flags) { m_flags = flags; }

  private:
    void Start_File();

    char m_file_name[256];
    int m_flags;
};

// The one log of the process: "sys_log.txt" beside the program, flags 6.
extern Vorta_Log g_vorta_log;

// Formats (at most 2047 characters) and writes one message to the log.
void Print_Message(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes the message to the log like Print_Message, shows it in the "Error!!!" box and, when fatal,
// ends the program with exit code 1. Returns the box's result.
int Report_Error(bool fatal, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Writes the BIOS, motherboard, processor and memory report to the log.
void System_Report();
