// The log, Print_Message and Report_Error.
#include "engine/core/vorta_log.h"

#include "platform/message_box.h"
#include "platform/process.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
// The log lies beside the program: the program's folder becomes the working directory before the log
// empties its file (both are initialised in this file, in this order).
const bool g_in_program_folder = platform::Enter_Executable_Directory();

constexpr int k_message_size = 2048;
} // namespace

Vorta_Log g_vorta_log("sys_log.txt", LOG_DEBUGGER | LOG_FILE);

Vorta_Log::Vorta_Log(const char* file_name, int flags) : m_flags(flags)
{
    (void)g_in_program_folder;
    std::snprintf(m_file_name, sizeof(m_file_name), "%s", file_name ? file_name : "");
    Start_File();
}

void Vorta_Log::Start_File()
{
    if (!(m_flags & LOG_KEEP))
        if (FILE* file = std::fopen(m_file_name, "w"))
            std::fclose(file);
}

bool Vorta_Log::Set_File_Name(const char* file_name)
{
    if (!file_name || std::strlen(file_name) >= sizeof(m_file_name))
        return false;
    std::snprintf(m_file_name, sizeof(m_file_name), "%s", file_name);
    Start_File();
    return true;
}

void Vorta_Log::Write(const char* text)
{
    if (m_flags == LOG_OFF || !text)
        return;
    if (m_flags & LOG_FILE)
    {
        // Opened per message: nothing is held open between calls, and an unwritable file is skipped.
        if (FILE* file = std::fopen(m_file_name, "a"))
        {
            std::fputs(text, file);
            std::fclose(file);
        }
    }
    if (m_flags & LOG_DEBUGGER)
        platform::Debug_Output(text);
}

void Print_Message(const char* format, ...)
{
    if (g_vorta_log.Get_Flags() == LOG_OFF)
        return;
    char text[k_message_size];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    g_vorta_log.Write(text);
}

int Report_Error(bool fatal, const char* format, ...)
{
    char text[k_message_size];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    g_vorta_log.Write(text);
    int result = platform::Show_Message_Box(text, "Error!!!");
    if (fatal)
        std::exit(1);
    return result;
}
