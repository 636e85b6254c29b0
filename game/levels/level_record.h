// Level_Record: where a level's missile base lies, how often its Defences fire, and its alien quotas.
#pragma once
#include <cstdint>

struct Level_Record
{
    float location = 0.0f; // world x offset of the missile base from the buggy
    int32_t fire_rate = 0; // 0 to 255: a Defence fires when a random byte is above it
    int32_t unused[2] = {};
    // Most aliens of each kind alive at once, in Object_Type order (meteor to saturn).
    int32_t max_aliens[12] = {};
};
static_assert(sizeof(Level_Record) == 64, "a level record is sixteen 32-bit fields");

// The most levels a script may ask for; a larger max_level is ignored.
constexpr int32_t MAX_LEVEL_COUNT = 1000;
