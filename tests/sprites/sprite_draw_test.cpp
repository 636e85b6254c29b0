// Drawn quads read back from the back buffer: size and place, orientation, colour and blending, samplers,
// batches drawn again, culling, and the frame pool.
#include "sprite_fixture.h"

#include "engine/render/sprite.h"

#include <cmath>

namespace
{
constexpr uint32_t RED = 0xFF0000FFu, GREEN = 0xFF00FF00u, BLUE = 0xFFFF0000u, WHITE = 0xFFFFFFFFu;
constexpr float QUARTER_TURN = 1.5707964f;

class Sprite_Draw_Test : public Sprite_Test
{
  protected:
    void SetUp() override
    {
        Sprite_Test::SetUp();
        if (IsSkipped())
            return;
        // Quadrants red, green / blue, white.
        Write_Texture("quad4", 64, 64,
                      [](int x, int y) { return y < 32 ? (x < 32 ? RED : GREEN) : (x < 32 ? BLUE : WHITE); });
        Write_Texture("sheet", 256, 128, [](int, int) { return WHITE; });
        Write_Script("quads", "frames 4 textures 1 texture 0 quad4 cells 3\n"
                              "cell 0 0 0 1 1\ncell 1 0 0 -1 1\ncell 2 0 0 0.5 0.5\n");
        Write_Script("wide", "frames 4 textures 1 texture 0 sheet cells 1 cell 0 0 0 1 1\n");
    }
    // Draws one quad of `sprite` and reads the picture back.
    void Draw_One(Sprite& sprite, int cell, Vector2 position, Vector2 size, float rotation,
                  uint32_t frame_flags, uint32_t draw_flags = 0, Colour vertex = COLOUR_WHITE,
                  Colour constant = COLOUR_WHITE)
    {
        sprite.Clear_Frames();
        sprite.Set_Frame(sprite.Get_Frame(), cell, position, size, rotation, vertex, frame_flags);
        ASSERT_TRUE(sprite.Draw({0, 0}, {1, 1}, 0.0f, 0, draw_flags, constant, 0.0f, {0, 0}));
        Read_Back();
    }
    // Colours at the centres of the four quadrants of a 200-pixel quad centred on the screen.
    void Expect_Quadrants(uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br, const char* what)
    {
        auto expect = [&](int x, int y, uint32_t c)
        {
            EXPECT_TRUE(Near(Pixel(x, y), c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF))
                << what << " at " << x << "," << y;
        };
        expect(910, 490, tl);
        expect(1010, 490, tr);
        expect(910, 590, bl);
        expect(1010, 590, br);
    }
};

TEST_F(Sprite_Draw_Test, NegativeHeightKeepsTheCellsProportions)
{
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("wide"));
    Draw_One(sprite, 0, {0.5f, 0.5f}, {0.5f, -1.0f}, 0.0f, SPR_CENTRE);
    int left, top, right, bottom;
    ASSERT_TRUE(Lit_Box(left, top, right, bottom));
    EXPECT_EQ(right - left + 1, 960);
    EXPECT_EQ(bottom - top + 1, 480);
    EXPECT_EQ(left, 480);
    EXPECT_EQ(top, 300);
}

TEST_F(Sprite_Draw_Test, EdgeFlagsPlaceTheQuadOnScreen)
{
    struct Case
    {
        uint32_t flags;
        int left, top;
    };
    const Case cases[] = {
        {SPR_LEFT | SPR_TOP, 480, 270}, {SPR_RIGHT | SPR_BOTTOM, 0, 0}, {SPR_LEFT, 480, 135}};
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("wide"));
    for (const Case& c : cases)
    {
        Clear(0, 0, 0);
        Draw_One(sprite, 0, {0.25f, 0.25f}, {0.25f, 0.25f}, 0.0f, c.flags);
        int left, top, right, bottom;
        ASSERT_TRUE(Lit_Box(left, top, right, bottom));
        EXPECT_EQ(left, c.left) << c.flags;
        EXPECT_EQ(top, c.top) << c.flags;
        EXPECT_EQ(right - left + 1, 480) << c.flags;
        EXPECT_EQ(bottom - top + 1, 270) << c.flags;
    }
}

TEST_F(Sprite_Draw_Test, RotationFlipsAndCellChoice)
{
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("quads"));
    const Vector2 centre{960, 540}, size{200, 200};
    Draw_One(sprite, 0, centre, size, 0.0f, SPR_PIXELS);
    Expect_Quadrants(RED, GREEN, BLUE, WHITE, "plain");
    Draw_One(sprite, 0, centre, size, 0.0f, SPR_PIXELS | SPR_FLIP_X);
    Expect_Quadrants(GREEN, RED, WHITE, BLUE, "flip x");
    Draw_One(sprite, 1, centre, size, 0.0f, SPR_PIXELS);
    Expect_Quadrants(GREEN, RED, WHITE, BLUE, "mirrored cell");
    Draw_One(sprite, 0, centre, size, 0.0f, SPR_PIXELS | SPR_FLIP_Y);
    Expect_Quadrants(BLUE, WHITE, RED, GREEN, "flip y");
    // A positive angle turns counter-clockwise on screen: the top-right quadrant comes to the top left.
    Draw_One(sprite, 0, centre, size, QUARTER_TURN, SPR_PIXELS);
    Expect_Quadrants(GREEN, WHITE, RED, BLUE, "quad turned");
    // Cells beyond the table draw the last cell, negative ones the first.
    Draw_One(sprite, 99, centre, size, 0.0f, SPR_PIXELS);
    Expect_Quadrants(RED, RED, RED, RED, "cell 99");
    Draw_One(sprite, -4, centre, size, 0.0f, SPR_PIXELS);
    Expect_Quadrants(RED, GREEN, BLUE, WHITE, "cell -4");

    // The batch's own rotation turns the same way, about the draw position.
    sprite.Clear_Frames();
    sprite.Set_Frame(sprite.Get_Frame(), 0, {0, 0}, size, 0.0f, COLOUR_WHITE, SPR_PIXELS);
    ASSERT_TRUE(sprite.Draw(centre, {1, 1}, QUARTER_TURN, 0, SPR_PIXELS, COLOUR_WHITE, 0.0f, {0, 0}));
    Read_Back();
    Expect_Quadrants(GREEN, WHITE, RED, BLUE, "batch turned");
}

TEST_F(Sprite_Draw_Test, ColourConstantVertexColourAndBlendStates)
{
    struct Case
    {
        const char* what;
        uint32_t flags;
        Colour vertex, constant;
        int r, g, b;
    };
    // On a mid-grey background (128).
    const Case cases[] = {
        {"opaque", 0, {1, 0.5f, 1, 1}, {0.5f, 1, 1, 1}, 128, 128, 255},
        {"alpha", SPR_ALPHA, {1, 0, 0, 0.5f}, COLOUR_WHITE, 191, 64, 64},
        {"alpha wins", SPR_ALPHA | SPR_ADD | SPR_SUBTRACT, {1, 0, 0, 1}, {1, 1, 1, 0.5f}, 191, 64, 64},
        {"additive", SPR_ADD, {0.25f, 0.25f, 0.25f, 1}, COLOUR_WHITE, 192, 192, 192},
        {"additive wins", SPR_ADD | SPR_SUBTRACT, {0.25f, 0.25f, 0.25f, 1}, COLOUR_WHITE, 192, 192, 192},
        {"subtractive", SPR_SUBTRACT, {1, 0.5f, 0.75f, 1}, COLOUR_WHITE, 127, 0, 63},
    };
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("wide"));
    for (const Case& c : cases)
    {
        Clear(128 / 255.0f, 128 / 255.0f, 128 / 255.0f);
        Draw_One(sprite, 0, {0.5f, 0.5f}, {0.5f, 0.5f}, 0.0f, SPR_CENTRE, c.flags, c.vertex, c.constant);
        EXPECT_TRUE(Near(Pixel(960, 540), c.r, c.g, c.b)) << c.what;
        EXPECT_TRUE(Near(Pixel(10, 10), 128, 128, 128)) << c.what;
    }
}

TEST_F(Sprite_Draw_Test, SamplerFollowsLinearAndClamp)
{
    // Two texels, black then white, stretched over 400 pixels; just inside the left edge, point sampling
    // gives black, linear wrapping blends in the white texel from the far side, linear clamping does not.
    Write_Texture("two_texels", 2, 1, [](int x, int) { return x == 0 ? 0xFF000000u : WHITE; });
    Write_Script("two_texels", "frames 1 textures 1 texture 0 two_texels\n");
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("two_texels"));
    struct Case
    {
        uint32_t flags;
        int low, high;
    };
    const Case cases[] = {
        {0, 0, 2}, {SPR_CLAMP, 0, 2}, {SPR_LINEAR, 100, 135}, {SPR_LINEAR | SPR_CLAMP, 0, 2}};
    for (const Case& c : cases)
    {
        Draw_One(sprite, 0, {760, 540}, {400, 100}, 0.0f, SPR_PIXELS | SPR_LEFT, c.flags);
        const int value = Pixel(768, 540).r;
        EXPECT_GE(value, c.low) << c.flags;
        EXPECT_LE(value, c.high) << c.flags;
    }
}

TEST_F(Sprite_Draw_Test, SmallerDrawsReadTheLevelOfTheirSizeAndPointSamplingKeepsThePictureItself)
{
    // Every fourth column white, drawn at a quarter of its size: each screen pixel stands for four columns,
    // one of them white. Linear sampling reads the mip level of that size (a quarter grey) where the top
    // level alone would give the black between two black columns; point sampling shows one of the picture's
    // own pixels, black or white.
    Write_Texture("columns", 64, 64, [](int x, int) { return x % 4 == 0 ? WHITE : 0xFF000000u; });
    Write_Script("columns", "frames 1 textures 1 texture 0 columns\n");
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("columns"));
    Draw_One(sprite, 0, {760, 540}, {16, 16}, 0.0f, SPR_PIXELS | SPR_LEFT, SPR_LINEAR | SPR_CLAMP);
    for (int x = 762; x < 774; x += 3)
        EXPECT_TRUE(Near(Pixel(x, 540), 64, 64, 64, 6)) << "linear at " << x;
    Draw_One(sprite, 0, {760, 540}, {16, 16}, 0.0f, SPR_PIXELS | SPR_LEFT, SPR_CLAMP);
    for (int x = 762; x < 774; x += 3)
    {
        const int value = Pixel(x, 540).r;
        EXPECT_TRUE(value <= 2 || value >= 253) << "point at " << x << ": " << value;
    }
}

TEST_F(Sprite_Draw_Test, BatchDrawsAgainWithOtherTransformsAndMirroredOnesAreCulled)
{
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("wide"));
    sprite.Clear_Frames();
    // Written once in pixels about (0, 0).
    sprite.Set_Frame(sprite.Get_Frame(), 0, {0, 0}, {100, 100}, 0.0f, COLOUR_WHITE, SPR_PIXELS);
    ASSERT_TRUE(sprite.Draw({480, 540}, {1, 1}, 0.0f, 0, SPR_PIXELS, COLOUR_WHITE, 0.0f, {0, 0}));
    ASSERT_TRUE(
        sprite.Draw({1440, 540}, {2, 2}, 0.0f, 0, SPR_PIXELS | SPR_CLEAR, COLOUR_WHITE, 0.0f, {0, 0}));
    EXPECT_EQ(sprite.Get_Frames_In_Use(), 0);
    EXPECT_FALSE(sprite.Draw({0, 0}, {1, 1}, 0.0f, 0, 0, COLOUR_WHITE, 0.0f, {0, 0}));
    Read_Back();
    EXPECT_TRUE(Near(Pixel(480, 540), 255, 255, 255));
    EXPECT_TRUE(Near(Pixel(480 + 60, 540), 0, 0, 0));
    EXPECT_TRUE(Near(Pixel(1440 + 90, 540 + 90), 255, 255, 255));
    EXPECT_TRUE(Near(Pixel(1440 + 110, 540), 0, 0, 0));

    struct Case
    {
        Vector2 scale;
        bool shown;
    };
    const Case cases[] = {{{-1, 1}, false}, {{1, -1}, false}, {{-1, -1}, true}};
    for (const Case& c : cases)
    {
        Clear(0, 0, 0);
        sprite.Clear_Frames();
        sprite.Set_Frame(sprite.Get_Frame(), 0, {0, 0}, {100, 100}, 0.0f, COLOUR_WHITE, SPR_PIXELS);
        // Drawn about the centre of the target, so that a quad that is shown stays on screen.
        ASSERT_TRUE(sprite.Draw({0.5f, 0.5f}, c.scale, 0.0f, 0, 0, COLOUR_WHITE, 0.0f, {0, 0}));
        Read_Back();
        int left, top, right, bottom;
        EXPECT_EQ(Lit_Box(left, top, right, bottom), c.shown) << c.scale.x << " " << c.scale.y;
    }
}

TEST_F(Sprite_Draw_Test, FullPoolRefusesFramesUntilCleared)
{
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("quads"));
    EXPECT_FALSE(sprite.Draw({0, 0}, {1, 1}, 0.0f, 0, 0, COLOUR_WHITE, 0.0f, {0, 0}));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(sprite.Get_Frame(), i);
    EXPECT_EQ(sprite.Get_Frame(), -1);
    EXPECT_EQ(sprite.Get_Frame(), -1);
    EXPECT_NE(Log().find("No free frames in Sprite \"quad4\"!!!\n"), std::string::npos);
    sprite.Set_Frame(-1, 0, {0.5f, 0.5f}, {1, 1}, 0.0f, COLOUR_WHITE, 0); // ignored
    sprite.Clear_Frames();
    EXPECT_EQ(sprite.Get_Frame(), 0);
    for (int i = 1; i < 4; ++i)
        sprite.Get_Frame();
    for (int i = 0; i < 4; ++i)
        sprite.Set_Frame(i, 0, {0.5f, 0.5f}, {0.1f, 0.1f}, 0.0f, COLOUR_WHITE, 0);
    ASSERT_TRUE(sprite.Draw({0, 0}, {1, 1}, 0.0f, 0, SPR_CLEAR, COLOUR_WHITE, 0.0f, {0, 0}));
    EXPECT_EQ(sprite.Get_Frame(), 0);
    // An empty texture slot draws nothing, but the batch still ends when asked to.
    EXPECT_FALSE(sprite.Draw({0, 0}, {1, 1}, 0.0f, 3, SPR_CLEAR, COLOUR_WHITE, 0.0f, {0, 0}));
    EXPECT_EQ(sprite.Get_Frames_In_Use(), 0);
}
} // namespace
