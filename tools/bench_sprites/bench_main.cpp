// bench_sprites: runs the Sprite half and the SDL2 half on the same quads and prints both figures.
// Run it on a display (or under xvfb-run); it makes its own folder the working directory so that the
// engine finds data/ beside it.
#include "bench_sprites.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{
void Enter_Program_Folder(const char* argv0)
{
    char path[4096] = {};
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string folder = n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string(argv0);
    const size_t slash = folder.rfind('/');
    if (slash != std::string::npos && chdir(folder.substr(0, slash).c_str()) != 0)
        std::perror("chdir");
}
} // namespace

int main(int argc, char** argv)
{
    Enter_Program_Folder(argv[0]);
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
    if (!Bench_Vorta(setup, vorta))
    {
        std::fprintf(stderr, "bench_sprites: the Sprite half could not run\n");
        return 1;
    }
    if (!Bench_Sdl(setup, sdl))
    {
        std::fprintf(stderr, "bench_sprites: the SDL half could not run\n");
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
