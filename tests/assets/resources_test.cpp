// The engine's own resources in the data folder the build made: the console font and the framed and
// shadow boxes of the gadgets, checked where a fault would show on screen.
#include "asset_files.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using asset_test::Image;
using asset_test::Load_Png;
using asset_test::Read_Script;
using asset_test::Script_Cells;
using test_support::Read_File;
namespace fs = std::filesystem;

namespace
{
const std::string TEXTURES = std::string(VORTA5_RUNTIME_DIR) + "/data/textures/";

bool Has_Ink(const Image& image, const Script_Cells::Rect& r)
{
    for (int y = static_cast<int>(r.y); y < r.y + r.h; ++y)
        for (int x = static_cast<int>(r.x); x < r.x + r.w; ++x)
            if (image.At(x, y)[3] > 0)
                return true;
    return false;
}

// Largest difference of any channel between two pixels.
int Difference(const unsigned char* a, const unsigned char* b)
{
    int most = 0;
    for (int k = 0; k < 4; ++k)
        most = std::max(most, std::abs(a[k] - b[k]));
    return most;
}
} // namespace

TEST(EngineResources, EverySpriteScriptNamesATextureItsCellsFitIn)
{
    int scripts = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(TEXTURES))
    {
        if (entry.path().extension() != ".spr")
            continue;
        ++scripts;
        Script_Cells script = Read_Script(Read_File(entry.path().string()));
        int width = 0, height = 0;
        ASSERT_TRUE(asset_test::Texture_Size(TEXTURES + script.texture, width, height))
            << entry.path() << " names " << script.texture;
        EXPECT_EQ(script.cell_count, static_cast<int>(script.cells.size())) << entry.path();
        for (const auto& [index, r] : script.cells)
        {
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.w > 0 && r.h > 0 && r.x + r.w <= width &&
                        r.y + r.h <= height)
                << entry.path() << " cell " << index;
        }
    }
    EXPECT_GE(scripts, 3);
}

TEST(EngineResources, ConsoleFontHasEveryPrintableCharacterAndSensibleLines)
{
    Script_Cells font = Read_Script(Read_File(TEXTURES + "resource/arial.spr"));
    Image sheet = Load_Png(TEXTURES + "resource/arial.png");
    ASSERT_GT(sheet.width, 0);
    ASSERT_EQ(font.cell_count, 95); // the space to the tilde
    EXPECT_GE(font.values["frames"], 30 * 160) << "room for a full console display";

    float height = font.cells[0].h;
    for (int code = 33; code <= 126; ++code)
    {
        const Script_Cells::Rect& cell = font.cells[code - 32];
        EXPECT_TRUE(Has_Ink(sheet, cell)) << "no glyph for '" << static_cast<char>(code) << "'";
        EXPECT_EQ(cell.h, height);
    }
    EXPECT_FALSE(Has_Ink(sheet, font.cells[0])) << "the space shows ink";
    EXPECT_GT(font.cells[0].w, 2) << "the space must advance the pen";
    EXPECT_GT(font.cells['W' - 32].w, font.cells['i' - 32].w) << "the font is proportional";

    // Nothing drawn between the cells, where filtering would pick it up from a neighbour.
    for (int y = 0; y < sheet.height; ++y)
        for (int x = 0; x < sheet.width; ++x)
        {
            if (sheet.At(x, y)[3] == 0)
                continue;
            bool inside = false;
            for (const auto& [index, c] : font.cells)
                inside = inside || (x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h);
            ASSERT_TRUE(inside) << "ink outside every cell at " << x << "," << y;
        }

    // Lines are in cell pixels: the ink band from the top line to the bottom line holds the base line,
    // and a capital sits on the base line.
    float top = font.values["top_line"], centre = font.values["centre_line"], base = font.values["base_line"],
          bottom = font.values["bottom_line"];
    EXPECT_LT(top, centre);
    EXPECT_LT(centre, base);
    EXPECT_LT(base, bottom);
    EXPECT_LE(bottom, height);
    EXPECT_GT(top, 1.0f) << "pixel lines of 1 or less would read as fractions";
    const Script_Cells::Rect& capital = font.cells['H' - 32];
    auto row_has_ink = [&](float row) { return Has_Ink(sheet, {capital.x, capital.y + row, capital.w, 1}); };
    EXPECT_TRUE(row_has_ink(base - 1));
    EXPECT_FALSE(row_has_ink(base + 1));
    EXPECT_EQ(font.values["widthp"], font.cells['0' - 32].w) << "fixed pitch is that of the digits";
}

TEST(EngineResources, BoxCellsTileTheirBoxAndStretchWithoutSeams)
{
    struct Box_Sprite
    {
        const char* name;
        int sets;
        bool flat; // the same colour down the middle (else a gradient runs down the box)
    };
    for (const Box_Sprite& box :
         {Box_Sprite{"resource/bas_relief", 2, false}, Box_Sprite{"resource/shadow", 1, true}})
    {
        Script_Cells script = Read_Script(Read_File(TEXTURES + box.name + ".spr"));
        Image image = Load_Png(TEXTURES + script.texture + ".png");
        ASSERT_GT(image.width, 0) << box.name;
        ASSERT_EQ(script.cell_count, 9 * box.sets) << box.name;
        for (int set = 0; set < box.sets; ++set)
        {
            auto cell = [&](int i) { return script.cells[set * 9 + i]; };
            // Rows share their tops and heights, columns their lefts and widths, with no gaps between.
            for (int row = 0; row < 3; ++row)
                for (int column = 0; column < 3; ++column)
                {
                    auto r = cell(row * 3 + column);
                    EXPECT_EQ(r.y, cell(row * 3).y) << box.name;
                    EXPECT_EQ(r.h, cell(row * 3).h) << box.name;
                    EXPECT_EQ(r.x, cell(column).x) << box.name;
                    EXPECT_EQ(r.w, cell(column).w) << box.name;
                    if (column > 0)
                    {
                        EXPECT_EQ(r.x, cell(row * 3 + column - 1).x + cell(row * 3 + column - 1).w)
                            << box.name;
                    }
                    if (row > 0)
                    {
                        EXPECT_EQ(r.y, cell((row - 1) * 3 + column).y + cell((row - 1) * 3 + column).h)
                            << box.name;
                    }
                }
            // Stretched cells are even along the direction they stretch in (the centre both ways, top and
            // bottom edges across, left and right edges down), so stretching shows no streaks.
            auto even = [&](const Script_Cells::Rect& r, bool across, bool down)
            {
                int x0 = static_cast<int>(r.x), y0 = static_cast<int>(r.y);
                for (int y = y0; y < r.y + r.h; ++y)
                    for (int x = x0; x < r.x + r.w; ++x)
                        if ((across && Difference(image.At(x, y), image.At(x0, y)) > 2) ||
                            (down && Difference(image.At(x, y), image.At(x, y0)) > 2))
                            return false;
                return true;
            };
            EXPECT_TRUE(even(cell(4), true, box.flat)) << box.name << " centre";
            EXPECT_TRUE(even(cell(1), true, false)) << box.name << " top edge";
            EXPECT_TRUE(even(cell(7), true, false)) << box.name << " bottom edge";
            EXPECT_TRUE(even(cell(3), false, box.flat)) << box.name << " left edge";
            EXPECT_TRUE(even(cell(5), false, box.flat)) << box.name << " right edge";
            // Where the edges meet the centre they match it, so the frame shows no seam at any size.
            auto left = cell(3), centre = cell(4), right = cell(5);
            for (int y = static_cast<int>(centre.y); y < centre.y + centre.h; ++y)
            {
                EXPECT_LE(Difference(image.At(static_cast<int>(left.x + left.w) - 1, y),
                                     image.At(static_cast<int>(centre.x), y)),
                          2)
                    << box.name << " left seam, row " << y;
                EXPECT_LE(Difference(image.At(static_cast<int>(right.x), y),
                                     image.At(static_cast<int>(centre.x + centre.w) - 1, y)),
                          2)
                    << box.name << " right seam, row " << y;
            }
            EXPECT_GT(image.At(static_cast<int>(centre.x + centre.w / 2),
                               static_cast<int>(centre.y + centre.h / 2))[3],
                      100)
                << box.name << " centre is filled";
            EXPECT_EQ(image.At(static_cast<int>(cell(0).x), static_cast<int>(cell(0).y))[3], 0)
                << box.name << " corner is rounded or soft";
        }
    }

    // The raised box is lit from above and the pressed one from below.
    Script_Cells relief = Read_Script(Read_File(TEXTURES + "resource/bas_relief.spr"));
    Image image = Load_Png(TEXTURES + "resource/bas_relief.png");
    auto brightness = [&](int cell, float fy)
    {
        auto r = relief.cells[cell];
        const unsigned char* p = image.At(static_cast<int>(r.x + r.w / 2), static_cast<int>(r.y + r.h * fy));
        return p[0] + p[1] + p[2];
    };
    EXPECT_GT(brightness(1, 0.7f), brightness(7, 0.3f)) << "raised: top edge brighter than bottom";
    EXPECT_LT(brightness(10, 0.7f), brightness(16, 0.3f)) << "pressed: top edge darker than bottom";
}
