// Text: measuring with codes, tabs and fixed pitch, printing with inline colours and line controls, and
// nine-cell boxes.
#include "sprite_fixture.h"

#include "engine/render/sprite.h"

#include <string>

namespace
{
class Sprite_Text_Test : public Sprite_Test
{
  protected:
    void SetUp() override
    {
        Sprite_Test::SetUp();
        if (IsSkipped())
            return;
        // Sixteen by six glyphs of 16 x 16 pixels from the space up: each a white block with a clear border.
        Write_Texture("test_font", 256, 96,
                      [](int x, int y)
                      {
                          const int gx = x % 16, gy = y % 16;
                          return gx >= 2 && gx < 14 && gy >= 2 && gy < 14 ? 0xFFFFFFFFu : 0x00000000u;
                      });
        Write_Script("test_font",
                     "frames 64 textures 1 texture 0 test_font grid 16 6 16 16 bottom_line 16\n");
        Write_Script("fixed_font",
                     "frames 64 textures 1 texture 0 test_font grid 16 6 16 16 bottom_line 16 widthp 10\n");
        ASSERT_TRUE(font.Initialize("test_font"));
    }
    // Text of height 0.1 on a 1080-pixel target: 16 texture pixels fill 80% of 108 screen pixels.
    static constexpr float HEIGHT = 0.1f;
    static constexpr float SCALE = 0.1f * 0.8f * 1080.0f / 16.0f;
    Sprite font{window};
};

TEST_F(Sprite_Text_Test, WidthCountsGlyphsTabsAndFixedPitchButNotCodes)
{
    const float glyph = 16.0f * SCALE;
    const float tab = 0.03f * 1920.0f;
    struct Case
    {
        const char* text;
        bool fixed;
        float pixels;
    };
    const Case cases[] = {
        {"AB", false, 2 * glyph},
        {"|c255000000AB", false, 2 * glyph},
        {"|a128A|xB", false, 2 * glyph},
        {"A\r\n\x01"
         "B",
         false, 2 * glyph},
        {"|tA", false, tab + glyph},
        {"A|tB", false, 2 * tab + glyph},
        {"", false, 0.0f},
        {"|c12", false, 0.0f},
        {"AB", true, 2 * glyph},
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(font.Text_Width(c.text, HEIGHT, true, c.fixed), c.pixels, 0.01f) << c.text;
        EXPECT_NEAR(font.Text_Width(c.text, HEIGHT, false, c.fixed), c.pixels / 1920.0f, 1e-5f) << c.text;
    }
    Sprite fixed(window);
    ASSERT_TRUE(fixed.Initialize("fixed_font"));
    EXPECT_NEAR(fixed.Text_Width("AB", HEIGHT, true, true), 2 * 10.0f * SCALE, 0.01f);
    EXPECT_NEAR(fixed.Text_Width("AB", HEIGHT, true, false), 2 * glyph, 0.01f);
}

TEST_F(Sprite_Text_Test, PrintWithCodesDrawsRedLettersAndMovesThePen)
{
    Vector2 pen{0.1f, 0.1f};
    Colour colour = COLOUR_WHITE;
    font.Print(pen, HEIGHT, colour, SPR_CODES | SPR_LEFT | SPR_TOP, "|c255000000AB");
    EXPECT_EQ(font.Get_Frames_In_Use(), 2);
    EXPECT_EQ(colour.r, 1.0f);
    EXPECT_EQ(colour.g, 0.0f);
    EXPECT_EQ(colour.b, 0.0f);
    EXPECT_NEAR(pen.x, 0.1f + 2 * 16.0f * SCALE / 1920.0f, 1e-5f);
    EXPECT_FLOAT_EQ(pen.y, 0.1f);
    ASSERT_TRUE(font.Draw({0, 0}, {1, 1}, 0.0f, 0, SPR_ALPHA | SPR_CLEAR, COLOUR_WHITE, 0.0f, {0, 0}));
    Read_Back();
    int left, top, right, bottom;
    ASSERT_TRUE(Lit_Box(left, top, right, bottom));
    // Two glyph blocks from the pen on, their clear borders 2 texture pixels wide.
    EXPECT_NEAR(left, 192 + 2 * SCALE, 2);
    EXPECT_NEAR(top, 108 + 2 * SCALE, 2);
    EXPECT_NEAR(right, 192 + 30 * SCALE, 2);
    for (int y = top; y <= bottom; y += 7)
        for (int x = left; x <= right; x += 7)
        {
            const Rgba p = Pixel(x, y);
            EXPECT_TRUE(p.g < 8 && p.b < 8) << x << "," << y;
        }
    EXPECT_TRUE(Near(Pixel(left + 10, top + 10), 255, 0, 0));

    // Without codes the bar and the digits are letters of their own.
    pen = {0.1f, 0.1f};
    colour = COLOUR_WHITE;
    font.Print(pen, HEIGHT, colour, SPR_LEFT | SPR_TOP, "|c255000000AB");
    EXPECT_EQ(font.Get_Frames_In_Use(), 13);
    EXPECT_EQ(colour.g, 1.0f);
    font.Clear_Frames();
}

TEST_F(Sprite_Text_Test, LineControlsTabsAndEmptyText)
{
    const float glyph = 16.0f * SCALE / 1920.0f;
    Vector2 pen{0.5f, 0.2f};
    Colour colour = COLOUR_WHITE;
    font.Print(pen, HEIGHT, colour, SPR_CODES | SPR_LEFT, "");
    EXPECT_EQ(font.Get_Frames_In_Use(), 0);
    EXPECT_EQ(pen.x, 0.5f);

    // A line feed moves down one line of the given height; a carriage return goes back to the start.
    font.Print(pen, HEIGHT, colour, SPR_CODES | SPR_LEFT, "A\nB");
    EXPECT_NEAR(pen.x, 0.5f + 2 * glyph, 1e-5f);
    EXPECT_NEAR(pen.y, 0.3f, 1e-5f);
    pen = {0.5f, 0.2f};
    font.Print(pen, HEIGHT, colour, SPR_CODES | SPR_LEFT, "AA\r\nB|a064");
    EXPECT_NEAR(pen.x, 0.5f + glyph, 1e-5f);
    EXPECT_NEAR(pen.y, 0.3f, 1e-5f);
    EXPECT_NEAR(colour.a, 64 / 255.0f, 1e-6f);
    pen = {0.5f, 0.2f};
    font.Print(pen, HEIGHT, colour, SPR_CODES | SPR_LEFT, "A|tB");
    EXPECT_NEAR(pen.x, 0.5f + 0.06f + glyph, 1e-5f);
    EXPECT_EQ(font.Get_Frames_In_Use(), 2 + 3 + 2);

    // Centred and right-aligned text ends its pen at the far end of the text.
    font.Clear_Frames();
    pen = {0.5f, 0.2f};
    font.Print(pen, HEIGHT, colour, SPR_CENTRE, "AB");
    EXPECT_NEAR(pen.x, 0.5f + glyph, 1e-5f);
    pen = {0.5f, 0.2f};
    font.Print(pen, HEIGHT, colour, SPR_RIGHT, "AB");
    EXPECT_NEAR(pen.x, 0.5f, 1e-5f);
    font.Clear_Frames();
}

TEST_F(Sprite_Text_Test, PrintInBoxAlignsInsideTheBox)
{
    font.Print_In_Box({0.25f, 0.25f}, {0.5f, 0.5f}, HEIGHT, COLOUR_WHITE, SPR_RIGHT | SPR_BOTTOM, "A");
    ASSERT_TRUE(font.Draw({0, 0}, {1, 1}, 0.0f, 0, SPR_ALPHA | SPR_CLEAR, COLOUR_WHITE, 0.0f, {0, 0}));
    Read_Back();
    int left, top, right, bottom;
    ASSERT_TRUE(Lit_Box(left, top, right, bottom));
    // The glyph's right edge at the box's, its bottom line on the box's bottom (less the clear border).
    EXPECT_NEAR(right, 1440 - 2 * SCALE, 2);
    EXPECT_NEAR(bottom, 810 - 2 * SCALE, 2);
}

TEST_F(Sprite_Text_Test, BoxUsesNineCellsInReadingOrder)
{
    // Nine texels of nine colours; the second set is the same nine, darker.
    const uint32_t colours[9] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF00FFFF, 0xFFFF00FF,
                                 0xFFFFFF00, 0xFFFFFFFF, 0xFF0080FF, 0xFFFF8000};
    Write_Texture("box", 9, 2, [&](int x, int y) { return y == 0 ? colours[x] : (colours[x] & 0xFF7F7F7F); });
    std::string script = "frames 9 textures 1 texture 0 box cells 18\n";
    for (int i = 0; i < 18; ++i)
        script += "cellp " + std::to_string(i) + " " + std::to_string(i % 9) + " " + std::to_string(i / 9) +
                  " 1 1\n";
    Write_Script("box", script);
    Sprite box(window);
    ASSERT_TRUE(box.Initialize("box"));
    for (int set = 0; set < 2; ++set)
    {
        Clear(0, 0, 0);
        box.Draw_Box(set == 1, {0.25f, 0.25f}, {0.5f, 0.5f}, {0.05f, 0.1f}, COLOUR_WHITE);
        EXPECT_EQ(box.Get_Frames_In_Use(), 9);
        ASSERT_TRUE(box.Draw({0, 0}, {1, 1}, 0.0f, 0, SPR_CLEAR, COLOUR_WHITE, 0.0f, {0, 0}));
        Read_Back();
        // Columns at 480, 576, 1344 (to 1440); rows at 270, 378, 702 (to 810).
        const int xs[3] = {500, 900, 1400}, ys[3] = {300, 500, 780};
        for (int i = 0; i < 9; ++i)
        {
            const uint32_t c = set ? colours[i] & 0xFF7F7F7F : colours[i];
            EXPECT_TRUE(Near(Pixel(xs[i % 3], ys[i / 3]), c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF))
                << "set " << set << " cell " << i;
        }
        EXPECT_TRUE(Near(Pixel(470, 300), 0, 0, 0));
    }
}
} // namespace
