// Runs a copy of the game's executable in a scratch folder, the way a player starts it.
#pragma once
#include "support/test_files.h"

#include <functional>
#include <string>
#include <vector>

namespace test_support
{
// Runs a shell command with its output thrown away (xdotool, ImageMagick ...); true when it exits with 0.
bool Run_Command(const std::string& command);

// Waits until `done` holds or the child process ends (pid then becomes -1); false after the timeout or when
// the child ended without `done` holding.
bool Wait_For(int& pid, const std::function<bool()>& done, double seconds);
// Waits for the child's end (pid then becomes -1): its exit code, 128 + the signal that ended it, or -1
// after the timeout.
int Wait_For_Exit(int& pid, double seconds);

class Program_Run
{
  public:
    // Copies the executable from the build's runtime folder into the folder (plus what else lies beside it
    // that the program reads: config.txt, data/).
    explicit Program_Run(const Scratch_Folder& folder, const char* executable = "kestrova");
    ~Program_Run();

    // Starts it with the test environment changed by the given "NAME=value" entries ("NAME=" removes NAME),
    // and with the given command-line arguments.
    bool Start(const std::vector<std::string>& environment = {},
               const std::vector<std::string>& arguments = {});
    // From the next Start on, the program's standard output and error go to this file (created anew).
    void Capture_Output(const std::string& file) { m_output = file; }
    // Waits until the program's sys_log.txt holds the text (and no longer holds `gone`, a line left by an
    // earlier run); false after the timeout or when the program ended without it.
    bool Wait_For_Log(const std::string& text, double seconds = 20.0, const std::string& gone = "");
    // Sends a signal (SIGTERM by default).
    void Signal(int signal_number = 15);
    // Waits for the end; the exit code, or -1 after the timeout (the program is then killed), or 128 + the
    // signal that ended it.
    int Wait(double seconds = 20.0);
    std::string Log() const;

  private:
    std::string m_folder;
    std::string m_executable;
    std::string m_output;
    int m_pid = -1;
};
} // namespace test_support
