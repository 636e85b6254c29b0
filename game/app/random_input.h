// Random_Input: input for soak runs, generated instead of read from the devices. It presses the game's
// keys, moves a virtual joypad and the mouse, touches the screen, and on the main menu steers to an entry
// and chooses it, mostly "1 PLAYER", never "EXIT". The same seed always gives the same input.
#pragma once
#include "engine/input/input_frame.h"

#include <cstdint>

class Random_Input final : public Input_Source
{
  public:
    // Steers the menus by the game's state (menu page, cursor, bindings) in g_app.
    explicit Random_Input(uint32_t seed);

    int Pad_Count() const override { return 1; }
    const Input_Pad_Info& Pad_Info(int index) const override;
    void Next_Frame(Input_Frame& frame) override;

  private:
    static constexpr int MAX_HELD = 8;
    struct Held_Key
    {
        int code = 0;
        int frames = 0; // left to hold; 0 = free slot
    };

    uint32_t Next();
    // 0 to n - 1.
    int Below(int n) { return n > 0 ? static_cast<int>(Next() % static_cast<uint32_t>(n)) : 0; }
    bool Chance(int per_thousand) { return Below(1000) < per_thousand; }
    int Random_Key();
    void Press(int code, int frames);
    void Let_Go_Of_Everything();
    void Play_Frame();
    // On the main menu: true when it took the frame's input.
    bool Menu_Frame();

    uint32_t m_state;
    Input_Pad_Info m_pad;
    Input_Frame m_frame;
    Held_Key m_held[MAX_HELD];
    int m_pad_frames = 0;   // left of the pad's current move
    int m_touch_frames = 0; // left of the current touch
    int m_menu_target = 0;
    int m_menu_wait = 0;
    int m_console_key = 0;
};
