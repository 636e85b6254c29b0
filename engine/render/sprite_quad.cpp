// Corner and texture-coordinate arithmetic of sprite quads.
#include "engine/render/sprite_quad.h"

#include <cmath>
#include <utility>

void Write_Sprite_Quad(Sprite_Vertex out[4], const Sprite_Cell* cell, Vector2 position, Vector2 size,
                       float rotation, const Colour& colour, uint32_t flags, const Quad_Space& space)
{
    const float a = space.aspect;

    // A negative height keeps the cell's proportions.
    if (size.y < 0.0f && cell)
    {
        size.y = cell->pixel_aspect > 0.0f ? size.x / cell->pixel_aspect : size.x;
        if (rotation == 0.0f)
            size.y /= a;
    }

    position.y = -position.y;

    const float hw = size.x * 0.5f;
    const float hh = size.y * 0.5f;
    float cx[4] = {-hw, hw, hw, -hw};
    float cy[4] = {hh, hh, -hh, -hh};

    float shift_x = 0.0f, shift_y = 0.0f;
    if (flags & SPR_TOP)
        shift_y -= hh;
    if (flags & SPR_BOTTOM)
        shift_y += hh;
    if (flags & SPR_LEFT)
        shift_x += hw;
    if (flags & SPR_RIGHT)
        shift_x -= hw;
    for (int i = 0; i < 4; ++i)
    {
        cx[i] += shift_x;
        cy[i] += shift_y;
    }

    if (rotation != 0.0f)
    {
        const float c = std::cos(rotation);
        const float s = std::sin(rotation);
        for (int i = 0; i < 4; ++i)
        {
            const float x = cx[i] * c - cy[i] * s;
            const float y = cx[i] * s + cy[i] * c;
            cx[i] = x;
            cy[i] = y;
        }
        flags |= SPR_ASPECT;
    }

    const float y_scale = (flags & SPR_ASPECT) ? 1.0f / a : 1.0f;
    const bool pixels = flags & SPR_PIXELS;
    const float to_x = pixels ? 1.0f : space.target_width;
    const float to_y = pixels ? 1.0f : space.target_height;
    for (int i = 0; i < 4; ++i)
    {
        out[i].x = (cx[i] + position.x) * to_x;
        out[i].y = (cy[i] * y_scale + position.y) * to_y;
        out[i].z = 0.0f;
    }

    float u0 = 0.0f, v0 = 0.0f, u1 = 1.0f, v1 = 1.0f;
    if (cell)
    {
        u0 = cell->u;
        v0 = cell->v;
        u1 = cell->u + cell->width;
        v1 = cell->v + cell->height;
        if (cell->flip_x)
            flags |= SPR_FLIP_X;
        if (cell->flip_y)
            flags |= SPR_FLIP_Y;
    }
    if (flags & SPR_FLIP_X)
        std::swap(u0, u1);
    if (flags & SPR_FLIP_Y)
        std::swap(v0, v1);
    out[0].u = u0, out[0].v = v0;
    out[1].u = u1, out[1].v = v0;
    out[2].u = u1, out[2].v = v1;
    out[3].u = u0, out[3].v = v1;

    for (int i = 0; i < 4; ++i)
    {
        out[i].r = colour.r;
        out[i].g = colour.g;
        out[i].b = colour.b;
        out[i].a = colour.a;
    }
}
