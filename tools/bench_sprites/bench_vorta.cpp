// The Sprite half of bench_sprites: one sprite of 10,000 frames, every quad written with Set_Frame and the
// batch drawn with one Draw, on the engine's own window and device.
#include "bench_sprites.h"

#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_device.h"
#include "engine/render/d3d_swap_chain.h"
#include "engine/render/sprite.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{
// A 32-bit BMP with an alpha mask, bottom row first, which the texture loader reads like any picture.
bool Write_Bmp(const std::string& path, int size, const uint8_t* rgba)
{
    std::ofstream out(path, std::ios::binary);
    if (!out)
        return false;
    auto put32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const uint32_t pixels = static_cast<uint32_t>(size) * size * 4;
    const uint32_t header = 14 + 108;
    out.write("BM", 2);
    put32(header + pixels);
    put32(0);
    put32(header);
    put32(108); // BITMAPV4HEADER
    put32(static_cast<uint32_t>(size));
    put32(static_cast<uint32_t>(size));
    put16(1);
    put16(32);
    put32(3); // bit fields
    put32(pixels);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    put32(0x00FF0000u); // red
    put32(0x0000FF00u); // green
    put32(0x000000FFu); // blue
    put32(0xFF000000u); // alpha
    put32(0x73524742u); // "sRGB"
    for (int i = 0; i < 12; ++i)
        put32(0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x)
        {
            const uint8_t* p = rgba + (static_cast<size_t>(y) * size + x) * 4;
            const uint8_t bgra[4] = {p[2], p[1], p[0], p[3]};
            out.write(reinterpret_cast<const char*>(bgra), 4);
        }
    return static_cast<bool>(out);
}
} // namespace

bool Bench_Vorta(const Bench_Setup& setup, Bench_Figures& out)
{
    std::filesystem::create_directories("data/textures");
    if (!Write_Bmp("data/textures/bench_spot.bmp", setup.texture_size, setup.pixels))
        return false;
    {
        std::ofstream script("data/textures/bench_spot.spr");
        script << "frames " << setup.quads << "\ntextures 1\ntexture 0 bench_spot\n";
    }

    g_vorta_log.Set_Flags(LOG_FILE);
    bool ok = false;
    {
        Vorta_Engine engine;
        if (!engine.Init("", "config.txt"))
            return false;
        engine.Create_Device(0);
        Vorta_Window* window =
            engine.Create_Window(0, 0, setup.width, setup.height, false, 0, false, false, "bench_sprites");
        // The sprite's buffers go before the device does.
        Sprite* sprite_object = new Sprite(window);
        Sprite& sprite = *sprite_object;
        if (window && sprite.Initialize("bench_spot") && sprite.Get_Frame_Capacity() == setup.quads)
        {
            Vorta_Viewport* viewport = window->Get_Viewport(0);
            viewport->Set_Size(1.0f, 1.0f);
            D3D_SwapChain* chain = window->Get_Swap_Chain();
            std::snprintf(out.backend, sizeof out.backend, "engine");
            Bench_Timer timer;
            const float clear[4] = {0, 0, 0, 1};
            for (int frame = 0; frame < setup.warm_up + setup.frames; ++frame)
            {
                chain->Bind_Back_Buffer();
                chain->Full_Viewport();
                chain->Clear_Target(clear);
                // Both halves start each frame with the GPU idle, so that the rasterizer threads finishing
                // the last frame do not take the cores from the timed work.
                window->Get_Device()->Gpu().Finish();
                timer.Start();
                for (int i = 0; i < setup.quads; ++i)
                {
                    const Bench_Quad q = Bench_Quad_At(setup, frame, i);
                    const Colour colour{q.r / 255.0f, q.g / 255.0f, q.b / 255.0f, q.a / 255.0f};
                    sprite.Set_Frame(sprite.Get_Frame(), 0, {q.x, q.y}, {q.w, q.h}, q.degrees * 0.017453292f,
                                     colour, SPR_PIXELS | SPR_CENTRE);
                }
                timer.Written();
                sprite.Draw({0, 0}, {1, 1}, 0.0f, 0, SPR_ALPHA | SPR_LINEAR | SPR_CLEAR, COLOUR_WHITE, 0.0f,
                            {0, 0});
                timer.Stop(frame >= setup.warm_up);
                chain->Present();
            }
            timer.Result(out);
            ok = true;
        }
        else
            std::fprintf(stderr, "bench_sprites: no window or sprite (see sys_log.txt)\n");
        delete sprite_object;
        engine.Shutdown();
    }
    return ok;
}
