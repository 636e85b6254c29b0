// Working directory and quit signals on POSIX.
#include "platform/process.h"

#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace platform
{
namespace
{
volatile std::sig_atomic_t g_quit_signal = 0;

extern "C" void On_Quit_Signal(int)
{
    g_quit_signal = 1;
}
} // namespace

bool Enter_Executable_Directory()
{
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
} // namespace platform
