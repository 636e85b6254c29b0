// The game's random generator: a 32-bit linear congruential state, 15 bits out per draw.
#include "game/play/random.h"

namespace
{
uint32_t g_random_state = 0;
} // namespace

void Seed_Random(uint32_t seed)
{
    g_random_state = seed;
}

int Random_Int()
{
    g_random_state = g_random_state * 214013u + 2531011u;
    return static_cast<int>((g_random_state >> 16) & 0x7FFF);
}

float Random_Range(float a, float b)
{
    return static_cast<float>(Random_Int() % 16284) * 6.140997e-05f * (b - a) + a;
}

float Random_Unit()
{
    return static_cast<float>(Random_Int() % 16284) * 6.140997e-05f;
}

Colour Random_Colour()
{
    static constexpr Colour k_colours[7] = {
        {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 0, 1}, {0, 1, 1, 1}, {1, 0, 1, 1}, {1, 1, 1, 1},
    };
    return k_colours[Random_Int() % 7];
}

uint32_t Random_State()
{
    return g_random_state;
}
