// The heads-up display over the play field: the fuel and launch-countdown gauges, the markers that point
// to the buggy and the missile base, both players' lives, and the scores, levels and best score.
#include "engine/render/sprite.h"
#include "game/app/app.h"

#include <cstdio>

namespace
{
constexpr float GAUGE_X = 0.13f;
constexpr float GAUGE_LENGTH = 0.77f;
constexpr float GAUGE_THICKNESS = 0.02f;
constexpr float DIVIDER_WIDTH = 0.004f;
constexpr int LIVES_SHOWN = 5;
constexpr Colour GAUGE_BACK = {0.3f, 0.3f, 0.3f, 1.0f};
constexpr Colour PLAYER_1_LEVEL = {0.098f, 0.525f, 1.0f, 1.0f};
constexpr Colour PLAYER_2_LEVEL = {0.16f, 1.0f, 0.0f, 1.0f};
constexpr Colour HISCORE_LABEL = {0.1f, 0.1f, 0.1f, 1.0f};
} // namespace

void App::Draw_Gauge(float x, float y, float length, float thickness, float value, const Colour& fill,
                     const Colour& back)
{
    const float filled = length * value;
    const float cy = y + thickness * 0.5f;
    Put(SPRITE_BAR, 0, {x, cy}, {filled, thickness}, 0.0f, fill, SPR_LEFT);
    Put(SPRITE_BAR, 0, {x + filled, cy}, {length - filled, thickness}, 0.0f, back, SPR_LEFT);
    Put(SPRITE_BAR_DIVIDER, 0, {x + filled, cy}, {DIVIDER_WIDTH, thickness}, 0.0f, fill, SPR_CENTRE);
}

void App::Draw_Hud()
{
    const Player_Record& p = *player;
    const uint32_t top_left = SPR_TOP | SPR_LEFT;

    // Gauges: fuel, and what is left of the launcher's countdown (yellow, orange below a quarter, red below
    // a tenth).
    Put(SPRITE_BAR_ICONS, 1, {0.1f, 0.045f}, {0.03f, -1.0f}, 0.0f, COLOUR_WHITE, top_left);
    Draw_Gauge(GAUGE_X, wide_screen ? 0.06f : 0.052f, GAUGE_LENGTH, GAUGE_THICKNESS, fuel,
               {0.0f, 1.0f, 0.0f, 0.8f}, GAUGE_BACK);
    Put(SPRITE_BAR_ICONS, 0, {0.1f, 0.082f}, {0.03f, -1.0f}, 0.0f, COLOUR_WHITE, top_left);
    const float r = p.launcher ? p.launcher->action_timer.Fraction_Remaining() : 0.0f;
    const float m = r <= 0.1f ? 0.0f : r <= 0.25f ? 0.5f : 1.0f;
    Draw_Gauge(GAUGE_X, wide_screen ? 0.097f : 0.09f, GAUGE_LENGTH, GAUGE_THICKNESS, r, {1.0f, m, 0.0f, 0.8f},
               {0.3f, 0.3f, 0.3f, 0.8f});
    Draw_Batch(SPRITE_BAR_ICONS);

    // Markers: the buggy's corner and the base's, and arrows saying which way each lies.
    Put(SPRITE_TRUCK, 0, {0.0f, 0.0f}, {0.08f, -1.0f}, 0.0f, COLOUR_WHITE, top_left);
    Put(SPRITE_ALIEN_BASE, 0, {1.0f, 0.0f}, {0.08f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_TOP | SPR_RIGHT);
    const float arrow_y = wide_screen ? 0.08f : 0.065f;
    Put(SPRITE_ARROWS, Wrap_Delta(p.pilot_x, p.buggy_x) <= 0.0f ? 1 : 0, {0.03f, arrow_y}, {0.03f, -1.0f},
        0.0f, COLOUR_WHITE, SPR_CENTRE);
    if (p.launcher)
        Put(SPRITE_ARROWS, Wrap_Delta(p.pilot_x, p.launcher->x) <= 0.0f ? 1 : 0, {0.97f, arrow_y},
            {0.03f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);

    // Score panels, the best-score panel, and five lives icons a player, lit for each life (more lives
    // than five still show five).
    Put(SPRITE_SCORES, 0, {0.2f, 0.0f}, {0.22f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_TOP);
    Put(SPRITE_SCORES, 1, {0.8f, 0.0f}, {0.22f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_TOP);
    Put(SPRITE_HISCORE, 0, {0.5f, 0.0f}, {0.18f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_TOP);
    for (int j = 0; j < LIVES_SHOWN; ++j)
        Put(SPRITE_LIVES, j >= players[0].lives ? 1 : 0, {0.325f + 0.0175f * static_cast<float>(j), 0.0f},
            {0.02f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_TOP);
    for (int k = 0; k < LIVES_SHOWN; ++k)
        Put(SPRITE_LIVES, k >= players[1].lives ? 3 : 2, {0.675f - 0.0175f * static_cast<float>(k), 0.0f},
            {0.02f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_TOP);

    for (int id : {SPRITE_BAR, SPRITE_BAR_DIVIDER, SPRITE_TRUCK, SPRITE_ALIEN_BASE, SPRITE_ARROWS,
                   SPRITE_SCORES, SPRITE_HISCORE, SPRITE_LIVES})
        Draw_Batch(id);
}

void App::Draw_Hud_Text()
{
    if (!font)
        return;
    const float score_box_h = wide_screen ? 0.03f : 0.022f;
    const float score_h = wide_screen ? 0.06f : 0.05f;
    char text[16];

    std::snprintf(text, sizeof text, "%06d", players[0].score);
    font->Print_In_Box({0.13f, 0.01f}, {0.2f, score_box_h}, score_h, COLOUR_WHITE, SPR_CENTRE, text);
    font->Print_In_Box({0.1f, 0.003f}, {0.035f, 0.013f}, 0.02f, PLAYER_1_LEVEL, SPR_CENTRE, "LEVEL");
    std::snprintf(text, sizeof text, "%02d", players[0].level + 1);
    font->Print_In_Box({0.1f, 0.02f}, {0.035f, 0.013f}, 0.025f, PLAYER_1_LEVEL, SPR_CENTRE, text);

    std::snprintf(text, sizeof text, "%06d", players[1].score);
    font->Print_In_Box({0.67f, 0.01f}, {0.2f, score_box_h}, score_h, COLOUR_WHITE, SPR_CENTRE, text);
    font->Print_In_Box({0.864f, 0.003f}, {0.035f, 0.013f}, 0.02f, PLAYER_2_LEVEL, SPR_CENTRE, "LEVEL");
    std::snprintf(text, sizeof text, "%02d", players[1].level + 1);
    font->Print_In_Box({0.864f, 0.02f}, {0.035f, 0.013f}, 0.025f, PLAYER_2_LEVEL, SPR_CENTRE, text);

    font->Print_In_Box({0.46f, wide_screen ? 0.005f : 0.00225f}, {0.005f, 0.022f},
                       wide_screen ? 0.03f : 0.022f, HISCORE_LABEL, SPR_CENTRE, "HISCORE");
    std::snprintf(text, sizeof text, "%06d", hiscore_table ? hiscore_table->rows[0].score : 0);
    font->Print_In_Box({0.5f, 0.005f}, {0.05f, wide_screen ? 0.022f : 0.018f}, wide_screen ? 0.035f : 0.028f,
                       COLOUR_WHITE, SPR_CENTRE, text);
    Draw_Batch(font);
}
