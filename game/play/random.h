// The game's one random generator and its helpers; every new game seeds it with 2103.
#pragma once
#include "engine/render/sprite_types.h"
#include <cstdint>

void Seed_Random(uint32_t seed);
// 0 to 32767.
int Random_Int();
// [a, b): (Random_Int() % 16284) x 6.140997e-05 x (b - a) + a.
float Random_Range(float a, float b);
// [0, 1).
float Random_Unit();
// One of red, green, blue, yellow, cyan, magenta, white, alpha 1.
Colour Random_Colour();
// The generator's state, for traces and tests.
uint32_t Random_State();
