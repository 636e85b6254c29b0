// The menus' drawing: the backdrop, title and bands every page shares, each page's texts and cursor bar,
// the star field, and the version in the top-right corner.
#include "engine/render/sprite.h"
#include "game/app/app.h"
#include "game/menus/menu_items.h"

#include <cstdio>

namespace
{
constexpr float PI = 3.14159265f;
constexpr float ITEM_TOP = 0.57f;    // the first item's row and the cursor bar's top edge
constexpr float JOYPAD_TOP = 0.575f; // the joypad page's rows sit a little lower
constexpr float ROW_STEP = 0.06f;
const char* const k_version = "v1.3d";

const char* const k_key_labels[6] = {"LEFT", "RIGHT", "UP", "DOWN", "FIRE", "USE"};
const char* const k_pad_labels[JOYPAD_ITEM_COUNT] = {nullptr, "LEFT / RIGHT", "UP / DOWN",
                                                     "FIRE",  "USE",          "OPTIONS MENU"};

void Text(Sprite* font, Vector2 box, Vector2 size, float height, uint32_t flags, const char* text)
{
    if (font)
        font->Print_In_Box(box, size, height, COLOUR_WHITE, flags, text);
}

void Heading(Sprite* font, const char* text)
{
    Text(font, {0.0f, 0.45f}, {1.0f, 0.1f}, 0.07f, SPR_CENTRE, text);
}

// A label from x = 0.35 and its value ending at x = 0.65, on one row.
void Binding_Row(Sprite* font, float y, const char* label, const char* value)
{
    Text(font, {0.35f, y}, {1.0f, 0.05f}, 0.06f, SPR_LEFT, label);
    Text(font, {0.0f, y}, {0.65f, 0.05f}, 0.06f, SPR_RIGHT, value);
}
} // namespace

void App::Menu_Render()
{
    Put(SPRITE_BACKGROUND_STRIP, 0, {0.5f, 0.5f}, {1.0f, 1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_TITLE, 0, {0.5f, 0.225f}, {0.9f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_MENU_GREEN, 0, {0.5f, 0.4925f}, {2.0f, 0.09f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_MENU_BLUE, 0, {0.5f, 0.4925f}, {2.0f, 0.09f}, PI, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_MENU_BLUE, 0, {0.5f, 0.7f}, {0.6f, 0.4f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);

    const Vector2 cursor_bar = {0.5f, ITEM_TOP + ROW_STEP * static_cast<float>(menu_cursor)};
    switch (menu_page)
    {
    case MENU_MAIN:
    case MENU_OPTIONS:
    {
        const bool main = menu_page == MENU_MAIN;
        const char* const main_items[MAIN_ITEM_COUNT] = {"1 PLAYER", "2 PLAYER", "OPTIONS", g_difficulty_text,
                                                         "EXIT"};
        const char* const options_items[OPTIONS_ITEM_COUNT] = {
            "KEYBOARD", "JOYPAD", g_resolution_text, g_display_mode_text, "TOUCH CONTROLS", "MAIN MENU"};
        Heading(font, main ? "MAIN MENU" : "OPTIONS MENU");
        const int count = main ? static_cast<int>(MAIN_ITEM_COUNT) : static_cast<int>(OPTIONS_ITEM_COUNT);
        for (int i = 0; i < count; ++i)
            Text(font, {0.0f, ITEM_TOP + ROW_STEP * static_cast<float>(i)}, {1.0f, 0.05f}, 0.06f, SPR_CENTRE,
                 main ? main_items[i] : options_items[i]);
        Put(SPRITE_MENU_GREEN, 0, cursor_bar, {1.0f, 0.045f}, 0.0f, COLOUR_WHITE, SPR_TOP);
        if (main)
            Text(font, {0.0f, 0.94f}, {1.0f, 0.05f}, 0.07f, SPR_CENTRE, MAKER_LINE);
        else
            Text(font, {0.0f, 0.92f}, {1.0f, 0.1f}, 0.03f, SPR_CENTRE,
                 "KVR needs to be restarted inorder for the screeen settings to take effect");
        Put(SPRITE_MENU_BLUE, 0, {0.5f, main ? 0.965f : 0.985f}, {2.0f, 0.1f}, 0.0f, COLOUR_WHITE,
            SPR_CENTRE);
        break;
    }
    case MENU_KEYBOARD:
        Heading(font, "KEYBOARD CONROLS MENU");
        for (int row = 0; row < KEYBOARD_OPTIONS_MENU; ++row)
        {
            char name[64] = "";
            Append_Key_Name(name, sizeof name, controls.bindings[row]);
            Binding_Row(font, ITEM_TOP + ROW_STEP * static_cast<float>(row), k_key_labels[row], name);
        }
        Text(font, {0.0f, ITEM_TOP + ROW_STEP * static_cast<float>(KEYBOARD_OPTIONS_MENU)}, {1.0f, 0.06f},
             0.06f, SPR_CENTRE, "OPTIONS MENU");
        Put(SPRITE_MENU_GREEN, 0, cursor_bar, {1.0f, 0.045f}, 0.0f, COLOUR_WHITE, SPR_TOP);
        break;
    case MENU_JOYPAD:
        Heading(font, "JOYPAD CONROLS MENU");
        for (int row = 0; row < JOYPAD_ITEM_COUNT; ++row)
        {
            const float y = JOYPAD_TOP + ROW_STEP * static_cast<float>(row);
            if (row == JOYPAD_NAME || row == JOYPAD_OPTIONS_MENU)
            {
                Text(font, {0.0f, y}, {1.0f, 0.06f}, 0.06f, SPR_CENTRE,
                     row == JOYPAD_NAME ? joypad_name : k_pad_labels[row]);
                continue;
            }
            char value[16];
            std::snprintf(value, sizeof value, "%d", controls.bindings[BIND_PAD_X + row - JOYPAD_LEFT_RIGHT]);
            Binding_Row(font, y, k_pad_labels[row], value);
        }
        Put(SPRITE_MENU_GREEN, 0, cursor_bar, {1.0f, 0.045f}, 0.0f, COLOUR_WHITE, SPR_TOP);
        break;
    case MENU_SELECT_KEY:
        Heading(font, "SELECT KEY");
        break;
    case MENU_SELECT_AXIS:
    case MENU_SELECT_BUTTON:
        Heading(font, menu_page == MENU_SELECT_AXIS ? "SELECT KEY" : "SELECT BUTTON");
        Text(font, {0.0f, 0.9f}, {1.0f, 0.1f}, 0.04f, SPR_CENTRE, "Press space to abort");
        break;
    default:
        break;
    }

    Draw_Stars();
    for (int id : {SPRITE_BACKGROUND_STRIP, SPRITE_STAR_01, SPRITE_STAR_02, SPRITE_MENU_BLUE,
                   SPRITE_MENU_GREEN, SPRITE_TITLE})
        Draw_Batch(id);
    if (font)
        font->Print_In_Box({0.0f, 0.0f}, {1.0f, 1.0f}, 0.03f, {1.0f, 1.0f, 1.0f, 0.75f}, SPR_RIGHT | SPR_TOP,
                           k_version);
    Draw_Batch(font);
}
