// The play field's ring: 6000 floor columns of 1/60 unit make a world 100 units around that wraps.
#pragma once
#include <cmath>

constexpr int FLOOR_COLUMNS = 6000;
constexpr float TILE_WIDTH = 1.0f / 60.0f;
constexpr float WORLD_WIDTH = FLOOR_COLUMNS * TILE_WIDTH;

// Brings x into [0, 100) by whole turns of the ring.
inline float Wrap_X(float x)
{
    while (x < 0.0f)
        x += WORLD_WIDTH;
    while (x >= WORLD_WIDTH)
        x -= WORLD_WIDTH;
    return x;
}

// The signed shortest difference a - b on the ring, in (-50, 50].
inline float Wrap_Delta(float a, float b)
{
    float d = a - b;
    while (d < 0.0f)
        d += WORLD_WIDTH;
    if (d > WORLD_WIDTH * 0.5f)
        d = -(WORLD_WIDTH - d);
    return d;
}

// A column index brought into 0..5999.
inline int Wrap_Column(int c)
{
    while (c < 0)
        c += FLOOR_COLUMNS;
    return c % FLOOR_COLUMNS;
}

// The column of a crater or bridge at world x.
inline int Column_Of(float x)
{
    return Wrap_Column(static_cast<int>(std::floor((x + 0.5f) / TILE_WIDTH)));
}

// The column under the pilot's or the buggy's centre.
inline int Centre_Column(float x)
{
    return Wrap_Column(static_cast<int>(std::floor(x / TILE_WIDTH)) + 31);
}
