// The items of each menu page, by the index the cursor takes on them.
#pragma once

enum Main_Menu_Item
{
    MAIN_ONE_PLAYER = 0,
    MAIN_TWO_PLAYER,
    MAIN_OPTIONS,
    MAIN_DIFFICULTY,
    MAIN_EXIT,
    MAIN_ITEM_COUNT
};

enum Options_Menu_Item
{
    OPTIONS_KEYBOARD = 0,
    OPTIONS_JOYPAD,
    OPTIONS_RESOLUTION,
    OPTIONS_DISPLAY_MODE,
    OPTIONS_TOUCH,
    OPTIONS_MAIN_MENU,
    OPTIONS_ITEM_COUNT
};

// Items 0 to 5 are the key bindings of the same numbers.
enum Keyboard_Menu_Item
{
    KEYBOARD_OPTIONS_MENU = 6,
    KEYBOARD_ITEM_COUNT
};

enum Joypad_Menu_Item
{
    JOYPAD_NAME = 0,
    JOYPAD_LEFT_RIGHT,
    JOYPAD_UP_DOWN,
    JOYPAD_FIRE,
    JOYPAD_USE,
    JOYPAD_OPTIONS_MENU,
    JOYPAD_ITEM_COUNT
};
