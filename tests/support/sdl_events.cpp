// Pushes keyboard events into SDL's queue as if they came from the window system, for window tests.
#include "support/sdl_events.h"

namespace test_support
{
void Push_Key(Uint32 window_id, SDL_Scancode scancode, bool down)
{
    SDL_Event event = {};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = window_id;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    SDL_PushEvent(&event);
}
} // namespace test_support
