// The sample menu, credits and message screens, at the places the menu and credits screens use.
#include "scene.h"

#include "game/app/game_assets.h"

#include <cmath>

namespace
{
const Colour k_white{1, 1, 1, 1};

void Stars(Scene_Sprites& s, float aspect, const char* only)
{
    // A fixed scatter of the menu's star field (its depth gives the size).
    for (int k = 0; k < 512; ++k)
    {
        float x = std::fmod(k * 0.618034f, 1.0f) * 2 - 1, z = std::fmod(k * 0.414214f, 1.0f) * 2 - 1;
        float y = 0.004f + std::fmod(k * 0.7548777f, 1.0f);
        float p = y + 0.5f;
        const char* name = only ? only : (k % 2 ? "Star_01" : "Star_02");
        float alpha = y > 0.9f ? 1 - (y - 0.9f) / 0.1f : y < 0.1f ? y / 0.1f : 1.0f;
        s.Put(name, 0, x * p + 0.5f, z * p / aspect + 0.5f, std::fmax(0.005f, 0.06f * y), -1,
              (x + y + z) * 6.283f, {1, 1, 1, alpha});
    }
}
} // namespace

void Draw_Menu_Scene(Scene_Sprites& s, float aspect)
{
    s.Put("Background_Strip", 0, 0.5f, 0.5f, 1, 1);
    s.Put("Title", 0, 0.5f, 0.225f, 0.9f);
    s.Put("Menu Green", 0, 0.5f, 0.4925f, 2, 0.09f);
    s.Put("Menu Blue", 0, 0.5f, 0.4925f, 2, 0.09f, 3.14159265f);
    s.Put("Menu Blue", 0, 0.5f, 0.7f, 0.6f, 0.4f);
    s.Text(0, 0.45f, 1, 0.1f, 0.07f, k_white, "MAIN MENU");
    const char* items[5] = {"1 PLAYER", "2 PLAYER", "OPTIONS", "NORMAL", "EXIT"};
    for (int i = 0; i < 5; ++i)
        s.Text(0, 0.57f + 0.06f * i, 1, 0.05f, 0.06f, k_white, items[i]);
    s.Put("Menu Green", 0, 0.5f, 0.57f, 1, 0.045f, 0, k_white, SPR_TOP);
    s.Text(0, 0.94f, 1, 0.05f, 0.07f, k_white, MAKER_LINE);
    s.Put("Menu Blue", 0, 0.5f, 0.965f, 2, 0.1f);
    Stars(s, aspect, nullptr);
    for (const char* name : {"Background_Strip", "Star_01", "Star_02", "Menu Blue", "Menu Green", "Title"})
        s.Draw(name);
    s.Text(0, 0, 1, 1, 0.03f, {1, 1, 1, 0.75f}, "v1.3d", SPR_RIGHT | SPR_TOP);
    s.Draw("KVR Font");
}

void Draw_Credits_Scene(Scene_Sprites& s, float aspect)
{
    s.Put("Background_Strip", 0, 0.5f, 0.5f, 1, 1);
    s.Text(0, 0.05f, 1, 0.1f, 0.08f, k_white, "CREDITS");
    s.Put("Menu Green", 0, 0.5f, 0.09f, 2, 0.09f);
    s.Put("Menu Blue", 0, 0.5f, 0.09f, 0.5f, 0.1f);
    s.Put("Menu Blue", 0, 0.5f, 0.55f, 0.8f, 0.7f);
    s.Text(0, 0.15f, 1, 0.1f, 0.06f, k_white, MAKER_LINE);
    s.Put("Menu Blue", 0, 0.5f, 0.19f, 2, 0.1f);
    s.Text(0, 0.9f, 1, 0.1f, 0.05f, k_white, CREDIT_SECOND_LINE);
    s.Put("Menu Blue", 0, 0.5f, 0.94f, 2, 0.1f);
    const char* heads[4] = {"CODE &", "DESIGN", "GRAPHICS", "MUSIC"};
    const float head_y[4] = {0.325f, 0.375f, 0.5f, 0.65f};
    for (int k = 0; k < 4; ++k)
        s.Text(0.02f, head_y[k], 0.3f, 0.1f, 0.06f, k_white, heads[k], SPR_RIGHT);
    const char* names[4] = {CREDIT_CODE, CREDIT_GRAPHICS, CREDIT_MUSIC, CREDIT_MUSIC_2};
    const float name_y[4] = {0.35f, 0.5f, 0.65f, 0.8f};
    for (int k = 0; k < 4; ++k)
        s.Text(0.46f, name_y[k], 0.4f, 0.1f, 0.06f, k_white, names[k], SPR_LEFT);
    const char* logos[4] = {"Logo Zarn", "Logo Pellow", "Logo Brisk", "Logo Music"};
    const float logo_y[4] = {0.36f, 0.51f, 0.66f, 0.81f};
    for (int k = 0; k < 4; ++k)
        s.Put(logos[k], 0, 0.4f, logo_y[k], 0.075f);
    Stars(s, aspect, nullptr);
    for (const char* name : {"Background_Strip", "Star_01", "Star_02", "Menu Blue", "Menu Green", "Logo Zarn",
                             "Logo Pellow", "Logo Brisk", "Logo Music"})
        s.Draw(name);
    s.Draw("KVR Font");
}

void Draw_Messages_Scene(Scene_Sprites& s, float aspect)
{
    // The completion overlay with the messages stacked where they show, over the splash.
    s.Put("splash", 0, 0, 0, 1, -1, 0, k_white, SPR_LEFT | SPR_TOP);
    s.Draw("splash");
    Stars(s, aspect, "Complete_Star");
    s.Draw("Complete_Star");
    s.Put("Get Ready", 0, 0.5f, 0.2f, 0.3375f);
    s.Put("Players", 0, 0.5f, 0.26f, 0.133f);
    s.Put("Game Over", 0, 0.5f, 0.36f, 0.27083f);
    s.Put("Players", 1, 0.5f, 0.42f, 0.133f);
    s.Put("Missile Launch", 0, 0.5f, 0.54f, 0.5015625f);
    s.Put("Teleport Message", 0, 0.5f, 0.68f, 0.35f);
    s.Put("Completed_Panel", 0, 0.5f, 0.86f, 0.6f);
    for (const char* name :
         {"Get Ready", "Game Over", "Missile Launch", "Teleport Message", "Players", "Completed_Panel"})
        s.Draw(name);
    s.Put("touch", 1, 0.1f, 0.85f, 1.85f * 0.05f, -1, 0, {1, 1, 1, 0.5f});
    s.Put("touch", 0, 0.1f + 0.3f * 0.025f, 0.85f, 0.75f * 0.05f, -1, 0, {1, 1, 1, 0.5f});
    s.Put("touch", 2, 0.85f, 0.9f, 0.05f, -1, 0, {1, 1, 1, 0.5f});
    s.Put("touch", 3, 0.925f, 0.9f, 0.05f, -1, 0, {1, 1, 1, 0.5f});
    s.Draw("touch", 1216);
}
