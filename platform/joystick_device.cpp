// Joysticks on SDL2: opening, reading in the database's layout or the device's own order, and the count of
// joysticks plugged in and pulled out.
#include "platform/input_devices.h"
#include "platform/input_events.h"

#include <SDL.h>
#include <cstdio>

namespace platform
{
namespace
{
uint32_t g_joystick_changes = 0;

int32_t Hat_Angle(Uint8 hat)
{
    switch (hat)
    {
    case SDL_HAT_UP:
        return 0;
    case SDL_HAT_RIGHTUP:
        return 4500;
    case SDL_HAT_RIGHT:
        return 9000;
    case SDL_HAT_RIGHTDOWN:
        return 13500;
    case SDL_HAT_DOWN:
        return 18000;
    case SDL_HAT_LEFTDOWN:
        return 22500;
    case SDL_HAT_LEFT:
        return 27000;
    case SDL_HAT_LEFTUP:
        return 31500;
    default:
        return -1;
    }
}

bool Joystick_Service()
{
    return SDL_WasInit(SDL_INIT_JOYSTICK) != 0;
}

// The database's layout: sticks and triggers as x, y, z, rz, slider 0, slider 1; a trigger reads 0 to 32767,
// so that at rest it lands on the centre.
void Read_Mapped(SDL_GameController* controller, Joystick_Reading& out)
{
    int32_t* fields[SDL_CONTROLLER_AXIS_MAX] = {&out.x,  &out.y,         &out.z,
                                                &out.rz, &out.slider[0], &out.slider[1]};
    for (int axis = 0; axis < SDL_CONTROLLER_AXIS_MAX; ++axis)
        *fields[axis] = static_cast<int32_t>(SDL_GameControllerGetAxis(
                            controller, static_cast<SDL_GameControllerAxis>(axis))) +
                        32768;
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX && button < Joystick_Device::MAX_BUTTONS;
         ++button)
        out.buttons[button] =
            SDL_GameControllerGetButton(controller, static_cast<SDL_GameControllerButton>(button)) ? 0x80 : 0;
    Uint8 hat = SDL_HAT_CENTERED;
    if (out.buttons[SDL_CONTROLLER_BUTTON_DPAD_UP])
        hat |= SDL_HAT_UP;
    if (out.buttons[SDL_CONTROLLER_BUTTON_DPAD_DOWN])
        hat |= SDL_HAT_DOWN;
    if (out.buttons[SDL_CONTROLLER_BUTTON_DPAD_LEFT])
        hat |= SDL_HAT_LEFT;
    if (out.buttons[SDL_CONTROLLER_BUTTON_DPAD_RIGHT])
        hat |= SDL_HAT_RIGHT;
    out.pov[0] = Hat_Angle(hat); // up and down together (or left and right) read as centred
}

// The device's own order: SDL lists a device's axes in the order of their Linux event codes, X, Y, Z, Rx,
// Ry, Rz, then the throttle-like axes, which DirectInput reports as sliders.
void Read_Raw(SDL_Joystick* joystick, Joystick_Reading& out)
{
    int32_t* fields[8] = {&out.x, &out.y, &out.z, &out.rx, &out.ry, &out.rz, &out.slider[0], &out.slider[1]};
    int axes = SDL_JoystickNumAxes(joystick);
    for (int i = 0; i < axes && i < 8; ++i)
        *fields[i] = static_cast<int32_t>(SDL_JoystickGetAxis(joystick, i)) + 32768;
    int hats = SDL_JoystickNumHats(joystick);
    for (int i = 0; i < hats && i < 4; ++i)
        out.pov[i] = Hat_Angle(SDL_JoystickGetHat(joystick, i));
    int buttons = SDL_JoystickNumButtons(joystick);
    for (int i = 0; i < buttons && i < Joystick_Device::MAX_BUTTONS; ++i)
        out.buttons[i] = SDL_JoystickGetButton(joystick, i) ? 0x80 : 0;
}
} // namespace

void Input_Joystick_Event()
{
    ++g_joystick_changes;
}

int Joystick_Device::Count()
{
    int count = Joystick_Service() ? SDL_NumJoysticks() : 0;
    return count > 0 ? count : 0;
}

const char* Joystick_Device::Name(int index)
{
    const char* name = nullptr;
    if (Joystick_Service() && SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_IsGameController(index))
        name = SDL_GameControllerNameForIndex(index);
    if (!name && Joystick_Service())
        name = SDL_JoystickNameForIndex(index);
    return name ? name : "";
}

int32_t Joystick_Device::Instance_Of(int index)
{
    return Joystick_Service() ? SDL_JoystickGetDeviceInstanceID(index) : -1;
}

void Joystick_Device::Model_Of(int index, char* out, int size)
{
    if (!out || size <= 0)
        return;
    out[0] = 0;
    if (Joystick_Service() && index >= 0 && index < Count())
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), out, size);
}

uint32_t Joystick_Device::Changes()
{
    return g_joystick_changes;
}

bool Joystick_Device::Open(int index)
{
    Release();
    if (!Joystick_Service())
        return false;
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_IsGameController(index))
    {
        SDL_GameController* controller = SDL_GameControllerOpen(index);
        m_controller = controller;
        m_joystick = controller ? SDL_GameControllerGetJoystick(controller) : nullptr;
    }
    if (!m_joystick)
        m_joystick = SDL_JoystickOpen(index);
    if (!m_joystick)
        return false;
    SDL_Joystick* joystick = static_cast<SDL_Joystick*>(m_joystick);
    m_instance = SDL_JoystickInstanceID(joystick);
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick), m_model, sizeof(m_model));
    return true;
}

void Joystick_Device::Release()
{
    if (m_controller)
        SDL_GameControllerClose(static_cast<SDL_GameController*>(m_controller)); // and its joystick
    else if (m_joystick)
        SDL_JoystickClose(static_cast<SDL_Joystick*>(m_joystick));
    m_controller = nullptr;
    m_joystick = nullptr;
    m_instance = -1;
}

bool Joystick_Device::Capabilities(int& axes, int& buttons, int& hats) const
{
    SDL_Joystick* joystick = static_cast<SDL_Joystick*>(m_joystick);
    if (!joystick)
        return false;
    if (SDL_GameController* controller = static_cast<SDL_GameController*>(m_controller))
    {
        // The layout's axes and hat; the buttons up to the last one the pad has.
        axes = SDL_CONTROLLER_AXIS_MAX;
        buttons = 0;
        for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button)
            if (SDL_GameControllerHasButton(controller, static_cast<SDL_GameControllerButton>(button)))
                buttons = button + 1;
        hats = 1;
        return true;
    }
    axes = SDL_JoystickNumAxes(joystick);
    buttons = SDL_JoystickNumButtons(joystick);
    hats = SDL_JoystickNumHats(joystick);
    return axes >= 0 && buttons >= 0 && hats >= 0;
}

bool Joystick_Device::Acquire()
{
    return m_joystick && SDL_JoystickGetAttached(static_cast<SDL_Joystick*>(m_joystick));
}

bool Joystick_Device::Read(Joystick_Reading& out)
{
    SDL_Joystick* joystick = static_cast<SDL_Joystick*>(m_joystick);
    if (!joystick || !SDL_JoystickGetAttached(joystick))
        return false;
    SDL_JoystickUpdate();
    out = Joystick_Reading();
    if (m_controller)
        Read_Mapped(static_cast<SDL_GameController*>(m_controller), out);
    else
        Read_Raw(joystick, out);
    return true;
}
} // namespace platform
