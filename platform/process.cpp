// Working directory, quit signals, resident memory and the headless drivers on POSIX.
#include "platform/process.h"

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace platform
{
namespace
{
volatile std::sig_atomic_t g_quit_signal = 0;
char g_launch_directory[PATH_MAX] = {};
bool g_launch_taken = false;

void Take_Launch_Directory()
{
    if (g_launch_taken)
        return;
    g_launch_taken = true;
    if (!getcwd(g_launch_directory, sizeof(g_launch_directory)))
        g_launch_directory[0] = 0;
}

extern "C" void On_Quit_Signal(int)
{
    g_quit_signal = 1;
}
} // namespace

bool Enter_Executable_Directory()
{
    Take_Launch_Directory();
    char path[PATH_MAX];
    ssize_t len = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (len <= 0)
        return false;
    path[len] = 0;
    char* slash = std::strrchr(path, '/');
    if (!slash)
        return false;
    *(slash == path ? slash + 1 : slash) = 0;
    return chdir(path) == 0;
}

const char* Launch_Directory()
{
    Take_Launch_Directory();
    return g_launch_directory;
}

bool Current_Directory(char* out, size_t size)
{
    if (!out || size == 0)
        return false;
    if (!getcwd(out, size))
    {
        out[0] = 0;
        return false;
    }
    return true;
}

void Install_Quit_Signals()
{
    struct sigaction action;
    std::memset(&action, 0, sizeof(action));
    action.sa_handler = On_Quit_Signal;
    // Calls under way (file reads, device opening) carry on instead of failing with EINTR: the flag alone
    // ends the program, at the next pump.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Quit_Signal_Received()
{
    return g_quit_signal != 0;
}

int64_t Resident_Memory_Kb()
{
    // The second field of statm: resident pages.
    FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file)
        return 0;
    long long size = 0, resident = 0;
    const int read = std::fscanf(file, "%lld %lld", &size, &resident);
    std::fclose(file);
    if (read != 2)
        return 0;
    return static_cast<int64_t>(resident) * (sysconf(_SC_PAGESIZE) / 1024);
}

void Use_Headless_Drivers()
{
    // Asked for by name, the video layer accepts the screenless driver (os_window.cpp).
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    setenv("VORTA5_HEADLESS", "1", 1);
}
} // namespace platform
