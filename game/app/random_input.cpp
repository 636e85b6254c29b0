// Random_Input: a small generator of its own (the game's generator is the game's), keys held for random
// spells, a wandering joypad, mouse and fingers, and a steady hand on the main menu.
#include "game/app/random_input.h"

#include "engine/core/config_list.h"
#include "engine/input/key_names.h"
#include "game/app/app.h"

#include <cstdio>
#include <cstdlib>

namespace
{
// Keys besides the bound ones: arrows, space, return, escape, backspace, shift, and the letters, which the
// name entry and the key set-up take.
constexpr int k_other_keys[] = {200, 208, 203, 205, 57, 28, 1,  14, 42, 16, 17, 18, 19, 20, 21, 22, 23, 24,
                                25,  30,  31,  32,  33, 34, 35, 36, 37, 38, 44, 45, 46, 47, 48, 49, 50};
// Print Screen saves a picture every time: never pressed.
constexpr int k_print_screen = 183;
} // namespace

Random_Input::Random_Input(uint32_t seed) : m_state(seed ? seed : 0x2103u)
{
    std::snprintf(m_pad.name, sizeof m_pad.name, "RANDOM PAD");
    m_pad.buttons = 12;
    m_frame.keyboard = INPUT_READ;
    m_frame.mouse = INPUT_READ;
    m_frame.mouse_x = m_frame.mouse_y = 0.5f;
    m_frame.pad_count = 1;
    m_frame.pad[0] = INPUT_READ;
    // The console's key opens the console, whose exec command runs what is typed: never pressed.
    const Config_Entry* console = Find_Config(g_vorta_config, "console");
    m_console_key = console ? Key_From_Name(console->value.text) : 0;
    if (!m_console_key)
        m_console_key = 59; // F1
}

const Input_Pad_Info& Random_Input::Pad_Info(int /*index*/) const
{
    return m_pad;
}

uint32_t Random_Input::Next()
{
    // xorshift32
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
}

int Random_Input::Random_Key()
{
    // Half the presses go to the game's own controls.
    if (g_app && Chance(500))
    {
        const int code = g_app->controls.bindings[Below(BIND_USE + 1)];
        if (code > 0 && code < 256)
            return code;
    }
    return k_other_keys[Below(static_cast<int>(sizeof k_other_keys / sizeof k_other_keys[0]))];
}

void Random_Input::Press(int code, int frames)
{
    if (code <= 0 || code > 255 || code == k_print_screen || code == m_console_key)
        return;
    for (Held_Key& held : m_held)
        if (held.frames == 0 || held.code == code)
        {
            held = {code, frames};
            m_frame.keys[code] = 0x80;
            return;
        }
}

void Random_Input::Let_Go_Of_Everything()
{
    for (Held_Key& held : m_held)
        held = Held_Key();
    for (uint8_t& key : m_frame.keys)
        key = 0;
    for (uint8_t& button : m_frame.mouse_reading.buttons)
        button = 0;
    m_frame.pad_reading[0] = platform::Joystick_Reading();
    m_frame.touch_count = 0;
    m_pad_frames = m_touch_frames = 0;
}

void Random_Input::Next_Frame(Input_Frame& frame)
{
    m_frame.keyboard = INPUT_READ;
    m_frame.mouse = INPUT_READ;
    m_frame.pad[0] = INPUT_READ;
    m_frame.mouse_reading.dx = m_frame.mouse_reading.dy = m_frame.mouse_reading.dz = 0;
    if (!Menu_Frame())
        Play_Frame();
    frame = m_frame;
}

void Random_Input::Play_Frame()
{
    // Keys: held for random spells, up to eight at once.
    for (Held_Key& held : m_held)
        if (held.frames > 0 && --held.frames == 0)
            m_frame.keys[held.code] = 0;
    if (Chance(120))
        Press(Random_Key(), 1 + Below(Chance(300) ? 90 : 12));

    // The joypad: a position and some buttons for a spell, then back to rest.
    if (m_pad_frames > 0 && --m_pad_frames == 0)
        m_frame.pad_reading[0] = platform::Joystick_Reading();
    else if (m_pad_frames == 0 && Chance(15))
    {
        static constexpr int32_t k_positions[] = {0, 32768, 65535, 16384, 49152};
        platform::Joystick_Reading& pad = m_frame.pad_reading[0];
        pad.x = k_positions[Below(5)];
        pad.y = k_positions[Below(5)];
        pad.rz = Chance(200) ? Below(65536) : 32768;
        pad.pov[0] = Chance(200) ? 9000 * Below(4) : -1;
        for (int button = 0; button < m_pad.buttons; ++button)
            pad.buttons[button] = Chance(button < 2 ? 300 : 40) ? 0x80 : 0;
        m_pad_frames = 5 + Below(60);
    }

    // The mouse: a move now and then, a click now and then.
    if (Chance(20))
    {
        m_frame.mouse_reading.dx = Below(41) - 20;
        m_frame.mouse_reading.dy = Below(41) - 20;
        m_frame.mouse_x = static_cast<float>(Below(1001)) / 1000.0f;
        m_frame.mouse_y = static_cast<float>(Below(1001)) / 1000.0f;
    }
    if (Chance(3))
        m_frame.mouse_reading.dz = Chance(500) ? 120 : -120;
    for (int button = 0; button < 3; ++button)
        if (Chance(m_frame.mouse_reading.buttons[button] ? 100 : 2))
            m_frame.mouse_reading.buttons[button] ^= 0x80;

    // Fingers: one or two, now and then, anywhere (the touch controls lie near the bottom corners).
    if (m_touch_frames > 0 && --m_touch_frames == 0)
        m_frame.touch_count = 0;
    else if (m_touch_frames == 0 && Chance(5))
    {
        m_frame.touch_count = 1 + Below(2);
        for (int i = 0; i < m_frame.touch_count; ++i)
        {
            m_frame.touch_x[i] = static_cast<float>(Below(1001)) / 1000.0f;
            m_frame.touch_y[i] = static_cast<float>(Below(1001)) / 1000.0f;
        }
        m_touch_frames = 5 + Below(60);
    }

    if (Chance(1))
        m_frame.caps_lock = !m_frame.caps_lock;
    // Now and then the window loses the focus for a poll.
    if (Chance(1))
        m_frame.keyboard = INPUT_LOST;
}

// On the main menu, with nothing else held: one step at a time to the chosen entry, then fire on it alone.
// "EXIT" is never chosen: fire is pressed only while the cursor rests on a target above it, and a cursor on
// "EXIT" steps down, which wraps to "1 PLAYER".
bool Random_Input::Menu_Frame()
{
    if (!g_app || g_app->game_state != STATE_MENU || g_app->menu_page != MENU_MAIN)
        return false;
    Let_Go_Of_Everything();
    if (m_menu_wait > 0)
    {
        --m_menu_wait;
        return true;
    }
    const Controls& controls = g_app->controls;
    const int up = controls.bindings[BIND_UP], down = controls.bindings[BIND_DOWN];
    const int fire = controls.bindings[BIND_FIRE];
    // Keys that do two things at once (fire bound to up, say) could choose an entry while stepping.
    const bool keys_safe = up > 0 && down > 0 && fire > 0 && up != down && fire != up && fire != down &&
                           up != k_print_screen && down != k_print_screen && fire != k_print_screen &&
                           up != m_console_key && down != m_console_key && fire != m_console_key;
    const int pad_y = controls.bindings[BIND_PAD_Y], pad_fire = controls.bindings[BIND_PAD_FIRE];
    const bool pad_safe = controls.pad && std::abs(pad_y) < 8 && pad_fire >= 0 && pad_fire < m_pad.buttons;
    if (!keys_safe && !pad_safe)
        return true; // nothing safe to press: the attract loop goes on

    const int cursor = g_app->menu_cursor;
    const int step = cursor >= 4 || cursor < m_menu_target ? 1 : cursor > m_menu_target ? -1 : 0;
    if (step != 0)
    {
        // A step down is the axis pushed down (y < -0.8), a step up pushed up.
        if (keys_safe)
            m_frame.keys[step > 0 ? down : up] = 0x80;
        else
        {
            const float y = step > 0 ? -1.0f : 1.0f;
            const float axis = pad_y < 0 ? -y : y;
            int32_t* fields[8] = {&m_frame.pad_reading[0].x,         &m_frame.pad_reading[0].y,
                                  &m_frame.pad_reading[0].z,         &m_frame.pad_reading[0].rz,
                                  &m_frame.pad_reading[0].slider[0], &m_frame.pad_reading[0].slider[1],
                                  &m_frame.pad_reading[0].rx,        &m_frame.pad_reading[0].ry};
            *fields[std::abs(pad_y)] = axis > 0.0f ? 65535 : 0;
        }
        m_menu_wait = 2;
        return true;
    }
    if (keys_safe)
        m_frame.keys[fire] = 0x80;
    else
        m_frame.pad_reading[0].buttons[pad_fire] = 0x80;
    m_menu_wait = 30;
    const int pick = Below(100);
    m_menu_target = pick < 60 ? 0 : pick < 85 ? 1 : pick < 95 ? 2 : 3;
    return true;
}
