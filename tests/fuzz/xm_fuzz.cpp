// Fuzz target: loads arbitrary bytes as an XM module and, when they load, plays a few blocks of it.
#include "engine/audio/xm_player.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = g_xm_player.Initialise(44000, true, true, false);
    if (!ready)
        return 0;
    if (g_xm_player.Load(data, size))
    {
        g_xm_player.Play(1.0f);
        int16_t block[XM_Player::BLOCK_FRAMES * 2];
        for (int i = 0; i < 24; ++i)
            g_xm_player.Render(block, XM_Player::BLOCK_FRAMES);
    }
    return 0;
}
