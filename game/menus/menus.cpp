// The menus' update: cursor movement with key repeat, the items of each page, the key, axis and button
// capture pages, and the return to the attract loop after 10 seconds without input.
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/input/controller.h"
#include "engine/input/input_system.h"
#include "game/app/app.h"
#include "game/menus/menu_items.h"

#include <cmath>
#include <cstdio>

namespace
{
constexpr float ATTRACT_SECONDS = 10.0f;
constexpr float REPEAT_SECONDS = 0.2f;
constexpr int RECORDED_AXES = 8;
constexpr int RECORDED_BUTTONS = 16;

// The first key of the capture list that went down in this frame; 0 when none did.
int Key_Gone_Down(const Keyboard* keyboard)
{
    if (!keyboard)
        return 0;
    for (int code : k_capture_keys)
        if (keyboard->Key_Held(code) == 1)
            return code;
    return 0;
}

// The selected pad while it is plugged in; an unplugged pad reads as untouched.
const Controller* Live_Pad(const Controls& controls)
{
    return controls.pad && controls.pad->Is_Attached() ? controls.pad : nullptr;
}
} // namespace

void App::Menu_Move(int count)
{
    if (repeat_timer.Expired())
    {
        if (controls.y < -0.8f)
        {
            state_timer.Start(ATTRACT_SECONDS);
            ++menu_cursor;
            repeat_timer.Start(REPEAT_SECONDS);
        }
        if (controls.y > 0.8f)
        {
            state_timer.Start(ATTRACT_SECONDS);
            --menu_cursor;
            repeat_timer.Start(REPEAT_SECONDS);
        }
    }
    if (menu_cursor < 0)
        menu_cursor = count - 1;
    if (menu_cursor >= count)
        menu_cursor = 0;
}

void App::Menu_Update()
{
    const bool chosen = controls.Fire_Pressed();
    switch (menu_page)
    {
    case MENU_MAIN:
        Menu_Move(MAIN_ITEM_COUNT);
        if (chosen)
            Main_Menu_Update();
        break;
    case MENU_OPTIONS:
        Menu_Move(OPTIONS_ITEM_COUNT);
        if (chosen)
            Options_Menu_Update();
        break;
    case MENU_KEYBOARD:
        Menu_Move(KEYBOARD_ITEM_COUNT);
        if (chosen && menu_cursor == KEYBOARD_OPTIONS_MENU)
        {
            menu_page = MENU_OPTIONS;
            menu_cursor = 0;
        }
        else if (chosen)
            menu_page = MENU_SELECT_KEY; // the cursor stays on the binding's row
        break;
    case MENU_JOYPAD:
        Menu_Move(JOYPAD_ITEM_COUNT);
        if (chosen)
            Joypad_Menu_Update();
        break;
    case MENU_SELECT_KEY:
    case MENU_SELECT_AXIS:
    case MENU_SELECT_BUTTON:
        Capture_Update();
        break;
    default:
        menu_page = MENU_MAIN;
        menu_cursor = 0;
        break;
    }

    // A game started above has timers of its own.
    if (game_state == STATE_MENU && state_timer.Expired())
    {
        game_state = STATE_HISCORES;
        state_timer.Start(ATTRACT_SECONDS);
    }
}

void App::Main_Menu_Update()
{
    switch (menu_cursor)
    {
    case MAIN_ONE_PLAYER:
    case MAIN_TWO_PLAYER:
        Print_Message("Starting a new game: %s\r\n",
                      menu_cursor == MAIN_ONE_PLAYER ? "1 PLAYER" : "2 PLAYER");
        Start_Game(menu_cursor == MAIN_ONE_PLAYER);
        break;
    case MAIN_OPTIONS:
        menu_page = MENU_OPTIONS;
        menu_cursor = 0;
        break;
    case MAIN_DIFFICULTY:
        difficulty = difficulty == DIFFICULTY_EASY ? DIFFICULTY_NORMAL : DIFFICULTY_EASY;
        hiscore_table = &hiscores[difficulty];
        std::snprintf(g_difficulty_text, sizeof g_difficulty_text, "%s",
                      difficulty == DIFFICULTY_EASY ? "EASY" : "NORMAL");
        break;
    case MAIN_EXIT:
        if (g_vorta_engine)
            g_vorta_engine->Request_Quit();
        break;
    default:
        break;
    }
}

void App::Options_Menu_Update()
{
    switch (menu_cursor)
    {
    case OPTIONS_KEYBOARD:
        menu_page = MENU_KEYBOARD;
        menu_cursor = 0;
        break;
    case OPTIONS_JOYPAD:
        if (Get_Input() && Get_Input()->Get_Controller_Count() >= 1)
        {
            menu_page = MENU_JOYPAD;
            menu_cursor = 0;
        }
        break;
    case OPTIONS_RESOLUTION:
        display.selected = display.selected && display.selected->next ? display.selected->next : display.list;
        if (display.selected)
            std::snprintf(g_resolution_text, sizeof g_resolution_text, "%d x %d pixels",
                          display.selected->width, display.selected->height);
        break;
    case OPTIONS_DISPLAY_MODE:
        display.full_screen = !display.full_screen;
        std::snprintf(g_display_mode_text, sizeof g_display_mode_text, "%s",
                      display.full_screen ? "Full Screen" : "Windowed");
        break;
    case OPTIONS_TOUCH:
        controls.touch_visible = !controls.touch_visible;
        break;
    case OPTIONS_MAIN_MENU:
        menu_page = MENU_MAIN;
        menu_cursor = 0;
        break;
    default:
        break;
    }
}

void App::Joypad_Menu_Update()
{
    const Controller* pad = Live_Pad(controls);
    switch (menu_cursor)
    {
    case JOYPAD_NAME:
    {
        const int count = Get_Input() ? Get_Input()->Get_Controller_Count() : 0;
        if (count > 0)
            Select_Pad(controls.pad_index + 1 < count ? controls.pad_index + 1 : 0);
        break;
    }
    case JOYPAD_LEFT_RIGHT:
    case JOYPAD_UP_DOWN:
        for (int i = 0; i < RECORDED_AXES; ++i)
            recorded_axes[i] = pad ? pad->Get_Axis(i) : 0.0f;
        menu_page = MENU_SELECT_AXIS;
        break;
    case JOYPAD_FIRE:
    case JOYPAD_USE:
        for (int i = 0; i < RECORDED_BUTTONS; ++i)
        {
            recorded_button_held[i] = pad ? pad->Button_Held(i) : 0;
            recorded_button_released[i] = pad && pad->Button_Released(i);
        }
        menu_page = MENU_SELECT_BUTTON;
        break;
    case JOYPAD_OPTIONS_MENU:
        menu_page = MENU_OPTIONS;
        menu_cursor = 0;
        break;
    default:
        break;
    }
}

void App::Capture_Update()
{
    state_timer.Start(ATTRACT_SECONDS);
    const int key = Key_Gone_Down(Get_Keyboard());
    if (key)
    {
        controls.x = 0.0f;
        controls.y = 0.0f;
    }

    if (menu_page == MENU_SELECT_KEY)
    {
        // Any key of the list binds, Space too; there is no way out but binding one.
        if (key && menu_cursor >= BIND_LEFT && menu_cursor <= BIND_USE)
        {
            controls.bindings[menu_cursor] = key;
            menu_page = MENU_KEYBOARD;
        }
        return;
    }

    // The pad pages: Space leaves without a change.
    const int page = menu_page;
    if (key == KEY_SPACE)
        menu_page = MENU_JOYPAD;
    const Controller* pad = Live_Pad(controls);
    if (!pad)
        return;
    if (page == MENU_SELECT_AXIS)
    {
        const int count = pad->Get_Axis_Count() < RECORDED_AXES ? pad->Get_Axis_Count() : RECORDED_AXES;
        for (int i = 0; i < count; ++i)
        {
            const float diff = pad->Get_Axis(i) - recorded_axes[i];
            if (std::fabs(diff) <= 0.5f)
                continue;
            controls.bindings[menu_cursor == JOYPAD_LEFT_RIGHT ? BIND_PAD_X : BIND_PAD_Y] =
                diff > 0.0f ? i : -i;
            menu_page = MENU_JOYPAD;
            break;
        }
        return;
    }
    for (int i = 0; i < pad->Get_Button_Count(); ++i)
    {
        if (pad->Button_Held(i) != 1)
            continue;
        controls.bindings[menu_cursor == JOYPAD_FIRE ? BIND_PAD_FIRE : BIND_PAD_USE] = i;
        menu_page = MENU_JOYPAD;
        break;
    }
}
