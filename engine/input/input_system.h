// Input_System: a window's keyboard, mouse and joypads, polled once a frame into per-button frame counters.
#pragma once
#include "engine/input/controller.h"
#include "engine/input/input_frame.h"
#include "engine/input/key_state.h"
#include "platform/input_devices.h"

#include <cstdint>

class Input_System;
class Touch_State;

// 256 keys by DirectInput scan code.
class Keyboard
{
  public:
    static constexpr int KEY_COUNT = 256;
    static constexpr int SYSRQ = 183;

    explicit Keyboard(Input_System* owner) : m_owner(owner) {}
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // Codes outside 0 to 255 read as a key that is up.
    const Key_State& Get_Key(int code) const;
    uint32_t Key_Held(int code) const { return Get_Key(code).held; }
    bool Key_Pressed(int code) const { return Get_Key(code).Pressed(); }
    bool Key_Down(int code) const { return Get_Key(code).Down(); }
    bool Key_Released(int code) const { return Get_Key(code).Released(); }
    // The keys that went down since the poll before, in the order they were pressed (a key pressed twice
    // is there twice); at most MAX_TYPED, the latest.
    int Typed_Count() const { return m_typed_count; }
    int Typed_Key(int index) const { return index >= 0 && index < m_typed_count ? m_typed[index] : 0; }
    static constexpr int MAX_TYPED = 32;

    // A keyboard without a device reads every key as up and is never polled.
    bool Has_Device() const { return m_device.Is_Created(); }
    bool Create(uint32_t window_id);
    // One poll of the device; the 256 state bytes it gave are copied to `reading` when one is given (the keys
    // typed in order are then Typed_Key's).
    Input_Reading Poll(uint8_t* reading = nullptr);
    // A poll that comes from elsewhere: the state bytes as the device gives them (0x80 down) and the keys
    // that went down since the poll before in their order, or the device lost (every key let go).
    void Apply(const uint8_t state[KEY_COUNT], const uint8_t* typed, int typed_count);
    void Lose();
    void Release() { m_device.Release(); }
    Input_System* Get_Owner() const { return m_owner; }

  private:
    Input_System* m_owner;
    Key_State m_keys[KEY_COUNT];
    uint8_t m_typed[MAX_TYPED] = {};
    int m_typed_count = 0;
    platform::Keyboard_Device m_device;
};

static_assert(Keyboard::MAX_TYPED == INPUT_MAX_TYPED, "a recorded poll holds every typed key");

// Buttons 0 left, 1 right, 2 middle, 3 to 7 the others.
class Mouse
{
  public:
    static constexpr int BUTTON_COUNT = 8;

    explicit Mouse(Input_System* owner) : m_owner(owner) {}
    Mouse(const Mouse&) = delete;
    Mouse& operator=(const Mouse&) = delete;

    // x and y normalised over the client area (set by the window's Get_Input); z the wheel, 120 a notch.
    const float* Get_Position() const { return m_position; }
    void Set_Position(float x, float y);
    // Smoothed relative motion: each poll, motion := (motion + movement) / 2.
    const float* Get_Motion() const { return m_motion; }

    const Key_State& Get_Button(int index) const;
    uint32_t Button_Held(int index) const { return Get_Button(index).held; }
    bool Button_Pressed(int index) const { return Get_Button(index).Pressed(); }
    bool Button_Released(int index) const { return Get_Button(index).Released(); }

    bool Has_Device() const { return m_device.Is_Created(); }
    bool Create(uint32_t window_id);
    // One poll of the device; what it gave is copied to `reading` when one is given.
    Input_Reading Poll(platform::Mouse_Reading* reading = nullptr);
    // A poll that comes from elsewhere, as the device gives it, or the device lost (buttons let go).
    void Apply(const platform::Mouse_Reading& reading);
    void Lose();
    void Release() { m_device.Release(); }
    Input_System* Get_Owner() const { return m_owner; }

  private:
    Input_System* m_owner;
    float m_position[3] = {};
    float m_motion[3] = {};
    Key_State m_buttons[BUTTON_COUNT];
    platform::Mouse_Device m_device;
};

class Input_System
{
  public:
    Input_System() = default;
    Input_System(const Input_System&) = delete;
    Input_System& operator=(const Input_System&) = delete;
    ~Input_System() { Release(); }

    // Where the polls come from instead of the devices, and who sees them; both borrowed, both may be null.
    // Set before Create: with a source, Create makes the source's joypads instead of the attached ones.
    void Attach(Input_Source* source, Input_Tap* tap);
    // The touch points that go with this input (the window's), for the source and the tap.
    void Attach_Touch(Touch_State* touch) { m_touch = touch; }
    bool Has_Source() const { return m_source != nullptr; }

    // Creates the keyboard and mouse for the window and a controller for every joypad attached now, logging
    // each step. Releases earlier devices first. True whenever it returns.
    bool Create(uint32_t window_id);
    // The controller list brought up to date with the pads plugged in and pulled out since the last poll,
    // then keyboard, mouse and the controllers; with a source, the source's next frame instead (its pads
    // plugged in and pulled out included). The tap sees what was polled.
    void Poll();
    // Pads plugged in or pulled out: a pulled pad stays in the list, released, and takes its place again
    // when it (or another pad of its model) comes back; any other new pad joins the end of the list, up to
    // MAX_CONTROLLERS. Controllers are never deleted before Release, so a pointer to one stays good.
    void Update_Controller_List();
    // Rises by one whenever the list grows or a pad in it is pulled out or comes back.
    uint32_t Get_Controller_Changes() const { return m_controller_changes; }
    static constexpr int MAX_CONTROLLERS = 16;
    // Keyboard, mouse, the controller list, then the input service.
    void Release();

    Keyboard* Get_Keyboard() const { return m_keyboard; }
    Mouse* Get_Mouse() const { return m_mouse; }
    int Get_Controller_Count() const;
    // The n-th controller (0 the first), null past the end.
    Controller* Get_Controller(int n) const;

    // The desktop's caps-lock toggle; with a source, the source's.
    bool Caps_Lock_On() const { return m_source ? m_frame.caps_lock : platform::Caps_Lock_On(); }
    // Left shift (42) or right shift (54) is down.
    bool Shift_Down(const Keyboard* keyboard) const;

  private:
    // A controller for the device, appended to the list; false when there is no room or it cannot be set up.
    bool Add_Controller(int device_index);
    // The same for a pad that a source feeds.
    bool Add_Fed_Controller(const Input_Pad_Info& info);
    // Appends a new controller (deleted when there is no room); false then.
    bool Append_Controller(DX_Controller* controller);
    // One pad's poll; a pad whose read fails is counted as pulled out.
    Input_Reading Poll_Pad(DX_Controller& pad, platform::Joystick_Reading& reading);
    void Poll_Devices();
    void Apply_Source_Frame();
    void Take_Touch();

    bool m_open = false;
    uint32_t m_device_changes = 0; // the desktop's plug-in count that the list was last brought up to
    uint32_t m_controller_changes = 0;
    Keyboard* m_keyboard = nullptr;
    Mouse* m_mouse = nullptr;
    Controller* m_controllers = nullptr; // every one a DX_Controller
    Input_Source* m_source = nullptr;
    Input_Tap* m_tap = nullptr;
    Touch_State* m_touch = nullptr;
    Input_Frame m_frame; // the last poll, when there is a source or a tap
};
