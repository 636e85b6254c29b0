// The hiscore table of the current difficulty (with the row being entered marked) and the credits.
#include "engine/render/sprite.h"
#include "game/app/app.h"

#include <cstdio>

namespace
{
constexpr float k_pi = 3.14159265f;
const char* const k_credit_headings[4] = {"CODE &", "DESIGN", "GRAPHICS", "MUSIC"};
const float k_credit_heading_y[4] = {0.325f, 0.375f, 0.5f, 0.65f};
const char* const k_credit_names[4] = {CREDIT_CODE, CREDIT_GRAPHICS, CREDIT_MUSIC, CREDIT_MUSIC_2};
const float k_credit_name_y[4] = {0.35f, 0.5f, 0.65f, 0.8f};
const int k_logos[4] = {SPRITE_LOGO_ZARN, SPRITE_LOGO_PELLOW, SPRITE_LOGO_BRISK, SPRITE_LOGO_MUSIC};
const float k_logo_y[4] = {0.36f, 0.51f, 0.66f, 0.81f};
} // namespace

void App::Render_Hiscores(bool entry_mode)
{
    Put(SPRITE_BACKGROUND_STRIP, 0, {0.5f, 0.5f}, {1.0f, 1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);

    char text[64];
    const char* mode = difficulty == DIFFICULTY_EASY ? "EASY" : "NORMAL";
    std::snprintf(text, sizeof text, entry_mode ? "NEW %s HISCORE" : "%s HISCORES", mode);
    if (font)
        font->Print_In_Box({0.0f, 0.0f}, {1.0f, 0.1f}, 0.08f, COLOUR_WHITE, SPR_CENTRE, text);

    Put(SPRITE_MENU_GREEN, 0, {0.5f, 0.04f}, {2.0f, 0.09f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_MENU_BLUE, 0, {0.5f, 0.04f}, {0.5f, 0.1f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);

    const float column_x[4] = {0.1f, 0.25f, 0.42f, 0.52f};
    const float column_w[4] = {0.2f, 0.2f, 0.2f, 0.4f};
    const char* const heads[4] = {"RANK", "LEVEL", "SCORE", "NAME"};
    if (font)
        for (int i = 0; i < 4; ++i)
            font->Print_In_Box({column_x[i], 0.1f}, {column_w[i], 0.05f}, 0.06f, COLOUR_WHITE, SPR_CENTRE,
                               heads[i]);

    Put(SPRITE_MENU_BLUE, 0, {0.2f, 0.65f}, {0.8f, 0.25f}, k_pi * 0.5f, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_MENU_BLUE, 0, {0.35f, 0.1f}, {0.2f, 0.05f}, k_pi * 0.5f, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_MENU_BLUE, 0, {0.52f, 0.65f}, {0.8f, 0.25f}, k_pi * 0.5f, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_MENU_BLUE, 0, {0.72f, 0.65f}, {0.8f, 0.45f}, k_pi * 0.5f, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_MENU_BLUE, 0, {0.5f, 0.12f}, {2.0f, 0.075f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);

    for (int r = 0; r < HISCORE_ROWS; ++r)
    {
        const float y = 0.16f + 0.0525f * r;
        if (entry_mode && r == new_entry_row)
            Put(SPRITE_MENU_GREEN, 0, {0.5f, y + 0.02f}, {2.0f, 0.07f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
        if (!font)
            continue;
        const Hiscore_Entry& row = hiscore_table->rows[r];
        char cells[3][16];
        std::snprintf(cells[0], sizeof cells[0], "%d", r + 1);
        std::snprintf(cells[1], sizeof cells[1], "%d", row.level);
        std::snprintf(cells[2], sizeof cells[2], "%d", row.score);
        for (int i = 0; i < 3; ++i)
            font->Print_In_Box({column_x[i], y}, {column_w[i], 0.05f}, 0.05f, COLOUR_WHITE, SPR_CENTRE,
                               cells[i]);
        font->Print_In_Box({column_x[3], y}, {column_w[3], 0.05f}, 0.05f, COLOUR_WHITE, SPR_CENTRE, row.name);
    }

    Draw_Stars();
    for (int id :
         {SPRITE_BACKGROUND_STRIP, SPRITE_STAR_01, SPRITE_STAR_02, SPRITE_MENU_BLUE, SPRITE_MENU_GREEN})
        Draw_Batch(id);
    Draw_Batch(font);
}

void App::Render_Credits()
{
    Put(SPRITE_BACKGROUND_STRIP, 0, {0.5f, 0.5f}, {1.0f, 1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
    if (font)
        font->Print_In_Box({0.0f, 0.05f}, {1.0f, 0.1f}, 0.08f, COLOUR_WHITE, SPR_CENTRE, "CREDITS");
    Put(SPRITE_MENU_GREEN, 0, {0.5f, 0.09f}, {2.0f, 0.09f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_MENU_BLUE, 0, {0.5f, 0.09f}, {0.5f, 0.1f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_MENU_BLUE, 0, {0.5f, 0.55f}, {0.8f, 0.7f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);

    if (font)
        font->Print_In_Box({0.0f, 0.15f}, {1.0f, 0.1f}, 0.06f, COLOUR_WHITE, SPR_CENTRE, MAKER_LINE);
    Put(SPRITE_MENU_BLUE, 0, {0.5f, 0.19f}, {2.0f, 0.1f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
    if (font)
        font->Print_In_Box({0.0f, 0.9f}, {1.0f, 0.1f}, 0.05f, COLOUR_WHITE, SPR_CENTRE, CREDIT_SECOND_LINE);
    Put(SPRITE_MENU_BLUE, 0, {0.5f, 0.94f}, {2.0f, 0.1f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);

    if (font)
    {
        for (int i = 0; i < 4; ++i)
            font->Print_In_Box({0.02f, k_credit_heading_y[i]}, {0.3f, 0.1f}, 0.06f, COLOUR_WHITE, SPR_RIGHT,
                               k_credit_headings[i]);
        for (int i = 0; i < 4; ++i)
            font->Print_In_Box({0.46f, k_credit_name_y[i]}, {0.4f, 0.1f}, 0.06f, COLOUR_WHITE, SPR_LEFT,
                               k_credit_names[i]);
    }
    for (int i = 0; i < 4; ++i)
        Put(k_logos[i], 0, {0.4f, k_logo_y[i]}, {0.075f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);

    Draw_Stars();
    for (int id :
         {SPRITE_BACKGROUND_STRIP, SPRITE_STAR_01, SPRITE_STAR_02, SPRITE_MENU_BLUE, SPRITE_MENU_GREEN,
          SPRITE_LOGO_ZARN, SPRITE_LOGO_PELLOW, SPRITE_LOGO_BRISK, SPRITE_LOGO_MUSIC})
        Draw_Batch(id);
    Draw_Batch(font);
}
