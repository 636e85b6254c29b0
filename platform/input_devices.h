// The desktop's input devices as the engine reads them once a frame: the keyboard by DirectInput scan code,
// the mouse as relative motion, wheel and buttons, and the joysticks attached at start. Keyboard and mouse
// follow the desktop's event pump (Pump_Events); a window's loss of focus makes its keyboard and mouse
// devices fail their next read, after which Acquire picks them up again.
#pragma once
#include <cstdint>

namespace platform
{
// The input service (the joystick subsystem). Counted: every successful Open needs its Close.
bool Input_Open();
void Input_Close();

// The caps-lock toggle.
bool Caps_Lock_On();

class Keyboard_Device
{
  public:
    Keyboard_Device() = default;
    Keyboard_Device(const Keyboard_Device&) = delete;
    Keyboard_Device& operator=(const Keyboard_Device&) = delete;
    ~Keyboard_Device() { Release(); }

    // The keyboard as the window with this id sees it; false when there is no such window.
    bool Create(uint32_t window_id);
    void Release();
    bool Is_Created() const { return m_window_id != 0; }
    bool Acquire();
    // 256 bytes by scan code, 0x80 for a key that is down, or that went down since the last read. False when
    // the device was lost (the window lost focus) since it was last acquired.
    bool Read(uint8_t state[256]);
    // The scan codes of the keys that went down since the last call (or since the device was created or
    // acquired), in the order they went down, a key pressed twice listed twice; at most `max` of them,
    // the latest. The count.
    int Read_Typed(uint8_t* codes, int max);

    // Key presses the desktop input remembers in order between two reads.
    static constexpr int TYPED_MEMORY = 64;

  private:
    uint32_t m_window_id = 0;
    uint32_t m_focus_losses = 0;
    uint32_t m_presses[256] = {};
    uint32_t m_typed_seen = 0;
};

struct Mouse_Reading
{
    int32_t dx = 0, dy = 0, dz = 0; // motion since the last read; dz in wheel units, 120 a notch
    uint8_t buttons[8] = {};        // 0x80 for down: left, right, middle, then the side buttons
};

class Mouse_Device
{
  public:
    Mouse_Device() = default;
    Mouse_Device(const Mouse_Device&) = delete;
    Mouse_Device& operator=(const Mouse_Device&) = delete;
    ~Mouse_Device() { Release(); }

    bool Create(uint32_t window_id);
    void Release();
    bool Is_Created() const { return m_window_id != 0; }
    bool Acquire();
    bool Read(Mouse_Reading& out);

  private:
    uint32_t m_window_id = 0;
    uint32_t m_focus_losses = 0;
    int64_t m_seen[3] = {};
    uint32_t m_presses[8] = {};
};

// One joystick's state in DirectInput's joystick record: axes 0 to 65535 (centre 32768), hats in hundredths
// of a degree clockwise from up (-1 centred), buttons 0x80 when down.
struct Joystick_Reading
{
    int32_t x = 32768, y = 32768, z = 32768;
    int32_t rx = 32768, ry = 32768, rz = 32768;
    int32_t slider[2] = {32768, 32768};
    int32_t pov[4] = {-1, -1, -1, -1};
    uint8_t buttons[32] = {};
};

class Joystick_Device
{
  public:
    static constexpr int MAX_BUTTONS = 32;

    // Joysticks attached now, and the name of one of them ("" when it has none).
    static int Count();
    static const char* Name(int index);

    Joystick_Device() = default;
    Joystick_Device(const Joystick_Device&) = delete;
    Joystick_Device& operator=(const Joystick_Device&) = delete;
    ~Joystick_Device() { Release(); }

    bool Open(int index);
    void Release();
    // The device's own counts (the button count may exceed what a reading holds); false when unknown.
    bool Capabilities(int& axes, int& buttons, int& hats) const;
    // Fresh state from the device; false when it is gone.
    bool Read(Joystick_Reading& out);
    bool Acquire();

  private:
    void* m_joystick = nullptr;
};
} // namespace platform
