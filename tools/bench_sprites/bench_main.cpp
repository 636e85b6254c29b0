// bench_sprites: runs the Sprite half and the SDL2 half on the same quads and prints both figures.
// Run it on a display (or under xvfb-run). It works in a scratch folder of its own with the shaders of the
// data folder beside the program.
#include "bench_sprites.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
// A scratch folder beside nothing of the build's: the engine's shaders copied from the data folder next to
// the executable, and the benchmark's own texture and script. Removed again at the end.
std::filesystem::path Enter_Scratch_Folder()
{
    namespace fs = std::filesystem;
    char path[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    const fs::path program_folder =
        n > 0 ? fs::path(std::string(path, static_cast<size_t>(n))).parent_path() : fs::current_path();
    char name[] = "/tmp/bench_sprites.XXXXXX";
    if (!mkdtemp(name))
        return {};
    const fs::path scratch(name);
    std::error_code error;
    fs::create_directories(scratch / "data" / "textures", error);
    fs::copy(program_folder / "data" / "shaders", scratch / "data" / "shaders", fs::copy_options::recursive,
             error);
    if (error)
        std::fprintf(stderr, "bench_sprites: no shaders beside the program: %s\n", error.message().c_str());
    fs::current_path(scratch);
    return scratch;
}
} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path scratch = Enter_Scratch_Folder();
    if (scratch.empty())
        return 1;
    Bench_Setup setup;
    if (argc > 1)
        setup.frames = std::max(1, std::atoi(argv[1]));

    // A soft round spot, white with an alpha falloff.
    std::vector<uint8_t> pixels(static_cast<size_t>(setup.texture_size) * setup.texture_size * 4);
    for (int y = 0; y < setup.texture_size; ++y)
        for (int x = 0; x < setup.texture_size; ++x)
        {
            const float dx = (x + 0.5f) / setup.texture_size - 0.5f,
                        dy = (y + 0.5f) / setup.texture_size - 0.5f;
            const float d = 1.0f - 2.0f * std::sqrt(dx * dx + dy * dy);
            uint8_t* p = &pixels[(static_cast<size_t>(y) * setup.texture_size + x) * 4];
            p[0] = p[1] = p[2] = 255;
            p[3] = static_cast<uint8_t>(d > 0.0f ? d * 255.0f : 0.0f);
        }
    setup.pixels = pixels.data();

    std::vector<Bench_Quad> table(static_cast<size_t>(setup.quads));
    uint32_t seed = 2103;
    auto next = [&seed](float range)
    {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1 << 24) * range;
    };
    for (Bench_Quad& q : table)
    {
        q.x = next(static_cast<float>(setup.width));
        q.y = next(static_cast<float>(setup.height));
        q.w = 8.0f + next(24.0f);
        q.h = 8.0f + next(24.0f);
        q.degrees = next(360.0f);
        q.r = static_cast<uint8_t>(next(256.0f));
        q.g = static_cast<uint8_t>(next(256.0f));
        q.b = static_cast<uint8_t>(next(256.0f));
        q.a = static_cast<uint8_t>(128 + next(128.0f));
    }
    setup.table = table.data();

    Bench_Figures vorta, sdl;
    const bool vorta_ran = Bench_Vorta(setup, vorta);
    const bool sdl_ran = vorta_ran && Bench_Sdl(setup, sdl);
    std::filesystem::current_path("/");
    std::error_code error;
    std::filesystem::remove_all(scratch, error);
    if (!vorta_ran || !sdl_ran)
    {
        std::fprintf(stderr, "bench_sprites: the %s half could not run\n", vorta_ran ? "SDL" : "Sprite");
        return 1;
    }
    std::printf("bench_sprites: %d quads a frame, %d frames (after %d warm-up), %d x %d\n", setup.quads,
                setup.frames, setup.warm_up, setup.width, setup.height);
    std::printf(
        "  Sprite (Set_Frame x %d + Draw): %8.3f ms CPU (%.3f writing quads), %8.3f ms wall a frame\n",
        setup.quads, vorta.cpu_ms, vorta.write_cpu_ms, vorta.wall_ms);
    std::printf(
        "  SDL_RenderCopyExF x %d + flush (%s): %8.3f ms CPU (%.3f queueing quads), %8.3f ms wall a frame\n",
        setup.quads, sdl.backend, sdl.cpu_ms, sdl.write_cpu_ms, sdl.wall_ms);
    std::printf("  ratio Sprite / SDL: %.3f CPU, %.3f wall (goal: at most 0.5)\n",
                sdl.cpu_ms > 0 ? vorta.cpu_ms / sdl.cpu_ms : 0.0,
                sdl.wall_ms > 0 ? vorta.wall_ms / sdl.wall_ms : 0.0);
    return 0;
}
