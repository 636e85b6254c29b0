// The controls file: key display names, writing "controls.txt", reading it back into the record, and the
// App's start-up load of the bindings, the selected pad and the touch sprite.
#include "game/menus/controls.h"

#include "engine/core/config_list.h"
#include "engine/core/file_replace.h"
#include "engine/core/user_folder.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"
#include "engine/input/input_system.h"
#include "engine/input/key_names.h"
#include "engine/render/sprite.h"
#include "game/app/app.h"

#include <cstdio>
#include <cstring>
#include <new>

const int k_capture_keys[CAPTURE_KEY_COUNT] = {
    2,  3,  4,  5,   6,  7,  8,  9,   10,  11,                                        // 1 to 9, 0
    30, 48, 46, 32,  18, 33, 34, 35,  23,  36,  37,  38,  50,                         // A to M
    49, 24, 25, 16,  19, 31, 20, 22,  47,  17,  45,  21,  44,                         // N to Z
    59, 60, 61, 62,  63, 64, 65, 66,  67,  68,                                        // F1 to F10
    57, 28, 29, 157, 42, 54, 56, 184, 219, 220, 200, 208, 203, 205, 41, 15, 201, 209, // the rest
};

namespace
{
struct Key_Display
{
    int code;
    const char* name;
};

// Keys shown by name; the others by the character they type.
constexpr Key_Display k_key_names[] = {
    {15, "Tab"},
    {28, "Return"},
    {29, "Left Control"},
    {42, "Left Shift"},
    {54, "Right Shift"},
    {56, "Left Alt"},
    {59, "F1"},
    {60, "F2"},
    {61, "F3"},
    {62, "F4"},
    {63, "F5"},
    {64, "F6"},
    {65, "F7"},
    {66, "F8"},
    {67, "F9"},
    {68, "F10"},
    {157, "Right Control"},
    {184, "Right Alt"},
    {200, "Up"},
    {201, "Page Up"},
    {203, "Left"},
    {205, "Right"},
    {208, "Down"},
    {209, "Page Down"},
    {219, "Left Windows"},
    {220, "Right Windows"},
};

// The key lines of the file, in the order they are written, with their binding slots.
struct Key_Line
{
    const char* key;
    int binding;
};
constexpr Key_Line k_key_lines[] = {
    {"key_left", BIND_LEFT}, {"key_right", BIND_RIGHT}, {"key_thrust", BIND_UP},
    {"key_down", BIND_DOWN}, {"key_pickup", BIND_USE},  {"key_fire", BIND_FIRE},
};

constexpr Key_Line k_pad_lines[] = {
    {"pad_vx", BIND_PAD_X},
    {"pad_vy", BIND_PAD_Y},
    {"pad_pickup", BIND_PAD_USE},
    {"pad_fire", BIND_PAD_FIRE},
};

// The name a key is shown and saved under, without quotes; "" when nothing reads back as it.
const char* Key_Name_Text(int scan_code, char (&character)[2])
{
    for (const Key_Display& key : k_key_names)
        if (key.code == scan_code)
            return key.name;
    // A character that leads back to another key (the numeric pad's '*' is also shift+8) would rebind it.
    character[0] = Char_From_Key(scan_code, false, false);
    character[1] = '\0';
    if (character[0] != 0 && Key_From_Char(character[0]) == scan_code)
        return character;
    const char* name = Name_From_Key(scan_code);
    return name ? name : "";
}

// A whole decimal number within 32 bits (an optional sign, then digits only).
bool Whole_Number(const char* text, int32_t& out)
{
    const char* p = text;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return false;
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
    {
        value = value * 10 + (*p - '0');
        if (value > 2147483648LL)
            return false;
    }
    if (*p != '\0')
        return false;
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

const char* First_Text(const Config_List& list, const char* key)
{
    const Config_Entry* entry = Find_Config(list, key);
    return entry && entry->value.text ? entry->value.text : nullptr;
}

} // namespace

Controls::~Controls()
{
    if (save_files)
        Save_Controls(*this, "controls.txt");
    delete touch_sprite;
    touch_sprite = nullptr;
}

void Append_Key_Name(char* text, int capacity, int scan_code)
{
    if (!text || capacity <= 0)
        return;
    const size_t length = std::strlen(text);
    if (length + 1 >= static_cast<size_t>(capacity))
        return;
    char character[2];
    std::snprintf(text + length, static_cast<size_t>(capacity) - length, "\"%s\"",
                  Key_Name_Text(scan_code, character));
}

bool Save_Controls(const Controls& controls, const char* file_name)
{
    char text[1024] = "";
    size_t length = 0;
    auto add = [&](const char* format, auto... values)
    {
        if (length < sizeof text)
            length +=
                static_cast<size_t>(std::snprintf(text + length, sizeof text - length, format, values...));
    };
    for (const Key_Line& line : k_key_lines)
    {
        char name[64] = "";
        Append_Key_Name(name, sizeof name, controls.bindings[line.binding]);
        add("%-11s%s\r\n", line.key, name);
    }
    add("\r\n");
    add("pad_index   %d\r\n", controls.pad_index);
    for (const Key_Line& line : k_pad_lines)
        add("%-12s%d\r\n", line.key, controls.bindings[line.binding]);
    add("\r\n");
    add("visible     %s\r\n", controls.touch_visible ? "true" : "false");
    if (length >= sizeof text)
        return false;
    return Replace_File(file_name, text, length);
}

bool Read_Controls(Controls& controls, const char* file_name, int32_t& pad_index)
{
    Config_List list;
    if (!Load_Config(list, file_name))
        return false;
    for (const Key_Line& line : k_key_lines)
    {
        const char* name = First_Text(list, line.key);
        const int code = name ? Key_From_Name(name) : 0;
        if (code > 0 && code < Keyboard::KEY_COUNT)
            controls.bindings[line.binding] = code;
    }
    int32_t number = 0;
    const char* text = First_Text(list, "pad_index");
    if (text && Whole_Number(text, number))
        pad_index = number;
    for (const Key_Line& line : k_pad_lines)
    {
        text = First_Text(list, line.key);
        if (text && Whole_Number(text, number))
            controls.bindings[line.binding] = number;
    }
    text = First_Text(list, "visible");
    if (text && *text)
        controls.touch_visible = Find_Config(list, "visible")->value.flag;
    return true;
}

Input_System* App::Get_Input() const
{
    return window ? window->Get_Input() : nullptr;
}

void App::Select_Pad(int32_t index)
{
    Input_System* input = Get_Input();
    if (!input)
        return;
    controls.pad_index = index;
    controls.pad = input->Get_Controller(index);
    if (!controls.pad)
    {
        controls.pad_index = 0;
        controls.pad = input->Get_Controller(0);
    }
    if (controls.pad)
        std::snprintf(joypad_name, sizeof joypad_name, "%s", controls.pad->Get_Name());
}

void App::Load_Controls()
{
    const char* const file_name = "controls.txt";
    const bool in_pack = g_vorta_engine && g_vorta_engine->Pack_File_Size(file_name) > 0;
    // (A replay writes no files: it reads the defaults then.)
    if (save_files && !in_pack && !Vorta_File_Exists(file_name))
        Save_Controls(controls, file_name);

    // A file without a usable pad_index selects the first pad, as the file written with the defaults does.
    int32_t pad_index = controls.pad_index;
    Read_Controls(controls, file_name, pad_index);
    Select_Pad(pad_index);

    if (!window)
        return;
    delete controls.touch_sprite;
    controls.touch_sprite = new (std::nothrow) Sprite(window);
    if (controls.touch_sprite && controls.touch_sprite->Initialize("touch"))
        return;
    delete controls.touch_sprite;
    controls.touch_sprite = nullptr;
    Report_Error(false, "Faital Error!!!\r\nUnable to load sprite \"%s\"\r\n", "touch");
}
