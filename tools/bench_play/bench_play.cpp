// bench_play: microseconds a frame of Update_Play and of Render_Play with every pool full (512 particles,
// 32 laser beams, 64 plasma balls, 100 objects: aliens of all twelve kinds), first without a window (the
// rules alone), then on a 1920 x 1080 window with the game's sprites (every quad written and every batch
// drawn). Run it on a display or under xvfb-run; it works in a scratch folder with a copy of the data folder
// beside the program, where any sprite the data folder lacks gets a stand-in script, so that every batch has
// frames to write.
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_timer.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/sprite.h"
#include "game/app/app.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace
{
fs::path Enter_Scratch_Folder()
{
    char path[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    const fs::path program_folder =
        n > 0 ? fs::path(std::string(path, static_cast<size_t>(n))).parent_path() : fs::current_path();
    char name[] = "/tmp/bench_play.XXXXXX";
    if (!mkdtemp(name))
        return {};
    const fs::path scratch(name);
    std::error_code error;
    fs::copy(program_folder / "data", scratch / "data", fs::copy_options::recursive, error);
    if (error)
        std::fprintf(stderr, "bench_play: no data folder beside the program: %s\n", error.message().c_str());
    for (int i = 0; i < SPRITE_COUNT; ++i)
    {
        const fs::path script = scratch / "data" / "textures" / (std::string(k_sprite_names[i]) + ".spr");
        if (!fs::exists(script))
            std::ofstream(script)
                << "frames 4096 textures 1 texture 0 resource/bas_relief cells 8 grid 8 1 16 16\n";
    }
    std::ofstream(scratch / "config.txt") << "MSAA false\n";
    fs::current_path(scratch);
    return scratch;
}

// A two-player game in play, on a floor with bridges every few columns.
void Start(App& app)
{
    app.levels = new Level_Record[1]();
    app.level_count = 1;
    app.current_level = app.levels;
    app.Start_Game(false);
    Player_Record& p = *app.player;
    for (int i = 0; i < FLOOR_COLUMNS - 1; i += 7)
        p.floor.bridges[i] = p.floor.bridges[i + 1] = 1;
}

// Every pool full again (the updates free what has run its course): particles, beams, balls, and aliens of
// all twelve kinds in every free object slot, near enough to be drawn but clear of the pilot.
void Fill_Pools(App& app)
{
    Player_Record& p = *app.player;
    for (int i = 0; i < MAX_PARTICLES; ++i)
    {
        Particle& particle = app.particles[i];
        particle.sprite = SPRITE_EXPLOSION;
        particle.glow_sprite = SPRITE_GLOW;
        particle.frame = 0;
        particle.x = Wrap_X(p.pilot_x + static_cast<float>(i % 40) * 0.02f - 0.4f);
        particle.y = 0.2f + static_cast<float>(i % 13) * 0.05f;
        particle.width = 0.05f;
        particle.height = -1.0f;
        particle.screen_x = particle.x - p.pilot_x + 0.5f;
        particle.screen_y = particle.y;
        particle.frame_time = 0.5f;
        particle.frame_timer.Start(0.5f);
    }
    for (Laser_Beam& beam : app.lasers)
    {
        beam.active = 1;
        beam.speed = 0.03f;
        beam.head_x = 0.8f;
        for (int i = 0; i < LASER_SEGMENTS; ++i)
        {
            beam.segment_age[i] = i % 7;
            beam.segment_x[i] = 0.5f + 0.03f * static_cast<float>(i);
        }
    }
    for (int i = 0; i < MAX_PLASMA_BALLS; ++i)
    {
        Plasma_Ball& ball = app.plasma_balls[i];
        ball.active = 1;
        ball.sprite = SPRITE_PLAZMA_BALL;
        ball.x = Wrap_X(p.pilot_x + 0.01f * static_cast<float>(i) - 0.3f);
        ball.y = 0.3f;
        ball.friendly = 1;
        ball.life_timer.Start(2.5f);
    }
    int kind = 0;
    for (Game_Object& object : p.objects)
        if (object.state == OBJECT_FREE)
        {
            object.Reset();
            object.type = kind;
            object.state = OBJECT_ALIVE;
            object.sprite = SPRITE_METEOR + kind;
            object.x = Wrap_X(p.pilot_x + 0.1f + 0.05f * static_cast<float>(kind));
            object.y = 0.2f + 0.05f * static_cast<float>(kind);
            object.ground_y = 0.9f;
            object.size = 0.05f;
            kind = (kind + 1) % ALIEN_KINDS;
        }
    app.game_state = STATE_ON_FOOT; // keep playing on foot, in the air, firing
    p.pilot_y = 0.5f;
    app.pilot_vx = 0.01f;
    app.controls.x = 1.0f;
    app.controls.y = 0.5f;
    app.controls.fire_frames = 2;
}

struct Figures
{
    double update_us, write_us, draw_us;
};

// Render_Play in its two halves: the quads of the play field written, then the batches drawn with the HUD.
Figures Run(App& app, int frames)
{
    using clock = std::chrono::steady_clock;
    const auto us = [](clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); };
    Figures f = {0.0, 0.0, 0.0};
    for (int i = 0; i < frames; ++i)
    {
        g_vorta_clock.now += g_vorta_clock.frequency / 60;
        Fill_Pools(app);
        const auto t0 = clock::now();
        app.Update_Play();
        const auto t1 = clock::now();
        for (Sprite* sprite : app.sprites)
            if (sprite)
                sprite->Clear_Frames();
        if (app.font)
            app.font->Clear_Frames();
        app.Draw_Backdrop();
        app.Write_Particles();
        app.Write_Buggy();
        app.Write_Beams_And_Balls();
        app.Write_Objects();
        app.Write_Pilot();
        const auto t2 = clock::now();
        app.Draw_Play_Layers();
        app.Draw_Hud();
        app.Draw_Hud_Text();
        const auto t3 = clock::now();
        f.update_us += us(t1 - t0);
        f.write_us += us(t2 - t1);
        f.draw_us += us(t3 - t2);
    }
    f.update_us /= frames;
    f.write_us /= frames;
    f.draw_us /= frames;
    return f;
}

void Print(const char* what, const Figures& f, const char* note)
{
    std::printf("bench_play: %-12s Update_Play %7.1f us   quads written %7.1f us   batches drawn and HUD "
                "%8.1f us%s\n",
                what, f.update_us, f.write_us, f.draw_us, note);
}
} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 600;
    const fs::path scratch = Enter_Scratch_Folder();
    if (scratch.empty())
        return 1;

    {
        auto app = std::make_unique<App>();
        g_app = app.get();
        Start(*app);
        Print("no window:", Run(*app, frames), "");
        g_app = nullptr;
    }

    g_vorta_log.Set_Flags(LOG_FILE);
    auto engine = std::make_unique<Vorta_Engine>();
    Vorta_Window* window = nullptr;
    if (engine->Init("", "config.txt") && engine->Get_Window_Class().Registered())
    {
        engine->Create_Device(0);
        window = engine->Create_Window(0, 0, 1920, 1080, false, 60, false, false, "bench_play");
    }
    if (window)
    {
        auto app = std::make_unique<App>();
        g_app = app.get();
        app->window = window;
        app->viewport = window->Get_Viewport(0);
        int loaded = 0;
        for (int i = 0; i < SPRITE_COUNT; ++i)
        {
            app->sprites[i] = new Sprite(window);
            if (!app->sprites[i]->Initialize(k_sprite_names[i]))
            {
                delete app->sprites[i];
                app->sprites[i] = nullptr;
            }
            else
                ++loaded;
        }
        app->font = new Sprite(window);
        if (!app->font->Initialize("KVR Font"))
        {
            delete app->font;
            app->font = nullptr;
        }
        Start(*app);
        Run(*app, 10); // first draws set up the buffers
        char note[64];
        std::snprintf(note, sizeof note, "   (%d sprites%s)", loaded, app->font ? ", font" : ", no font");
        Print("1920 x 1080:", Run(*app, frames), note);
        g_app = nullptr;
    }
    else
        std::printf("bench_play: no window could be opened; run it on a display or under xvfb-run\n");
    engine.reset();
    fs::current_path("/");
    std::error_code error;
    fs::remove_all(scratch, error);
    return 0;
}
