// Pushes keyboard events into SDL's queue as if they came from the window system, for window tests.
#pragma once

#include <SDL.h>

namespace test_support
{
// One key going down or up in the window with the given SDL window id.
void Push_Key(Uint32 window_id, SDL_Scancode scancode, bool down);
} // namespace test_support
