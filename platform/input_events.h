// Inside the platform layer: how the event pump feeds the input devices and the windows' touch points.
#pragma once
#include "platform/os_window.h"

#include <SDL.h>

namespace platform
{
// Keyboard, mouse, focus and finger events; any other event is ignored.
void Input_Event(const SDL_Event& event);
// At the end of a pump: every window's current touch points to the sink, then lifted fingers are forgotten.
void Input_Deliver_Touch(Event_Sink& sink);
// The window is closing: its touch points go.
void Input_Forget_Window(uint32_t window_id);
// A joystick was plugged in or pulled out (counted for Joystick_Device::Changes).
void Input_Joystick_Event();
} // namespace platform
