// DirectInput scan codes (DIK values) of the keys of the desktop's keyboard, by where each key sits.
#pragma once

namespace platform
{
// The scan code of an SDL scancode (a key position, whatever the layout); 0 for keys without one.
int Scan_Code_From_Sdl(int sdl_scancode);
} // namespace platform
