// The window icon: the built picture data/icons/kestrova-128.png, read once (from the pack or the disk).
#include "game/app/app_icon.h"

#include "engine/core/window_icon.h"

const platform::Icon_Image& App_Icon()
{
    static Window_Icon icon;
    static const bool loaded = icon.Load("data/icons/kestrova-128.png");
    (void)loaded;
    return icon.Get_Image();
}
