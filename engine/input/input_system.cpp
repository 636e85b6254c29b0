// Input_System, Keyboard and Mouse: creation with its log lines, the per-frame poll and release.
#include "engine/input/input_system.h"

#include "engine/core/vorta_log.h"

#include <new>

namespace
{
const Key_State k_up;
}

const Key_State& Keyboard::Get_Key(int code) const
{
    return code >= 0 && code < KEY_COUNT ? m_keys[code] : k_up;
}

bool Keyboard::Create(uint32_t window_id)
{
    for (Key_State& key : m_keys)
        key.Clear();
    m_typed_count = 0;
    if (!m_device.Create(window_id))
        return false;
    m_device.Acquire();
    return true;
}

void Keyboard::Poll()
{
    if (!Has_Device())
        return;
    uint8_t state[KEY_COUNT];
    m_typed_count = 0;
    if (!m_device.Read(state))
    {
        for (Key_State& key : m_keys)
            key.Clear();
        if (m_device.Acquire())
            Print_Message("Re-acquire keyboard\n");
        return;
    }
    for (int code = 0; code < KEY_COUNT; ++code)
        m_keys[code].Update((state[code] & 0x80) != 0);
    m_typed_count = m_device.Read_Typed(m_typed, MAX_TYPED);
}

void Mouse::Set_Position(float x, float y)
{
    m_position[0] = x;
    m_position[1] = y;
}

const Key_State& Mouse::Get_Button(int index) const
{
    return index >= 0 && index < BUTTON_COUNT ? m_buttons[index] : k_up;
}

bool Mouse::Create(uint32_t window_id)
{
    for (Key_State& button : m_buttons)
        button.Clear();
    if (!m_device.Create(window_id))
        return false;
    m_device.Acquire();
    return true;
}

void Mouse::Poll()
{
    if (!Has_Device())
        return;
    platform::Mouse_Reading reading;
    if (!m_device.Read(reading))
    {
        for (Key_State& button : m_buttons)
            button.Clear();
        if (m_device.Acquire())
            Print_Message("Re-acquire mouse\n");
        return;
    }
    const int32_t delta[3] = {reading.dx, reading.dy, reading.dz};
    for (int i = 0; i < 3; ++i)
        m_motion[i] = (m_motion[i] + static_cast<float>(delta[i])) * 0.5f;
    m_position[2] += static_cast<float>(reading.dz);
    for (int i = 0; i < BUTTON_COUNT; ++i)
        m_buttons[i].Update(reading.buttons[i] != 0);
}

bool Input_System::Create(uint32_t window_id)
{
    Release();

    Print_Message("Creating DInput instance... ");
    if (!platform::Input_Open())
        Report_Error(true, "FAILED to create an DInput8 instance");
    m_open = true;
    Print_Message("Ok\n");

    Print_Message("  Creating default keyboard... ");
    m_keyboard = new (std::nothrow) Keyboard(this);
    if (m_keyboard && m_keyboard->Create(window_id))
        Print_Message("Ok\n");
    else
        Print_Message("FAILED to create a keyboard device\n");

    Print_Message("  Creating default mouse... ");
    m_mouse = new (std::nothrow) Mouse(this);
    if (m_mouse && m_mouse->Create(window_id))
        Print_Message("Ok\n");
    else
        Print_Message("Failed: to create a mouse device\n");

    Print_Message("  Creating pad/joystick controller pool\n");
    Controller* last = nullptr;
    int devices = platform::Joystick_Device::Count();
    for (int index = 0; index < devices; ++index)
    {
        DX_Controller* controller = new (std::nothrow) DX_Controller(this);
        if (!controller)
            Report_Error(true, "Failed to alloc game controller memory\n");
        if (!controller->Set_Up(index))
        {
            delete controller;
            continue;
        }
        if (last)
            last->Set_Next(controller);
        else
            m_controllers = controller;
        last = controller;
    }
    Print_Message(m_controllers ? "\n" : "No joypads / joysticks found???\n");
    return true;
}

void Input_System::Poll()
{
    if (m_keyboard)
        m_keyboard->Poll();
    if (m_mouse)
        m_mouse->Poll();
    for (Controller* controller = m_controllers; controller; controller = controller->Get_Next())
        controller->Poll();
}

void Input_System::Release()
{
    delete m_keyboard;
    m_keyboard = nullptr;
    delete m_mouse;
    m_mouse = nullptr;
    delete m_controllers; // the chain goes with its first link
    m_controllers = nullptr;
    if (m_open)
        platform::Input_Close();
    m_open = false;
}

int Input_System::Get_Controller_Count() const
{
    int count = 0;
    for (Controller* controller = m_controllers; controller; controller = controller->Get_Next())
        ++count;
    return count;
}

Controller* Input_System::Get_Controller(int n) const
{
    Controller* controller = m_controllers;
    for (int i = 0; controller && i < n; ++i)
        controller = controller->Get_Next();
    return n >= 0 ? controller : nullptr;
}

bool Input_System::Shift_Down(const Keyboard* keyboard) const
{
    return keyboard && (keyboard->Key_Down(42) || keyboard->Key_Down(54));
}
