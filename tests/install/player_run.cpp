// Player_Run on fork and exec, with the user switched to nobody when the test runs as root.
#include "player_run.h"

#include "support/program_runner.h"
#include "support/test_files.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace test_support
{
namespace
{
constexpr uid_t NOBODY = 65534;
}

Player_Run::Player_Run(const fs::path& home, const std::string& display) : m_home(home), m_display(display)
{
    fs::create_directories(m_home);
    Hand_Over(m_home);
}

Player_Run::~Player_Run()
{
    if (m_pid > 0)
    {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

void Player_Run::Hand_Over(const fs::path& folder) const
{
    if (geteuid() != 0)
        return;
    std::error_code ignored;
    if (chown(folder.c_str(), NOBODY, NOBODY) != 0)
        return;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, ignored))
        if (lchown(entry.path().c_str(), NOBODY, NOBODY) != 0)
            return;
}

bool Player_Run::Start(const std::string& program, const std::string& xdg_data_home)
{
    std::vector<std::string> env = {"PATH=/usr/bin:/bin", "HOME=" + m_home.string(), "DISPLAY=" + m_display,
                                    "VORTA5_HEADLESS=1",  "SDL_AUDIODRIVER=dummy",   "ALSOFT_DRIVERS=null"};
    if (!xdg_data_home.empty())
        env.push_back("XDG_DATA_HOME=" + xdg_data_home);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string path = program;

    m_pid = fork();
    if (m_pid == 0)
    {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(NOBODY) != 0 || setuid(NOBODY) != 0))
            _exit(125);
        if (chdir("/") != 0)
            _exit(126);
        char* argv[] = {path.data(), nullptr};
        execve(path.c_str(), argv, envp.data());
        _exit(127);
    }
    return m_pid > 0;
}

bool Player_Run::Wait_For_Text(const fs::path& file, const std::string& text, const std::string& gone,
                               double seconds)
{
    auto found = [&]
    {
        std::string now = Read_File(file.string());
        return now.find(text) != std::string::npos && (gone.empty() || now.find(gone) == std::string::npos);
    };
    return Wait_For(m_pid, found, seconds);
}

void Player_Run::Signal(int signal_number)
{
    if (m_pid > 0)
        kill(m_pid, signal_number);
}

int Player_Run::Wait(double seconds)
{
    return Wait_For_Exit(m_pid, seconds);
}

std::vector<std::string> Files_Under(const fs::path& folder)
{
    std::vector<std::string> files;
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, ignored))
        if (entry.is_symlink() || entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

void Set_Read_Only(const fs::path& folder, bool read_only)
{
    const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    auto apply = [&](const fs::path& path)
    {
        std::error_code ignored;
        if (fs::is_symlink(path))
            return;
        if (read_only)
            fs::permissions(path, write, fs::perm_options::remove, ignored);
        else
            fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ignored);
    };
    std::error_code ignored;
    if (!read_only)
        apply(folder);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, ignored))
        apply(entry.path());
    if (read_only)
        apply(folder);
}

bool Shell(const std::string& command, std::string* output)
{
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return false;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        text.append(buffer, n);
    int status = pclose(pipe);
    if (output)
        *output = text;
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
} // namespace test_support
