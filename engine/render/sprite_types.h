// Plain records shared by sprites and their callers: colours, the sprite flag set, the vertex layout of a
// sprite quad and the cell record (2-vectors are the renderer's Vector2).
#pragma once
#include "engine/render/texture.h"

#include <cstdint>

// Red, green, blue, alpha, each 0 to 1.
struct Colour
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

constexpr Colour COLOUR_BLACK{0.0f, 0.0f, 0.0f, 1.0f};
constexpr Colour COLOUR_GREY{0.5f, 0.5f, 0.5f, 1.0f};
constexpr Colour COLOUR_WHITE{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Colour COLOUR_RED{1.0f, 0.0f, 0.0f, 1.0f};
constexpr Colour COLOUR_ORANGE{1.0f, 0.5f, 0.0f, 1.0f};
constexpr Colour COLOUR_YELLOW{1.0f, 1.0f, 0.0f, 1.0f};
constexpr Colour COLOUR_GREEN{0.0f, 1.0f, 0.0f, 1.0f};
constexpr Colour COLOUR_CYAN{0.0f, 1.0f, 1.0f, 1.0f};
constexpr Colour COLOUR_BLUE{0.0f, 0.0f, 1.0f, 1.0f};
constexpr Colour COLOUR_MAGENTA{1.0f, 0.0f, 1.0f, 1.0f};
constexpr Colour COLOUR_DARK_RED{0.5f, 0.0f, 0.0f, 1.0f};
constexpr Colour COLOUR_BROWN{0.5f, 0.25f, 0.0f, 1.0f};
constexpr Colour COLOUR_OLIVE{0.5f, 0.5f, 0.0f, 1.0f};
constexpr Colour COLOUR_DARK_GREEN{0.0f, 0.5f, 0.0f, 1.0f};
constexpr Colour COLOUR_TEAL{0.0f, 0.5f, 0.5f, 1.0f};
constexpr Colour COLOUR_NAVY{0.0f, 0.0f, 0.5f, 1.0f};
constexpr Colour COLOUR_PURPLE{0.5f, 0.0f, 0.5f, 1.0f};

// One flag set serves every sprite operation; each operation reads only its own bits.
enum Sprite_Flags : uint32_t
{
    SPR_CENTRE = 0x1,
    SPR_BASELINE = 0x2,
    SPR_LEFT = 0x4,
    SPR_RIGHT = 0x8,
    SPR_TOP = 0x10,
    SPR_BOTTOM = 0x20,
    SPR_CLAMP = 0x40,
    SPR_LINEAR = 0x80,
    SPR_PIXELS = 0x100,
    SPR_ASPECT = 0x200,
    SPR_ALPHA = 0x400,
    SPR_ADD = 0x800,
    SPR_SUBTRACT = 0x1000,
    SPR_CODES = 0x2000,
    SPR_CLEAR = 0x4000,
    SPR_DEPTH = 0x8000,
    SPR_DEPTH_REVERSE = 0x10000,
    SPR_FLIP_X = 0x20000,
    SPR_FLIP_Y = 0x40000,
    SPR_FIXED = 0x80000,
};

// One corner of a quad: position (pixels, y up, origin at the render target's centre once drawn),
// texture coordinate and colour. 36 bytes, the sprite shader's input layout.
struct Sprite_Vertex
{
    float x, y, z;
    float u, v;
    float r, g, b, a;
};
static_assert(sizeof(Sprite_Vertex) == 36, "the sprite input layout is 36 bytes a vertex");

// A rectangle of a texture. Extents are stored positive; a negative extent given to Set_Cell marks a flip.
struct Sprite_Cell
{
    float u = 0.0f, v = 0.0f;
    float width = 0.0f, height = 0.0f;
    float aspect = 0.0f;
    float pixel_width = 0.0f, pixel_height = 0.0f;
    float pixel_aspect = 0.0f;
    uint8_t flip_x = 0;
    uint8_t flip_y = 0;
};
