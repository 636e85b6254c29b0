// Sprite scripts: tables, pixel forms against the reference size, line values, grids, comments, and the
// lines that are reported and skipped.
#include "sprite_fixture.h"

#include "engine/render/sprite.h"

namespace
{
class Sprite_Script_Test : public Sprite_Test
{
  protected:
    void SetUp() override
    {
        Sprite_Test::SetUp();
        if (IsSkipped())
            return;
        Write_Texture("sheet", 256, 128, [](int, int) { return 0xFFFFFFFFu; });
    }
};

TEST_F(Sprite_Script_Test, OneCellScriptCoversTheTextureAndFillsTheLines)
{
    Write_Script("one_cell", "frames 1\ntextures 1\ntexture 0 sheet\ncells 1\ncell 0 0 0 1 1\n");
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("one_cell"));
    EXPECT_STREQ(sprite.Get_Name(), "one_cell");
    EXPECT_EQ(sprite.Get_Frame_Capacity(), 1);
    ASSERT_EQ(sprite.Get_Cell_Count(), 1);
    const Sprite_Cell* cell = sprite.Get_Cell(0);
    EXPECT_EQ(cell->width, 1.0f);
    EXPECT_EQ(cell->height, 1.0f);
    EXPECT_EQ(cell->pixel_width, 256.0f);
    EXPECT_EQ(cell->pixel_height, 128.0f);
    EXPECT_EQ(cell->pixel_aspect, 2.0f);
    EXPECT_EQ(sprite.Get_Bottom_Line(), 128.0f);
    EXPECT_EQ(sprite.Get_Base_Line(), 128.0f);
    EXPECT_EQ(sprite.Get_Centre_Line(), 64.0f);
    EXPECT_EQ(sprite.Get_Widest_Cell(), 256.0f);
    EXPECT_EQ(sprite.Get_Fixed_Width(), -1.0f);
    // Natural size on the 1920 x 1080 target.
    const Vector2 size = sprite.Get_Cell_Size(0, 0);
    EXPECT_FLOAT_EQ(size.x, 256.0f / 1920.0f);
    EXPECT_FLOAT_EQ(size.y, 128.0f / 1080.0f);
    EXPECT_EQ(sprite.Get_Cell_Size(1, 0).x, 0.0f);
    EXPECT_EQ(sprite.Get_Cell_Size(0, 1).y, 0.0f);
}

TEST_F(Sprite_Script_Test, PixelFormsLinesAndOffsetsUseTheReferenceSize)
{
    Write_Script("pixel_forms", "// cells in pixels on a 256 x 128 sheet\n"
                                "TEXTURES 1 Texture 0 sheet cells 4\n"
                                "cellp 0 32 0 32 32\n"
                                "cellp 1 0 0 -64 32   // mirrored\n"
                                "offsetp 16 32\n"
                                "cell 2 0 0 0.5 0.5\n"
                                "offset 0.25 0\n"
                                "cellp 3 0 0 8 8\n"
                                "base_line 1 top_line 1.5 bottom_line 0.5\n"
                                "widthp 12 cbi_size 2\n");
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("pixel_forms"));
    const Sprite_Cell* c0 = sprite.Get_Cell(0);
    EXPECT_FLOAT_EQ(c0->u, 0.125f);
    EXPECT_FLOAT_EQ(c0->v, 0.0f);
    EXPECT_FLOAT_EQ(c0->width, 0.125f);
    EXPECT_FLOAT_EQ(c0->height, 0.25f);
    EXPECT_FLOAT_EQ(c0->pixel_width, 32.0f);
    EXPECT_FLOAT_EQ(c0->pixel_height, 32.0f);
    EXPECT_EQ(c0->flip_x, 0);

    const Sprite_Cell* c1 = sprite.Get_Cell(1);
    EXPECT_FLOAT_EQ(c1->width, 0.25f);
    EXPECT_EQ(c1->flip_x, 1);
    EXPECT_EQ(c1->flip_y, 0);
    EXPECT_FLOAT_EQ(c1->pixel_aspect, 2.0f);

    // Offsets move later cells: 16 x 32 pixels, then a quarter of the width.
    EXPECT_FLOAT_EQ(sprite.Get_Cell(2)->u, 0.0625f);
    EXPECT_FLOAT_EQ(sprite.Get_Cell(2)->v, 0.25f);
    EXPECT_FLOAT_EQ(sprite.Get_Cell(3)->u, 0.25f);
    EXPECT_FLOAT_EQ(sprite.Get_Cell(3)->v, 0.0f);

    // 1 is the whole reference height, 1.5 is pixels, 0.5 half the height.
    EXPECT_EQ(sprite.Get_Base_Line(), 128.0f);
    EXPECT_EQ(sprite.Get_Top_Line(), 1.5f);
    EXPECT_EQ(sprite.Get_Bottom_Line(), 64.0f);
    EXPECT_EQ(sprite.Get_Centre_Line(), (1.5f + 64.0f) / 2);
    EXPECT_EQ(sprite.Get_Fixed_Width(), 12.0f);
    ASSERT_EQ(sprite.Get_Matrix_Count(), 2);
    EXPECT_EQ(sprite.Get_Matrix(1)->m[3][3], 1.0f);
    EXPECT_EQ(sprite.Get_Matrix(1)->m[0][1], 0.0f);
    // No "frames" line: no frames to take.
    EXPECT_EQ(sprite.Get_Frame(), -1);
}

TEST_F(Sprite_Script_Test, GridWithoutCellsLineMakesItsOwnTable)
{
    Write_Texture("font_sheet", 256, 96, [](int, int) { return 0xFFFFFFFFu; });
    Write_Script("grid", "textures 1 texture 0 font_sheet\ngrid 16 6 16 16\n");
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("grid"));
    ASSERT_EQ(sprite.Get_Cell_Count(), 96);
    const Sprite_Cell* last = sprite.Get_Cell(95);
    EXPECT_FLOAT_EQ(last->u, 15.0f / 16.0f);
    EXPECT_FLOAT_EQ(last->v, 5.0f / 6.0f);
    EXPECT_FLOAT_EQ(last->pixel_width, 16.0f);
    EXPECT_FLOAT_EQ(sprite.Get_Cell(17)->u, 1.0f / 16.0f);
    EXPECT_FLOAT_EQ(sprite.Get_Cell(17)->v, 1.0f / 6.0f);
    // A grid over an existing, smaller table fills what fits.
    Write_Script("grid_small", "textures 1 texture 0 font_sheet\ncells 3\ngrid 16 6 16 16\n");
    Sprite small(window);
    ASSERT_TRUE(small.Initialize("grid_small"));
    EXPECT_EQ(small.Get_Cell_Count(), 3);
    EXPECT_FLOAT_EQ(small.Get_Cell(2)->u, 2.0f / 16.0f);
}

TEST_F(Sprite_Script_Test, CommentsAndBadLinesAreSkipped)
{
    Write_Script("comments", "textures 1 texture 0 sheet cells 2\n"
                             "/* outer /* inner */ cell 0 0 0 1 1 still a comment */\n"
                             "*/ cell 1 0 0 0.5 0.5\n"
                             "// cell 0 0 0 0.25 0.25\n"
                             "cell 5 0 0 1 1\n"
                             "sparkle\n"
                             "cell 0 0.5 0.5 0.5 0.5\n");
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("comments"));
    // The nested comment hid the first cell line; the stray closing marker is ignored.
    EXPECT_FLOAT_EQ(sprite.Get_Cell(1)->width, 0.5f);
    EXPECT_FLOAT_EQ(sprite.Get_Cell(0)->u, 0.5f);
    EXPECT_FLOAT_EQ(sprite.Get_Cell(0)->width, 0.5f);
    const std::string log = Log();
    EXPECT_NE(log.find("Sprite \"comments\" cell reference out of range!!!"), std::string::npos);
    EXPECT_NE(
        log.find("Sprite::Initialize - Unrecognised script token \"sparkle\" (data/textures/comments.spr)"),
        std::string::npos);
    EXPECT_EQ(log.find("\"still\""), std::string::npos);
    EXPECT_EQ(log.find("\"inner\""), std::string::npos);
}

TEST_F(Sprite_Script_Test, MissingScriptOrTextureAndHostileCounts)
{
    Sprite missing(window);
    EXPECT_FALSE(missing.Initialize("no_such_sprite"));

    // A texture that does not load leaves its slot empty and the reference size unchanged, so a pixel cell
    // measured against no reference is empty rather than infinite; absurd counts are refused.
    Write_Script("hostile", "textures 1 texture 0 not_there\ncells 1 cellp 0 8 8 8 8\n"
                            "frames -3 frames 2000000000 cells -1 grid 100000 100000 1 1\n");
    Sprite sprite(window);
    ASSERT_TRUE(sprite.Initialize("hostile"));
    EXPECT_EQ(sprite.Get_Texture(0), nullptr);
    EXPECT_EQ(sprite.Get_Cell_Count(), 1);
    EXPECT_EQ(sprite.Get_Cell(0)->width, 0.0f);
    EXPECT_EQ(sprite.Get_Frame_Capacity(), 0);
    EXPECT_EQ(sprite.Get_Frame(), -1);
    EXPECT_NE(Log().find("Failed to load texture \"not_there\""), std::string::npos);
}
} // namespace
