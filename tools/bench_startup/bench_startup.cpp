// bench_startup: how long the game takes from the start of its process to the first frame of the menu,
// with every asset loaded, leaving out the splash picture's 2-second hold. Run it on a display (or under
// xvfb-run) from the build's bin folder: it copies the program's data and settings into a scratch folder,
// starts itself there a few times, and prints each run and the median.
//   bench_startup [runs]
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_timer.h"
#include "engine/core/vorta_window.h"
#include "game/app/app.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace
{
double Ms_Since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// In the scratch folder: the entry sequence of the game up to its first frame, the phases' times on
// standard output.
int Run_Child()
{
    const Clock::time_point start = Clock::now();
    Vorta_Engine* engine = new Vorta_Engine();
    if (!engine->Init("", "config.txt"))
        return 2;
    engine->Create_Device(0);
    const double engine_ms = Ms_Since(start);
    g_app = new App();
    g_app->skip_splash_hold = true;
    g_app->Initialize();
    const double assets_ms = Ms_Since(start);
    engine->Pump_Messages();
    Sample_Clock();
    g_app->window->Frame();
    std::printf("first-frame %.1f %.1f %.1f\n", engine_ms, assets_ms, Ms_Since(start));
    std::fflush(stdout);
    delete g_app;
    g_app = nullptr;
    engine->Shutdown();
    delete engine;
    return 0;
}

fs::path Program_Folder()
{
    char path[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? fs::path(std::string(path, static_cast<size_t>(n))).parent_path() : fs::current_path();
}
} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0)
        return Run_Child();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    const fs::path from = Program_Folder();
    char name[] = "/tmp/bench_startup.XXXXXX";
    if (!mkdtemp(name))
        return 1;
    const fs::path scratch(name);
    std::error_code error;
    fs::copy_file(from / "bench_startup", scratch / "bench_startup", error);
    fs::copy(from / "data", scratch / "data", fs::copy_options::recursive, error);
    fs::copy_file(from / "config.txt", scratch / "config.txt", error);
    if (error)
    {
        std::fprintf(stderr, "bench_startup: cannot copy the program's data: %s\n", error.message().c_str());
        return 1;
    }

    std::vector<double> totals;
    std::printf("run   process start to first frame   (engine ready, assets loaded, first frame; ms)\n");
    for (int run = 0; run < runs; ++run)
    {
        int out[2];
        if (pipe(out) != 0)
            return 1;
        const Clock::time_point start = Clock::now();
        const pid_t pid = fork();
        if (pid == 0)
        {
            dup2(out[1], 1);
            close(out[0]);
            const std::string program = (scratch / "bench_startup").string();
            execl(program.c_str(), program.c_str(), "--child", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        std::string text;
        char buffer[256];
        double total = -1.0;
        for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        {
            text.append(buffer, static_cast<size_t>(n));
            if (total < 0.0 && text.find('\n') != std::string::npos)
                total = Ms_Since(start);
        }
        close(out[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        double engine_ms = 0, assets_ms = 0, frame_ms = 0;
        if (total < 0.0 ||
            std::sscanf(text.c_str(), "first-frame %lf %lf %lf", &engine_ms, &assets_ms, &frame_ms) != 3)
        {
            std::fprintf(stderr, "bench_startup: run %d did not reach its first frame\n", run);
            fs::remove_all(scratch, error);
            return 1;
        }
        totals.push_back(total);
        std::printf("%3d   %8.1f ms                       (%.1f, %.1f, %.1f)\n", run, total, engine_ms,
                    assets_ms, frame_ms);
    }
    std::sort(totals.begin(), totals.end());
    std::printf("median %.1f ms, best %.1f ms over %d runs (goal: 500 ms)\n", totals[totals.size() / 2],
                totals.front(), runs);
    fs::remove_all(scratch, error);
    return 0;
}
