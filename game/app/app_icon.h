// The game's window icon, a picture the asset build makes.
#pragma once
#include "platform/os_window.h"

// The icon loaded on first use; empty (0 x 0, which Set_Icon ignores) when the picture is missing.
const platform::Icon_Image& App_Icon();
