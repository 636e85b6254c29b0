// bench_frame: what a frame of the game costs, headless on the fixed-step clock: the App's Update, its
// Render up to the draw calls (the writing of every quad), the draw calls, and the engine's composition and
// present (with the software renderer's work waited for), for the menu, for play with every pool full (100
// objects, 512 particles, 64 plasma balls, 32 lasers, refilled through the App's records before each
// frame) and for the completion screen over such a play field. Goal: Update plus frame writing at most 0.5 ms
// a frame.
//   bench_frame [frames] [width height [MSAA]]      (MSAA true or false; the settings' own by default)
// Run it from the build's bin folder (it works in a scratch copy of the program's data and settings).
#include "engine/core/run_settings.h"
#include "engine/core/vorta_callbacks.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_device.h"
#include "game/app/app.h"
#include "game/play/world.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace
{
struct Stopwatch
{
    timespec wall{}, cpu{};
    void Start()
    {
        clock_gettime(CLOCK_MONOTONIC, &wall);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    }
    // Adds the milliseconds since Start.
    void Stop(double& wall_ms, double& cpu_ms) const
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        wall_ms += (now.tv_sec - wall.tv_sec) * 1e3 + (now.tv_nsec - wall.tv_nsec) / 1e6;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        cpu_ms += (now.tv_sec - cpu.tv_sec) * 1e3 + (now.tv_nsec - cpu.tv_nsec) / 1e6;
    }
};

struct Figures
{
    double update_wall = 0, update_cpu = 0, render_wall = 0, render_cpu = 0, frame_wall = 0, frame_cpu = 0;
    int objects = 0, particles = 0, plasma = 0, lasers = 0; // what the pools held at the last Render
};

enum Scenario
{
    MENU,
    PLAY,
    COMPLETED
};

// A generator of the bench's own, so that the game's stays as the game leaves it.
uint32_t g_seed = 2103;
float Unit()
{
    g_seed = g_seed * 1664525u + 1013904223u;
    return static_cast<float>(g_seed >> 8) / static_cast<float>(1 << 24);
}

// Every free slot of every pool taken, around the pilot, as play would leave them.
void Fill_Pools(App& app)
{
    Player_Record& player = *app.player;
    for (int i = 0; i < MAX_OBJECTS; ++i)
    {
        Game_Object& object = player.objects[i];
        if (object.state != OBJECT_FREE)
            continue;
        object.Reset();
        object.type = i % ALIEN_KINDS;
        object.state = OBJECT_ALIVE;
        object.sprite = SPRITE_METEOR + object.type;
        object.x = Wrap_X(player.pilot_x + (Unit() - 0.5f) * 3.0f);
        object.y = 0.1f + 0.7f * Unit();
        object.size = app.alien_size;
        object.vx = (Unit() - 0.5f) * 0.01f;
        object.vy = (Unit() - 0.5f) * 0.01f;
        object.anim_timer.Start(app.anim_period[FPS_METEOR + object.type]);
        object.action_timer.Start(1.0f + Unit());
    }
    for (Particle& particle : app.particles)
    {
        if (particle.sprite != SPRITE_NONE)
            continue;
        particle = Particle();
        particle.sprite = SPRITE_EXPLOSION_1 + static_cast<int>(Unit() * 4.0f) % 4;
        particle.glow_sprite = SPRITE_GLOW;
        particle.x = Wrap_X(player.pilot_x + (Unit() - 0.5f));
        particle.y = 0.2f + 0.6f * Unit();
        particle.vx = (Unit() - 0.5f) * 0.002f;
        particle.vy = (Unit() - 0.5f) * 0.002f;
        particle.width = 0.01f + 0.03f * Unit();
        particle.height = -1.0f;
        particle.frame_time = 1.0f / 60.0f;
        particle.frame_timer.Start(particle.frame_time);
    }
    for (Plasma_Ball& ball : app.plasma_balls)
    {
        if (ball.active)
            continue;
        ball = Plasma_Ball();
        ball.active = 1;
        ball.sprite = SPRITE_PLAZMA_BALL;
        ball.x = Wrap_X(player.pilot_x + (Unit() - 0.5f));
        ball.y = 0.1f + 0.7f * Unit();
        ball.vx = (Unit() - 0.5f) * 0.005f;
        ball.vy = (Unit() - 0.5f) * 0.005f;
        ball.life_timer.Start(5.0f);
        ball.frame_timer.Start(1.0f / 30.0f);
    }
    for (Laser_Beam& beam : app.lasers)
    {
        if (beam.active)
            continue;
        beam = Laser_Beam();
        beam.active = 1;
        beam.sprite = SPRITE_LASER;
        beam.y = 0.2f + 0.6f * Unit();
        beam.speed = Unit() < 0.5f ? 0.02f : -0.02f;
        beam.head_x = 0.5f + beam.speed * 10.0f;
        for (int s = 0; s < LASER_SEGMENTS; ++s)
        {
            beam.segment_x[s] = 0.5f + beam.speed * static_cast<float>(s);
            beam.segment_age[s] = s;
        }
    }
}

void Count_Pools(const App& app, Figures& figures)
{
    figures.objects = figures.particles = figures.plasma = figures.lasers = 0;
    for (const Game_Object& object : app.player->objects)
        figures.objects += object.state != OBJECT_FREE;
    for (const Particle& particle : app.particles)
        figures.particles += particle.sprite != SPRITE_NONE;
    for (const Plasma_Ball& ball : app.plasma_balls)
        figures.plasma += ball.active != 0;
    for (const Laser_Beam& beam : app.lasers)
        figures.lasers += beam.active != 0;
}

// Between the window and the App: the game's two calls timed, the pools refilled before each Update.
class Timed_Game : public Vorta_Callbacks, public Vorta_Frame_Hook
{
  public:
    explicit Timed_Game(App& app) : m_app(app) {}
    void Update(Vorta_Window* window) override
    {
        if (scenario != MENU)
            Fill_Pools(m_app); // the completion screen draws the play field under its overlay
        if (scenario == COMPLETED)
            m_app.state_timer.Start(20.0f); // stays on the completion screen
        Stopwatch watch;
        watch.Start();
        m_app.Update(window);
        watch.Stop(figures.update_wall, figures.update_cpu);
    }
    void Render(Vorta_Window* window) override
    {
        Count_Pools(m_app, figures);
        Stopwatch watch;
        watch.Start();
        m_app.Render(window);
        watch.Stop(figures.render_wall, figures.render_cpu);
    }
    bool Draw_Frame(Vorta_Window* /*window*/) override { return drawing; }
    void Frame_Done(Vorta_Window* /*window*/) override {}

    Scenario scenario = MENU;
    bool drawing = true;
    Figures figures;

  private:
    App& m_app;
};

void Run_Frames(Vorta_Engine& engine, Vorta_Window& window, Timed_Game& game, int frames, Figures& out)
{
    game.figures = Figures();
    for (int frame = 0; frame < frames; ++frame)
    {
        engine.Pump_Messages();
        Step_Clock(window.Get_Target_Frame_Time());
        Stopwatch watch;
        watch.Start();
        window.Frame();
        if (game.drawing)
            window.Get_Device()->Gpu().Finish(); // the software renderer's share of the frame
        watch.Stop(game.figures.frame_wall, game.figures.frame_cpu);
    }
    out = game.figures;
    for (double* figure : {&out.update_wall, &out.update_cpu, &out.render_wall, &out.render_cpu,
                           &out.frame_wall, &out.frame_cpu})
        *figure /= frames;
}

fs::path Program_Folder()
{
    char path[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? fs::path(std::string(path, static_cast<size_t>(n))).parent_path() : fs::current_path();
}

int Bench(int frames)
{
    Timed_Game* game = nullptr;
    g_vorta_run = Vorta_Run_Settings();
    g_vorta_run.fixed_clock = true;
    g_vorta_run.real_time_pacing = false;
    g_vorta_run.headless = true;
    g_vorta_log.Set_Flags(LOG_FILE);
    Vorta_Engine* engine = new Vorta_Engine();
    if (!engine->Init("", "config.txt") || !engine->Create_Device(0))
    {
        std::fprintf(stderr, "bench_frame: the engine did not start (see sys_log.txt)\n");
        return 1;
    }
    g_app = new App();
    g_app->skip_splash_hold = true;
    g_app->save_files = false;
    g_app->Initialize();
    Vorta_Window* window = g_app->window;
    game = new Timed_Game(*g_app);
    g_vorta_run.frame_hook = game;
    window->Get_Viewport(0)->Set_Callbacks(game);
    window->Set_Callbacks(game);

    int width = 0, height = 0;
    window->Get_Render_Size(width, height);
    std::printf("bench_frame: %d x %d, MSAA %s, %s; %d frames a scenario, headless on the fixed-step clock\n",
                width, height, engine->Get_MSAA() ? "on" : "off", engine->Get_Adapter(0)->name, frames);
    std::printf(
        "  ms a frame, wall (thread CPU)  Update          Render writing  draw calls  compose, present, "
        "renderer   frames/s\n");
    const struct
    {
        Scenario scenario;
        const char* name;
    } scenarios[] = {{MENU, "menu"}, {PLAY, "play, full pools"}, {COMPLETED, "completed"}};
    for (const auto& s : scenarios)
    {
        if (s.scenario == PLAY || s.scenario == COMPLETED)
        {
            g_app->Start_Game(true);
            if (s.scenario == COMPLETED)
                g_app->game_state = STATE_COMPLETED;
        }
        else
            g_app->game_state = STATE_MENU;
        game->scenario = s.scenario;
        Figures writing, drawn;
        // Writing only: the frame's drawing skipped, so Render is the game's own work up to the draw calls.
        game->drawing = false;
        Run_Frames(*engine, *window, *game, std::max(10, frames / 10), writing);
        Run_Frames(*engine, *window, *game, frames, writing);
        // Drawn: the same frames with every draw, the composition and the present.
        game->drawing = true;
        Run_Frames(*engine, *window, *game, std::max(10, frames / 10), drawn);
        Run_Frames(*engine, *window, *game, frames, drawn);
        const double draw_wall = std::max(0.0, drawn.render_wall - writing.render_wall);
        const double rest_wall = std::max(0.0, drawn.frame_wall - drawn.update_wall - drawn.render_wall);
        std::printf("  %-18s  %6.3f (%6.3f)  %6.3f (%6.3f)  %8.3f    %8.3f                 %7.1f\n", s.name,
                    writing.update_wall, writing.update_cpu, writing.render_wall, writing.render_cpu,
                    draw_wall, rest_wall, drawn.frame_wall > 0 ? 1000.0 / drawn.frame_wall : 0.0);
        std::printf(
            "  %-18s  pools %d objects, %d particles, %d plasma balls, %d lasers; Update + writing %.3f "
            "ms (goal 0.5 ms)\n",
            "", writing.objects, writing.particles, writing.plasma, writing.lasers,
            writing.update_wall + writing.render_wall);
    }

    g_vorta_run.frame_hook = nullptr;
    delete g_app;
    g_app = nullptr;
    delete game;
    engine->Shutdown();
    delete engine;
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    const fs::path from = Program_Folder();
    char name[] = "/tmp/bench_frame.XXXXXX";
    if (!mkdtemp(name))
        return 1;
    const fs::path scratch(name);
    std::error_code error;
    fs::copy(from / "data", scratch / "data", fs::copy_options::recursive, error);
    fs::copy_file(from / "config.txt", scratch / "config.txt", error);
    if (error)
    {
        std::fprintf(stderr, "bench_frame: cannot copy the program's data: %s\n", error.message().c_str());
        fs::remove_all(scratch, error);
        return 1;
    }
    if (argc > 3)
    {
        std::FILE* config = std::fopen((scratch / "config.txt").c_str(), "wb");
        if (config)
        {
            std::fprintf(config,
                         "device 0\ndisplay 0\nscreen_width %d\nscreen_height %d\nfull_screen false\n"
                         "vsync false\nMSAA %s\n",
                         std::atoi(argv[2]), std::atoi(argv[3]), argc > 4 ? argv[4] : "true");
            std::fclose(config);
        }
    }
    fs::current_path(scratch);
    const int code = Bench(frames);
    fs::current_path(from);
    fs::remove_all(scratch, error);
    return code;
}
