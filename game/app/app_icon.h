// The game's window icon, drawn once by code.
#pragma once
#include "platform/os_window.h"

// A 32 x 32 picture of a crescent moon over a dark sky.
const platform::Icon_Image& App_Icon();
