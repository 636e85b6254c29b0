// Input_System: a window's keyboard, mouse and joypads, polled once a frame into per-button frame counters.
#pragma once
#include "engine/input/controller.h"
#include "engine/input/key_state.h"
#include "platform/input_devices.h"

#include <cstdint>

class Input_System;

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
    void Poll();
    void Release() { m_device.Release(); }
    Input_System* Get_Owner() const { return m_owner; }

  private:
    Input_System* m_owner;
    Key_State m_keys[KEY_COUNT];
    uint8_t m_typed[MAX_TYPED] = {};
    int m_typed_count = 0;
    platform::Keyboard_Device m_device;
};

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
    void Poll();
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

    // Creates the keyboard and mouse for the window and a controller for every joypad attached now, logging
    // each step. Releases earlier devices first. True whenever it returns.
    bool Create(uint32_t window_id);
    // Keyboard, then mouse, then the controllers.
    void Poll();
    // Keyboard, mouse, the controller list, then the input service.
    void Release();

    Keyboard* Get_Keyboard() const { return m_keyboard; }
    Mouse* Get_Mouse() const { return m_mouse; }
    int Get_Controller_Count() const;
    // The n-th controller (0 the first), null past the end.
    Controller* Get_Controller(int n) const;

    bool Caps_Lock_On() const { return platform::Caps_Lock_On(); }
    // Left shift (42) or right shift (54) is down.
    bool Shift_Down(const Keyboard* keyboard) const;

  private:
    bool m_open = false;
    Keyboard* m_keyboard = nullptr;
    Mouse* m_mouse = nullptr;
    Controller* m_controllers = nullptr;
};
