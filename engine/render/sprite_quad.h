// The arithmetic of one sprite quad, free of any device state.
#pragma once
#include "engine/render/sprite_types.h"

// What a quad needs to know of where it is drawn.
struct Quad_Space
{
    float aspect = 1.0f;       // the current viewport's aspect (height / width for a full window)
    float target_width = 1.0f; // render target, pixels
    float target_height = 1.0f;
};

// Writes the four corners (top-left, top-right, bottom-right, bottom-left before flips and rotation) of a
// quad: position and size in normalised units (pixels with SPR_PIXELS), rotation in radians turning
// counter-clockwise on screen, positions out in target pixels with y up from the top-left corner. `cell`
// is null when the sprite has no cell table; the quad then covers the whole texture.
void Write_Sprite_Quad(Sprite_Vertex out[4], const Sprite_Cell* cell, Vector2 position, Vector2 size,
                       float rotation, const Colour& colour, uint32_t flags, const Quad_Space& space);
