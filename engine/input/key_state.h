// Key_State: the two frame counters kept for every keyboard key, mouse button and joypad button.
#pragma once
#include <cstdint>

struct Key_State
{
    uint32_t held = 0;     // consecutive polls the button has been down; stops at 0xFFFFFFFF
    uint32_t released = 0; // the held count the press reached, in the one poll in which it came up

    // One poll of the button.
    void Update(bool down)
    {
        if (down)
        {
            if (held != 0xFFFFFFFFu)
                ++held;
            released = 0;
        }
        else
        {
            released = held;
            held = 0;
        }
    }
    void Clear() { held = released = 0; }

    bool Pressed() const { return held == 1; } // went down in this poll
    bool Down() const { return held != 0; }
    bool Released() const { return released != 0; } // came up in this poll
};
