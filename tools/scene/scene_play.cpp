// The sample play screen: the play field and HUD written in the game's layer order with the positions and
// sizes the play-field drawing uses on a wide screen.
#include "scene.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace
{
constexpr float TILE = 1.0f / 60.0f;

// The game's generator, so that the scene is the same every time.
uint32_t g_state = 2103;
int Random_Int()
{
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFF);
}
float Random_Range(float a, float b)
{
    return (Random_Int() % 16284) * 6.140997e-05f * (b - a) + a;
}

// Copies of a parallax layer, left to right from its bottom-left corner, as the backdrop writes them.
void Layer(Scene_Sprites& s, const char* name, float scroll, float parallax, float width, float y, int copies)
{
    float u = scroll * parallax;
    float e = std::trunc(u / width) * width - u;
    if (e > 0)
        e -= width;
    for (int k = 0; k < copies; ++k)
        s.Put(name, 0, e + k * width, y, width, -1, 0, {1, 1, 1, 1}, SPR_BOTTOM | SPR_LEFT);
}

void Gauge(Scene_Sprites& s, float x, float y, float length, float thickness, float value, Colour fill,
           Colour back)
{
    float filled = length * value, cy = y + thickness / 2;
    s.Put("Bar", 0, x, cy, filled, thickness, 0, fill, SPR_LEFT);
    s.Put("Bar", 0, x + filled, cy, length - filled, thickness, 0, back, SPR_LEFT);
    s.Put("Bar Divider", 0, x + filled, cy, 0.004f, thickness, 0, fill, SPR_CENTRE);
}
} // namespace

void Draw_Play_Scene(Scene_Sprites& s, float aspect)
{
    (void)aspect;
    g_state = 2103;
    const float pilot_x = 10.0f, pilot_y = 0.52f, scroll = pilot_x;
    const Colour white{1, 1, 1, 1};

    // 1. Backdrop: sky, stars, far layers.
    s.Put("Background_Strip", 0, 0.5f, 0.5f, 1, 1);
    s.Put("Background_Nebula", 0, 0.5f, 0.5f, 1, 1);
    for (int k = 0; k < 100; ++k)
    {
        const char* star = (Random_Int() & 1) ? "Star_01" : "Star_02";
        float x = Random_Range(0, 1), y = Random_Range(0, 1), size = Random_Range(0.001f, 0.03f);
        s.Put(star, 0, x, y, size * Random_Range(0.925f, 1.075f));
    }
    Layer(s, "Background Far", scroll, 0.0625f, 0.5f, 0.86f, 3);
    Layer(s, "Background", scroll, 0.125f, 0.7f, 1.0f, 3);

    // The floor: plain ground of three looks, a rock, a crater, a bridged crater, a crater made twice and
    // a long trench.
    unsigned char tiles[62];
    unsigned char bridges[63] = {};
    for (int i = 0; i < 62; ++i)
        tiles[i] = static_cast<unsigned char>(Random_Int() % 3);
    tiles[9] = 3;
    tiles[17] = 4, tiles[18] = 5;
    tiles[28] = 4, tiles[29] = 5, bridges[28] = bridges[29] = 1;
    tiles[40] = 6, tiles[41] = 7;
    tiles[50] = 4, tiles[51] = 6, tiles[52] = 6, tiles[53] = 5;
    tiles[57] = 3;
    int c0 = static_cast<int>(std::floor(pilot_x / TILE));
    for (int i = 0; i < 62; ++i)
    {
        float x = (c0 + i - 1) * TILE - pilot_x;
        s.Put("Floor Tiles", tiles[i], x, 0.925f, TILE, -1, 0, white, SPR_TOP | SPR_LEFT);
        if (bridges[i] + bridges[i + 1] == 2)
            s.Put("Bridge", 0, x, 0.925f, 2 * TILE, -1, 0, white, SPR_TOP | SPR_LEFT);
    }
    // The stretch of floor under the scene starts at screen x -1/60 minus the pilot's fraction of a tile.
    (void)c0;

    // Particles of an explosion with their glows.
    const float burst_x = 0.34f, burst_y = 0.42f;
    for (int k = 0; k < 4; ++k)
    {
        float a = k * 1.7f, r = 0.012f, w = 0.05f;
        float x = burst_x + r * std::sin(a), y = burst_y + r * std::cos(a) / 0.5625f;
        s.Put("Explosion", 2 + k, x, y, w, -1, a, white, 0x801);
        float g = Random_Range(2.5f * w, 5 * w) + w;
        s.Put("Glow", 0, x, y, g, g, 0, {1, 0.2f, 0.1f, 0.2f});
    }

    // The buggy, parked facing right, with the gun mounted and the bomb loose beside it.
    const float bx = 0.24f, by = 0.858f;
    s.Put("Moon_Buggy_Body", 0, bx, by, 0.153f);
    s.Put("Moon_Buggy_Wheel", 0, bx - 0.039f, by + 0.035f, 0.037f, -1, 0.6f);
    s.Put("Moon_Buggy_Wheel", 0, bx + 0.039f, by + 0.035f, 0.037f, -1, 1.9f);
    s.Put("Gun", 1, bx, by + 0.0075f, 0.065f, -1, 0, white, SPR_BOTTOM);
    s.Put("Gun", 3, bx, by + 0.0075f - 0.065f, 0.065f, -1, 0.35f, white, SPR_CENTRE);
    s.Put("Bomb", 2, 0.38f, 0.925f, 0.04f, -1, 0, white, SPR_BOTTOM);
    s.Put("Teleporter", 3, 0.07f, 0.925f, 0.06f, -1, 0, white, SPR_BOTTOM);

    // The base: launcher and two Defences.
    const float lx = 0.83f;
    s.Put("Launcher Base", 0, lx, 0.88f, 0.105f);
    s.Put("Launcher Top", 3, lx, 0.88f - 0.115f, 0.0770832f);
    for (float dx : {-0.2f, 0.2f})
    {
        s.Put("Defence", 2, lx + dx, 0.885f, 0.05f);
        s.Put("Zap", 5, lx + dx, 0.885f - 0.05f, 0.05f, -1, 0, {0, 1, 1, 1});
    }

    // Lasers from the pilot to the right, aged from the head back.
    const float w = 0.04f;
    const Colour beam{0, 1, 0, 1}, glow{0, 1, 0, 0.125f};
    for (int age = 0; age < 8; ++age)
    {
        float x = 0.5f + 0.03f + (7 - age) * w;
        s.Put("Laser", age, x, pilot_y + 0.012f, w, -1, 0, beam);
        s.Put("Laser glow", age, x, pilot_y + 0.012f, 1.1f * w, 0.035f, 0, glow);
    }
    // Plasma balls: one from a Defence, one from the Shooter.
    const Colour plasma[2] = {{1, 0, 1, 1}, {1, 1, 0, 1}};
    const float px[2] = {0.66f, 0.47f}, py[2] = {0.72f, 0.30f};
    for (int k = 0; k < 2; ++k)
    {
        s.Put("Plazma Ball", k, px[k], py[k], 0.025f, -1, 0, plasma[k]);
        Colour g = plasma[k];
        g.a = 0.125f;
        s.Put("Glow", 0, px[k], py[k], 0.15f, -1, 0, g);
    }

    // The pilot flying right, the flame on.
    s.Put("KVR Fly", 1, 0.5f, pilot_y, 0.055f);
    s.Put("KVR Jet", Random_Int() % 3, 0.485f, pilot_y + 0.024f, 0.00815972f);

    // One of each alien.
    const char* aliens[12] = {"Meteor", "Green_Block", "Bounce",   "Cross",   "Spinner", "Sparkle",
                              "Blob",   "Dog",         "Magnetic", "Tubular", "Shooter", "Saturn"};
    const float ax[12] = {0.12f, 0.22f, 0.64f, 0.76f, 0.9f, 0.58f, 0.41f, 0.68f, 0.86f, 0.16f, 0.5f, 0.3f};
    const float ay[12] = {0.26f, 0.55f, 0.46f, 0.26f, 0.5f, 0.17f, 0.68f, 0.6f, 0.7f, 0.72f, 0.25f, 0.2f};
    for (int k = 0; k < 12; ++k)
        s.Put(aliens[k], Random_Int() % 8, ax[k], ay[k], k == 0 ? 0.07f : 0.05f);

    // Near layers.
    Layer(s, "Foreground", scroll, 1.25f, 0.75f, 0.99f, 3);
    Layer(s, "Foreground Near", scroll, 2.0f, 1.0f, 1.0f, 2);

    // Layer order of the play-field drawing (no cargo loaded).
    const char* order[] = {"Background_Strip", "Background_Nebula", "Star_01",
                           "Star_02",          "Background Far",    "Background"};
    for (const char* name : order)
        s.Draw(name);
    s.Draw("Floor Tiles", 0x4480);
    for (const char* name :
         {"Missile", "Missile Jet", "Launcher Base", "Launcher Top Empty", "Launcher Top", "Moon_Buggy_Body",
          "Moon_Buggy_Wheel", "Moon_Buggy_Body_LightStrip", "Gun", "Bomb"})
        s.Draw(name);
    s.Draw("Teleport Lines", 0x48C0);
    s.Draw("Teleporter");
    s.Draw("Bridge");
    s.Draw("Laser glow", 0x48C0);
    for (const char* name :
         {"Laser",   "Plazma Ball", "KVR Stand",   "KVR Walk", "KVR Fly", "KVR Jet", "KVR Death",
          "Defence", "Meteor",      "Green_Block", "Bounce",   "Cross",   "Spinner", "Sparkle",
          "Blob",    "Dog",         "Magnetic",    "Tubular",  "Shooter", "Saturn",  "Zap"})
        s.Draw(name);
    s.Draw("Glow", 0x48C0);
    s.Draw("Explosion", 0x48C0);
    s.Draw("Foreground");
    s.Draw("Foreground Near");

    // 12-13. The HUD.
    s.Put("Bar Icons", 1, 0.1f, 0.045f, 0.03f, -1, 0, white, SPR_TOP | SPR_LEFT);
    Gauge(s, 0.13f, 0.06f, 0.77f, 0.02f, 0.62f, {0, 1, 0, 0.8f}, {0.3f, 0.3f, 0.3f, 1});
    s.Put("Bar Icons", 0, 0.1f, 0.082f, 0.03f, -1, 0, white, SPR_TOP | SPR_LEFT);
    Gauge(s, 0.13f, 0.097f, 0.77f, 0.02f, 0.2f, {1, 0.5f, 0, 0.8f}, {0.3f, 0.3f, 0.3f, 0.8f});
    s.Draw("Bar Icons");
    s.Put("Truck", 0, 0, 0, 0.08f, -1, 0, white, SPR_TOP | SPR_LEFT);
    s.Put("Alien Base", 0, 1, 0, 0.08f, -1, 0, white, SPR_TOP | SPR_RIGHT);
    s.Put("Arrows", 0, 0.03f, 0.08f, 0.03f);
    s.Put("Arrows", 1, 0.97f, 0.08f, 0.03f);
    s.Put("Scores", 0, 0.2f, 0, 0.22f, -1, 0, white, SPR_TOP);
    s.Put("Scores", 1, 0.8f, 0, 0.22f, -1, 0, white, SPR_TOP);
    s.Put("Hiscore", 0, 0.5f, 0, 0.18f, -1, 0, white, SPR_TOP);
    for (int j = 0; j < 5; ++j)
        s.Put("Lives", j >= 3 ? 1 : 0, 0.325f + 0.0175f * j, 0, 0.02f, -1, 0, white, SPR_TOP);
    for (int k = 0; k < 5; ++k)
        s.Put("Lives", k >= 2 ? 3 : 2, 0.675f - 0.0175f * k, 0, 0.02f, -1, 0, white, SPR_TOP);
    for (const char* name :
         {"Bar", "Bar Divider", "Truck", "Alien Base", "Arrows", "Scores", "Hiscore", "Lives"})
        s.Draw(name);

    const Colour blue{0.098f, 0.525f, 1, 1}, green{0.16f, 1, 0, 1};
    s.Text(0.13f, 0.01f, 0.2f, 0.03f, 0.06f, white, "012340");
    s.Text(0.1f, 0.003f, 0.035f, 0.013f, 0.02f, blue, "LEVEL");
    s.Text(0.1f, 0.02f, 0.035f, 0.013f, 0.025f, blue, "03");
    s.Text(0.67f, 0.01f, 0.2f, 0.03f, 0.06f, white, "000000");
    s.Text(0.864f, 0.003f, 0.035f, 0.013f, 0.02f, green, "LEVEL");
    s.Text(0.864f, 0.02f, 0.035f, 0.013f, 0.025f, green, "01");
    s.Text(0.46f, 0.005f, 0.005f, 0.022f, 0.03f, {0.1f, 0.1f, 0.1f, 1}, "HISCORE");
    s.Text(0.5f, 0.005f, 0.05f, 0.022f, 0.035f, white, "120000");
    s.Draw("KVR Font");
}
