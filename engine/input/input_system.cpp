// Input_System, Keyboard and Mouse: creation with its log lines, the per-frame poll and release.
#include "engine/input/input_system.h"

#include "engine/core/vorta_log.h"
#include "engine/input/touch_state.h"

#include <cstdio>
#include <cstring>
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

Input_Reading Keyboard::Poll(uint8_t* reading)
{
    if (!Has_Device())
        return INPUT_NO_DEVICE;
    uint8_t state[KEY_COUNT];
    m_typed_count = 0;
    if (!m_device.Read(state))
    {
        Lose();
        if (m_device.Acquire())
            Print_Message("Re-acquire keyboard\n");
        return INPUT_LOST;
    }
    uint8_t typed[MAX_TYPED];
    const int typed_count = m_device.Read_Typed(typed, MAX_TYPED);
    Apply(state, typed, typed_count);
    if (reading)
        std::memcpy(reading, state, KEY_COUNT);
    return INPUT_READ;
}

void Keyboard::Apply(const uint8_t state[KEY_COUNT], const uint8_t* typed, int typed_count)
{
    for (int code = 0; code < KEY_COUNT; ++code)
        m_keys[code].Update((state[code] & 0x80) != 0);
    m_typed_count = typed && typed_count > 0 ? (typed_count < MAX_TYPED ? typed_count : MAX_TYPED) : 0;
    if (m_typed_count)
        std::memcpy(m_typed, typed, static_cast<size_t>(m_typed_count));
}

void Keyboard::Lose()
{
    for (Key_State& key : m_keys)
        key.Clear();
    m_typed_count = 0;
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

Input_Reading Mouse::Poll(platform::Mouse_Reading* reading)
{
    if (!Has_Device())
        return INPUT_NO_DEVICE;
    platform::Mouse_Reading state;
    if (!m_device.Read(state))
    {
        Lose();
        if (m_device.Acquire())
            Print_Message("Re-acquire mouse\n");
        return INPUT_LOST;
    }
    Apply(state);
    if (reading)
        *reading = state;
    return INPUT_READ;
}

void Mouse::Apply(const platform::Mouse_Reading& reading)
{
    const int32_t delta[3] = {reading.dx, reading.dy, reading.dz};
    for (int i = 0; i < 3; ++i)
        m_motion[i] = (m_motion[i] + static_cast<float>(delta[i])) * 0.5f;
    m_position[2] += static_cast<float>(reading.dz);
    for (int i = 0; i < BUTTON_COUNT; ++i)
        m_buttons[i].Update(reading.buttons[i] != 0);
}

void Mouse::Lose()
{
    for (Key_State& button : m_buttons)
        button.Clear();
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

    // With a source, its joypads stand in for the attached ones.
    Print_Message("  Creating pad/joystick controller pool\n");
    if (m_source)
    {
        const int pads = m_source->Pad_Count();
        for (int index = 0; index < pads && index < INPUT_MAX_PADS; ++index)
            Add_Fed_Controller(m_source->Pad_Info(index));
    }
    else
    {
        m_device_changes = platform::Joystick_Device::Changes();
        int devices = platform::Joystick_Device::Count();
        for (int index = 0; index < devices; ++index)
            Add_Controller(index);
    }
    Print_Message(m_controllers ? "\n" : "No joypads / joysticks found???\n");

    if (m_tap)
    {
        Input_Pad_Info pads[INPUT_MAX_PADS];
        int count = 0;
        for (Controller* pad = m_controllers; pad && count < INPUT_MAX_PADS; pad = pad->Get_Next(), ++count)
        {
            std::snprintf(pads[count].name, sizeof(pads[count].name), "%s", pad->Get_Name());
            pads[count].buttons = pad->Get_Button_Count();
        }
        m_tap->Take_Devices(pads, count);
    }
    return true;
}

void Input_System::Attach(Input_Source* source, Input_Tap* tap)
{
    m_source = source;
    m_tap = tap;
}

bool Input_System::Append_Controller(DX_Controller* controller)
{
    Controller* last = m_controllers;
    int count = last ? 1 : 0;
    while (last && last->Get_Next())
    {
        last = last->Get_Next();
        ++count;
    }
    if (count >= MAX_CONTROLLERS)
    {
        delete controller;
        return false;
    }
    if (last)
        last->Set_Next(controller);
    else
        m_controllers = controller;
    return true;
}

bool Input_System::Add_Controller(int device_index)
{
    if (Get_Controller_Count() >= MAX_CONTROLLERS)
        return false;
    DX_Controller* controller = new (std::nothrow) DX_Controller(this);
    if (!controller)
        Report_Error(true, "Failed to alloc game controller memory\n");
    if (!controller->Set_Up(device_index))
    {
        delete controller;
        return false;
    }
    return Append_Controller(controller);
}

bool Input_System::Add_Fed_Controller(const Input_Pad_Info& info)
{
    if (Get_Controller_Count() >= MAX_CONTROLLERS)
        return false;
    DX_Controller* controller = new (std::nothrow) DX_Controller(this);
    if (!controller)
        Report_Error(true, "Failed to alloc game controller memory\n");
    controller->Set_Up_Fed(info);
    return Append_Controller(controller);
}

void Input_System::Update_Controller_List()
{
    if (!m_open || m_device_changes == platform::Joystick_Device::Changes())
        return;
    m_device_changes = platform::Joystick_Device::Changes();

    // Pulled out: the controller lets go of everything and stays where it is.
    for (Controller* c = m_controllers; c; c = c->Get_Next())
    {
        DX_Controller* pad = static_cast<DX_Controller*>(c);
        if (!pad->Is_Attached())
            continue;
        bool present = false;
        for (int index = 0; index < platform::Joystick_Device::Count() && !present; ++index)
            present = platform::Joystick_Device::Instance_Of(index) == pad->Get_Instance();
        if (!present)
        {
            Print_Message("  Joypad pulled out: %s\n", pad->Get_Name());
            pad->Detach();
            ++m_controller_changes;
        }
    }

    // Plugged in: back into the place of a pulled pad of its model, else a new controller at the end.
    for (int index = 0; index < platform::Joystick_Device::Count(); ++index)
    {
        const int32_t instance = platform::Joystick_Device::Instance_Of(index);
        DX_Controller* free_place = nullptr;
        bool known = false;
        char model[40];
        platform::Joystick_Device::Model_Of(index, model, sizeof(model));
        for (Controller* c = m_controllers; c && !known; c = c->Get_Next())
        {
            DX_Controller* pad = static_cast<DX_Controller*>(c);
            known = pad->Is_Attached() && pad->Get_Instance() == instance;
            if (!free_place && !pad->Is_Attached() && std::strcmp(pad->Get_Model(), model) == 0)
                free_place = pad;
        }
        if (known)
            continue;
        Print_Message("  Joypad plugged in\n");
        if (free_place ? free_place->Set_Up(index) : Add_Controller(index))
            ++m_controller_changes;
    }
}

Input_Reading Input_System::Poll_Pad(DX_Controller& pad, platform::Joystick_Reading& reading)
{
    const bool attached = pad.Is_Attached();
    const Input_Reading result = pad.Poll_Reading(reading);
    // A pad whose read fails is gone even before the desktop's word of it arrives.
    if (attached && !pad.Is_Attached())
    {
        Print_Message("  Joypad pulled out: %s\n", pad.Get_Name());
        ++m_controller_changes;
    }
    return result;
}

void Input_System::Poll()
{
    if (m_source)
    {
        m_source->Next_Frame(m_frame);
        Apply_Source_Frame();
    }
    else if (m_tap)
        Poll_Devices();
    else
    {
        Update_Controller_List();
        if (m_keyboard)
            m_keyboard->Poll();
        if (m_mouse)
            m_mouse->Poll();
        platform::Joystick_Reading reading;
        for (Controller* controller = m_controllers; controller; controller = controller->Get_Next())
            Poll_Pad(*static_cast<DX_Controller*>(controller), reading);
        return;
    }
    if (m_tap)
        m_tap->Take_Frame(m_frame);
}

// The devices, as in an ordinary poll, with everything they gave kept in the frame for the tap.
void Input_System::Poll_Devices()
{
    Input_Frame& frame = m_frame;
    // The list as it was, to see what plugging in and pulling out changed.
    int before = 0;
    bool was_attached[INPUT_MAX_PADS] = {};
    int32_t was_instance[INPUT_MAX_PADS] = {};
    for (Controller* c = m_controllers; c && before < INPUT_MAX_PADS; c = c->Get_Next(), ++before)
    {
        was_attached[before] = c->Is_Attached();
        was_instance[before] = static_cast<DX_Controller*>(c)->Get_Instance();
    }
    Update_Controller_List();

    frame.keyboard = m_keyboard ? m_keyboard->Poll(frame.keys) : INPUT_NO_DEVICE;
    if (frame.keyboard != INPUT_READ)
        std::memset(frame.keys, 0, sizeof(frame.keys));
    frame.typed_count = frame.keyboard == INPUT_READ ? m_keyboard->Typed_Count() : 0;
    for (int i = 0; i < frame.typed_count; ++i)
        frame.typed[i] = static_cast<uint8_t>(m_keyboard->Typed_Key(i));
    frame.mouse = m_mouse ? m_mouse->Poll(&frame.mouse_reading) : INPUT_NO_DEVICE;
    if (frame.mouse != INPUT_READ)
        frame.mouse_reading = platform::Mouse_Reading();
    frame.mouse_x = m_mouse ? m_mouse->Get_Position()[0] : 0.0f;
    frame.mouse_y = m_mouse ? m_mouse->Get_Position()[1] : 0.0f;
    frame.caps_lock = platform::Caps_Lock_On();

    frame.pad_count = 0;
    platform::Joystick_Reading spare;
    for (Controller* controller = m_controllers; controller; controller = controller->Get_Next())
    {
        DX_Controller* pad = static_cast<DX_Controller*>(controller);
        const int i = frame.pad_count;
        if (i == INPUT_MAX_PADS)
        {
            Poll_Pad(*pad, spare);
            continue;
        }
        ++frame.pad_count;
        uint8_t event = 0;
        if (i >= before)
            event = PAD_PLUGGED_IN;
        else if (was_attached[i] && (!pad->Is_Attached() || pad->Get_Instance() != was_instance[i]))
            event = PAD_PULLED_OUT | (pad->Is_Attached() ? PAD_PLUGGED_IN : 0);
        else if (!was_attached[i] && pad->Is_Attached())
            event = PAD_PLUGGED_IN;
        frame.pad_event[i] = event;
        if (event & PAD_PLUGGED_IN)
        {
            std::snprintf(frame.pad_info[i].name, sizeof(frame.pad_info[i].name), "%s", pad->Get_Name());
            frame.pad_info[i].buttons = pad->Get_Button_Count();
        }
        frame.pad[i] = Poll_Pad(*pad, frame.pad_reading[i]);
    }
    Take_Touch();
}

void Input_System::Take_Touch()
{
    m_frame.touch_count = 0;
    if (!m_touch)
        return;
    const int count = m_touch->Get_Count();
    m_frame.touch_count = count < INPUT_MAX_TOUCH ? count : INPUT_MAX_TOUCH;
    for (int i = 0; i < m_frame.touch_count; ++i)
    {
        m_frame.touch_x[i] = m_touch->Get_X(i);
        m_frame.touch_y[i] = m_touch->Get_Y(i);
    }
}

// What the source gave, into the same counters and the same controller list the devices feed.
void Input_System::Apply_Source_Frame()
{
    const Input_Frame& frame = m_frame;
    if (m_keyboard)
    {
        if (frame.keyboard == INPUT_READ)
            m_keyboard->Apply(frame.keys, frame.typed, frame.typed_count);
        else if (frame.keyboard == INPUT_LOST)
            m_keyboard->Lose();
    }
    if (m_mouse)
    {
        if (frame.mouse == INPUT_READ)
            m_mouse->Apply(frame.mouse_reading);
        else if (frame.mouse == INPUT_LOST)
            m_mouse->Lose();
        m_mouse->Set_Position(frame.mouse_x, frame.mouse_y);
    }
    const platform::Joystick_Reading released;
    for (int i = 0; i < frame.pad_count && i < INPUT_MAX_PADS; ++i)
    {
        DX_Controller* pad = static_cast<DX_Controller*>(Get_Controller(i));
        if (!pad)
        {
            // A new pad at the end of the list.
            Print_Message("  Joypad plugged in\n");
            if (!Add_Fed_Controller(frame.pad_info[i]))
                break;
            ++m_controller_changes;
            pad = static_cast<DX_Controller*>(Get_Controller(i));
        }
        else
        {
            if ((frame.pad_event[i] & PAD_PULLED_OUT) && pad->Is_Attached())
            {
                Print_Message("  Joypad pulled out: %s\n", pad->Get_Name());
                pad->Detach();
                ++m_controller_changes;
            }
            if (frame.pad_event[i] & PAD_PLUGGED_IN)
            {
                Print_Message("  Joypad plugged in\n");
                pad->Set_Up_Fed(frame.pad_info[i]);
                ++m_controller_changes;
            }
        }
        if (frame.pad[i] == INPUT_READ)
            pad->Apply(frame.pad_reading[i]);
        else
        {
            if (frame.pad[i] == INPUT_LOST && pad->Is_Attached())
            {
                Print_Message("  Joypad pulled out: %s\n", pad->Get_Name());
                pad->Detach();
                ++m_controller_changes;
            }
            pad->Apply(released); // a pulled-out pad reads as released
        }
    }
    if (m_touch)
    {
        platform::Touch_Point points[INPUT_MAX_TOUCH];
        const int count = frame.touch_count < INPUT_MAX_TOUCH ? frame.touch_count : INPUT_MAX_TOUCH;
        for (int t = 0; t < count; ++t)
            points[t] = {frame.touch_x[t], frame.touch_y[t]};
        m_touch->Set(points, count);
    }
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
