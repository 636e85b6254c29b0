// Program_Run on fork and exec.
#include "support/program_runner.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace test_support
{
bool Run_Command(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

namespace fs = std::filesystem;

Program_Run::Program_Run(const Scratch_Folder& folder, const char* executable)
    : m_folder(folder.Path().string()), m_executable((folder.Path() / executable).string())
{
    fs::path runtime = VORTA5_RUNTIME_DIR;
    fs::copy_file(runtime / executable, m_executable, fs::copy_options::overwrite_existing);
    for (const char* extra : {"config.txt", "data", "data.pak", "data.7z"})
        if (fs::exists(runtime / extra))
            fs::copy(runtime / extra, folder.Path() / extra,
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

Program_Run::~Program_Run()
{
    if (m_pid > 0)
    {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

bool Program_Run::Start(const std::vector<std::string>& environment,
                        const std::vector<std::string>& arguments)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    for (const std::string& change : environment)
    {
        std::string name = change.substr(0, change.find('=') + 1);
        std::erase_if(env, [&](const std::string& e) { return e.rfind(name, 0) == 0; });
        if (change.size() > name.size())
            env.push_back(change);
    }
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    std::vector<std::string> args = arguments;
    std::vector<char*> argv{m_executable.data()};
    for (std::string& argument : args)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    m_pid = fork();
    if (m_pid == 0)
    {
        // The program ends with the test process, even one that crashes (it may hold the runner's pipe).
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // Started from elsewhere: the program must find its own folder.
        if (chdir("/") != 0)
            _exit(126);
        if (!m_output.empty())
        {
            const int out = open(m_output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0)
                _exit(126);
            close(out);
        }
        execve(m_executable.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    return m_pid > 0;
}

std::string Program_Run::Log() const
{
    return Read_File(m_folder + "/sys_log.txt");
}

bool Wait_For(int& pid, const std::function<bool()>& done, double seconds)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end)
    {
        if (done())
            return true;
        int status = 0;
        if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid)
        {
            pid = -1;
            return done();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

int Wait_For_Exit(int& pid, double seconds)
{
    if (pid <= 0)
        return -1;
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end)
    {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
        {
            pid = -1;
            if (WIFEXITED(status))
                return WEXITSTATUS(status);
            return 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}

bool Program_Run::Wait_For_Log(const std::string& text, double seconds, const std::string& gone)
{
    auto found = [&]
    {
        std::string log = Log();
        return log.find(text) != std::string::npos && (gone.empty() || log.find(gone) == std::string::npos);
    };
    return Wait_For(m_pid, found, seconds);
}

void Program_Run::Signal(int signal_number)
{
    if (m_pid > 0)
        kill(m_pid, signal_number);
}

int Program_Run::Wait(double seconds)
{
    return Wait_For_Exit(m_pid, seconds);
}
} // namespace test_support
