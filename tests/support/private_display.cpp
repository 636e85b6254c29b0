// Private_Display: Xvfb started with -displayfd, which picks a free display number and reports it.
#include "support/private_display.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_support
{
Private_Display::Private_Display(int width, int height)
{
    int fds[2];
    if (pipe(fds) != 0)
        return;
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    std::string fd = std::to_string(fds[1]);
    m_pid = fork();
    if (m_pid == 0)
    {
        // The server ends with the test process, even one that crashes, and keeps none of its output
        // streams open: a server left behind on the test runner's pipe keeps the runner waiting.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0)
        {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            close(quiet);
        }
        close(fds[0]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (m_pid < 0)
    {
        close(fds[0]);
        return;
    }
    // The server writes its display number once it is ready for clients.
    std::string number;
    pollfd wait_for = {fds[0], POLLIN, 0};
    while (poll(&wait_for, 1, 10000) > 0)
    {
        char c;
        if (read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    close(fds[0]);
    if (!number.empty())
        m_name = ":" + number;
}

Private_Display::~Private_Display()
{
    if (m_in_use)
    {
        if (m_had_previous)
            setenv("DISPLAY", m_previous.c_str(), 1);
        else
            unsetenv("DISPLAY");
    }
    if (m_pid > 0)
    {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}

void Private_Display::Use()
{
    if (!Ready() || m_in_use)
        return;
    const char* previous = std::getenv("DISPLAY");
    m_had_previous = previous != nullptr;
    m_previous = previous ? previous : "";
    setenv("DISPLAY", m_name.c_str(), 1);
    m_in_use = true;
}
} // namespace test_support
