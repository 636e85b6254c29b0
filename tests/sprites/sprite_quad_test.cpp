// Quad arithmetic: sizes that keep a cell's proportions, edge flags, rotation and flips.
#include "engine/render/sprite_quad.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr Quad_Space HD{1080.0f / 1920.0f, 1920.0f, 1080.0f};

struct Box
{
    float left, right, bottom, top;
};

Box Bounds(const Sprite_Vertex q[4])
{
    Box b{q[0].x, q[0].x, q[0].y, q[0].y};
    for (int i = 1; i < 4; ++i)
    {
        b.left = std::fmin(b.left, q[i].x);
        b.right = std::fmax(b.right, q[i].x);
        b.bottom = std::fmin(b.bottom, q[i].y);
        b.top = std::fmax(b.top, q[i].y);
    }
    return b;
}

Sprite_Cell Cell(float pixel_width, float pixel_height)
{
    Sprite_Cell cell;
    cell.u = 0.25f;
    cell.v = 0.5f;
    cell.width = 0.25f;
    cell.height = 0.5f;
    cell.pixel_width = pixel_width;
    cell.pixel_height = pixel_height;
    cell.pixel_aspect = pixel_width / pixel_height;
    return cell;
}

TEST(SpriteQuad, NegativeHeightKeepsTheCellsProportionsOnAWideTarget)
{
    const Sprite_Cell cell = Cell(64, 32); // pixel aspect 2
    Sprite_Vertex q[4];
    Write_Sprite_Quad(q, &cell, {0.5f, 0.5f}, {0.5f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE, HD);
    const Box b = Bounds(q);
    EXPECT_NEAR(b.right - b.left, 960.0f, 0.01f);
    EXPECT_NEAR(b.top - b.bottom, 480.0f, 0.01f);
    // Centred on the middle of the target; y points up from the top edge.
    EXPECT_NEAR((b.left + b.right) / 2, 960.0f, 0.01f);
    EXPECT_NEAR((b.top + b.bottom) / 2, -540.0f, 0.01f);

    // Turned, the height stays in units of the width until after the turn: a quarter turn stands the
    // same 960 x 480 picture on its end.
    Write_Sprite_Quad(q, &cell, {0.5f, 0.5f}, {0.5f, -1.0f}, static_cast<float>(M_PI / 2), COLOUR_WHITE, 0,
                      HD);
    const Box r = Bounds(q);
    EXPECT_NEAR(r.right - r.left, 0.25f * 1920.0f, 0.05f);
    EXPECT_NEAR(r.top - r.bottom, 0.5f / HD.aspect * 1080.0f, 0.05f);
}

TEST(SpriteQuad, EdgeFlagsPutThePositionOnThatEdge)
{
    struct Case
    {
        uint32_t flags;
        Box expected; // pixels, y up from the top edge of the target; position (0.5, 0.5), size 0.25
    };
    const Case cases[] = {
        {0, {720, 1200, -675, -405}},
        {SPR_CENTRE, {720, 1200, -675, -405}},
        {SPR_LEFT | SPR_TOP, {960, 1440, -810, -540}},
        {SPR_RIGHT | SPR_BOTTOM, {480, 960, -540, -270}},
        {SPR_LEFT | SPR_RIGHT | SPR_TOP | SPR_BOTTOM, {720, 1200, -675, -405}},
    };
    for (const Case& c : cases)
    {
        Sprite_Vertex q[4];
        Write_Sprite_Quad(q, nullptr, {0.5f, 0.5f}, {0.25f, 0.25f}, 0.0f, COLOUR_WHITE, c.flags, HD);
        const Box b = Bounds(q);
        EXPECT_NEAR(b.left, c.expected.left, 0.01f) << "flags " << c.flags;
        EXPECT_NEAR(b.right, c.expected.right, 0.01f) << "flags " << c.flags;
        EXPECT_NEAR(b.bottom, c.expected.bottom, 0.01f) << "flags " << c.flags;
        EXPECT_NEAR(b.top, c.expected.top, 0.01f) << "flags " << c.flags;
    }
}

TEST(SpriteQuad, PositiveRotationTurnsCounterClockwiseOnScreen)
{
    // In pixels with a square aspect: the top-right corner of a quad about the origin moves to the top-left
    // after a quarter turn.
    const Quad_Space square{1.0f, 100.0f, 100.0f};
    Sprite_Vertex q[4];
    Write_Sprite_Quad(q, nullptr, {0, 0}, {20, 10}, static_cast<float>(M_PI / 2), COLOUR_WHITE, SPR_PIXELS,
                      square);
    EXPECT_NEAR(q[1].x, -5.0f, 1e-4f);
    EXPECT_NEAR(q[1].y, 10.0f, 1e-4f);
    // Texture coordinates travel with their corners.
    EXPECT_EQ(q[1].u, 1.0f);
    EXPECT_EQ(q[1].v, 0.0f);
}

TEST(SpriteQuad, FlipsFromTheCellAndFromTheFlagsDoNotCancel)
{
    struct Case
    {
        bool cell_flip;
        uint32_t flags;
        float top_left_u, top_left_v;
    };
    const Case cases[] = {
        {false, 0, 0.25f, 0.5f},          {true, 0, 0.5f, 0.5f},          {true, SPR_FLIP_X, 0.5f, 0.5f},
        {false, SPR_FLIP_Y, 0.25f, 1.0f}, {true, SPR_FLIP_Y, 0.5f, 1.0f},
    };
    for (const Case& c : cases)
    {
        Sprite_Cell cell = Cell(10, 10);
        cell.flip_x = c.cell_flip;
        Sprite_Vertex q[4];
        Write_Sprite_Quad(q, &cell, {0, 0}, {1, 1}, 0.0f, COLOUR_RED, c.flags, HD);
        EXPECT_EQ(q[0].u, c.top_left_u) << c.cell_flip << " " << c.flags;
        EXPECT_EQ(q[0].v, c.top_left_v) << c.cell_flip << " " << c.flags;
        // Opposite corner is the other end of both ranges.
        EXPECT_EQ(q[2].u, c.top_left_u == 0.25f ? 0.5f : 0.25f);
        EXPECT_EQ(q[2].v, c.top_left_v == 0.5f ? 1.0f : 0.5f);
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_EQ(q[i].r, 1.0f);
            EXPECT_EQ(q[i].g, 0.0f);
            EXPECT_EQ(q[i].a, 1.0f);
        }
    }
}

} // namespace
