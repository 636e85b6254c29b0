// Controller's base behaviour and DX_Controller: set-up, poll, dead zones.
#include "engine/input/controller.h"

#include "engine/core/vorta_log.h"

#include <cstdio>

float Apply_Dead_Zone(float x, float dead_zone)
{
    if (dead_zone == 0.0f)
        return x;
    if (dead_zone >= 1.0f)
        return 0.0f;
    float magnitude = x < 0.0f ? -x : x;
    if (magnitude < dead_zone)
        return 0.0f;
    return x >= 0.0f ? (x - dead_zone) / (1.0f - dead_zone) : (x + dead_zone) / (1.0f - dead_zone);
}

Controller::~Controller()
{
    delete m_next;
}

Orientation_Matrix Controller::Get_Orientation() const
{
    Orientation_Matrix identity = {};
    for (int i = 0; i < 4; ++i)
        identity.m[i][i] = 1.0f;
    return identity;
}

void Controller::Set_Name(const char* name)
{
    std::snprintf(m_name, sizeof(m_name), "%s", name ? name : "");
}

DX_Controller::~DX_Controller()
{
    m_device.Release();
}

bool DX_Controller::Set_Up(int device_index)
{
    Set_Name(platform::Joystick_Device::Name(device_index));
    Print_Message("    Device: %s\n", m_name);
    if (!m_device.Open(device_index))
    {
        Print_Message("      FAILED: CreateDevice\n");
        return false;
    }
    int axes = 0, buttons = 0, hats = 0;
    if (m_device.Capabilities(axes, buttons, hats))
    {
        Print_Message("      Number of axis:    %d\n", axes);
        Print_Message("      Number of buttons: %d\n", buttons);
        m_button_count = buttons < MAX_BUTTONS ? buttons : MAX_BUTTONS;
    }
    else
    {
        Print_Message("      FAILED: GetCapabilities\n");
    }
    m_device.Acquire();
    return true;
}

void DX_Controller::Poll()
{
    platform::Joystick_Reading reading;
    if (!m_device.Read(reading))
    {
        m_device.Acquire();
        if (!m_device.Read(reading))
        {
            m_attached = false; // gone: the controller keeps its last state, marked stale
            return;
        }
    }
    m_attached = true;
    Apply(reading);
}

void DX_Controller::Apply(const platform::Joystick_Reading& reading)
{
    // Axis order: X, Y, Z, Rz, slider 0, slider 1, Rx, Ry.
    const int32_t raw[AXIS_COUNT] = {reading.x,         reading.y,         reading.z,  reading.rz,
                                     reading.slider[0], reading.slider[1], reading.rx, reading.ry};
    for (int i = 0; i < AXIS_COUNT; ++i)
    {
        float x = (static_cast<float>(raw[i]) - 32768.0f) / 32768.0f;
        m_axes[i].value = Apply_Dead_Zone(x, m_axes[i].dead_zone);
    }
    for (int i = 0; i < m_button_count; ++i)
        m_buttons[i].Update(reading.buttons[i] != 0);
    m_pov = reading.pov[0];
    if (m_pov == -1)
        m_pov_held = 0;
    else if (m_pov_held != 0xFFFFFFFFu)
        ++m_pov_held;
}

float DX_Controller::Get_Axis(int index) const
{
    return index >= 0 && index < AXIS_COUNT ? m_axes[index].value : 0.0f;
}

float DX_Controller::Get_Dead_Zone(int index) const
{
    return index >= 0 && index < AXIS_COUNT ? m_axes[index].dead_zone : 0.0f;
}

bool DX_Controller::Button_Pressed(int index) const
{
    return index >= 0 && index < m_button_count && m_buttons[index].Pressed();
}

uint32_t DX_Controller::Button_Held(int index) const
{
    return index >= 0 && index < m_button_count ? m_buttons[index].held : 0;
}

bool DX_Controller::Button_Released(int index) const
{
    return index >= 0 && index < m_button_count && m_buttons[index].Released();
}

void DX_Controller::Set_Axis(int index, float value)
{
    if (index >= 0 && index < AXIS_COUNT)
        m_axes[index].value = value;
}

void DX_Controller::Set_Button(int index, uint32_t held, uint32_t released)
{
    if (index >= 0 && index < m_button_count)
        m_buttons[index] = {held, released};
}

void DX_Controller::Set_Dead_Zone(int index, float value)
{
    // A negative zone would push a centred stick off centre.
    if (index >= 0 && index < AXIS_COUNT)
        m_axes[index].dead_zone = value > 0.0f ? value : 0.0f;
}
