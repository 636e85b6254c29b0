// The window icon: an antialiased crescent moon with a soft rim on a dark blue disc.
#include "game/app/app_icon.h"

#include <cmath>
#include <cstdint>

namespace
{
constexpr int k_size = 32;

uint32_t Pack(float r, float g, float b, float a)
{
    auto byte = [](float v)
    { return static_cast<uint32_t>(std::lround(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255.0f)); };
    return byte(r) | byte(g) << 8 | byte(b) << 16 | byte(a) << 24;
}

// Coverage of a disc edge at signed distance d (pixels, negative inside).
float Coverage(float d)
{
    return std::fmin(std::fmax(0.5f - d, 0.0f), 1.0f);
}

void Draw(uint32_t* pixels)
{
    const float c = k_size * 0.5f;
    for (int y = 0; y < k_size; ++y)
        for (int x = 0; x < k_size; ++x)
        {
            float px = x + 0.5f, py = y + 0.5f;
            float sky = Coverage(std::hypot(px - c, py - c) - 15.5f);
            float moon = Coverage(std::hypot(px - c + 2.0f, py - c) - 11.0f);
            float bite = Coverage(std::hypot(px - c - 4.0f, py - c + 3.0f) - 9.5f);
            float crescent = moon * (1.0f - bite);
            float shade = 0.75f + 0.25f * (1.0f - (py / k_size));
            float r = 0.05f + crescent * (0.93f * shade - 0.05f);
            float g = 0.07f + crescent * (0.90f * shade - 0.07f);
            float b = 0.20f + crescent * (0.78f * shade - 0.20f);
            pixels[y * k_size + x] = Pack(r, g, b, sky);
        }
}
} // namespace

const platform::Icon_Image& App_Icon()
{
    static uint32_t pixels[k_size * k_size];
    static platform::Icon_Image icon = []
    {
        Draw(pixels);
        return platform::Icon_Image{k_size, k_size, pixels};
    }();
    return icon;
}
