// The installed game started the way a player starts it: through its command on the PATH, from another
// folder, on a display of the test's own, with a home folder of its own. A test run as root starts the game
// as the user nobody, for whom the installed files are read-only, as they are for a player.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace test_support
{
class Player_Run
{
  public:
    // home: the player's home folder (made and given to the player); display: ":N".
    Player_Run(const std::filesystem::path& home, const std::string& display);
    ~Player_Run();
    Player_Run(const Player_Run&) = delete;
    Player_Run& operator=(const Player_Run&) = delete;

    // Starts the program with HOME, XDG_DATA_HOME (when not empty) and DISPLAY set and little else.
    bool Start(const std::string& program, const std::string& xdg_data_home = "");
    // Waits until the file holds the text (and no longer holds `gone`, left by an earlier run); false after
    // the timeout or when the program ended first.
    bool Wait_For_Text(const std::filesystem::path& file, const std::string& text,
                       const std::string& gone = "", double seconds = 30.0);
    void Signal(int signal_number = 15);
    // The exit code, 128 + the signal that ended it, or -1 after the timeout (the destructor then kills it).
    int Wait(double seconds = 20.0);
    // Gives the folder and everything in it to the player.
    void Hand_Over(const std::filesystem::path& folder) const;

  private:
    std::filesystem::path m_home;
    std::string m_display;
    int m_pid = -1;
};

// Every regular file and link under the folder, relative to it, sorted.
std::vector<std::string> Files_Under(const std::filesystem::path& folder);
// Takes the write permission off (or gives it back to the owner of) everything under the folder.
void Set_Read_Only(const std::filesystem::path& folder, bool read_only);
// Runs a shell command; true when it exits 0. Its output goes to `output` when given.
bool Shell(const std::string& command, std::string* output = nullptr);
} // namespace test_support
