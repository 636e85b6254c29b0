// The game's pictures in the data folder the build made: every sprite the game loads comes up through
// Sprite::Initialize with no error box and the cells the game picks from, pictures that face a way face
// the way their cell says, and pictures that join (parallax layers, floor tiles) join without a seam.
#include "asset_files.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/sprite.h"
#include "platform/os_window.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <vector>

using asset_test::Load_Png;
using asset_test::Read_Script;
using asset_test::Script_Cells;
using test_support::Read_File;
using test_support::Scratch_Folder;
namespace fs = std::filesystem;

namespace
{
constexpr int WIDTH = 1920, HEIGHT = 1080;
const std::string TEXTURES = std::string(VORTA5_RUNTIME_DIR) + "/data/textures/";

// What the game needs of a sprite's cells: a count from `least` to `most`, even when `even`.
struct Cells_Needed
{
    const char* name;
    int least, most;
    bool even = false;
};

// Every sprite the game loads, in its load order, then the three it loads besides them.
const Cells_Needed k_sprites[] = {
    {"KVR Stand", 2, 2},
    {"KVR Walk", 2, 64, true},
    {"KVR Fly", 6, 6},
    {"KVR Jet", 3, 3},
    {"KVR Death", 1, 64},
    {"Moon_Buggy_Body", 4, 4},
    {"Moon_Buggy_Body_LightStrip", 2, 64, true},
    {"Moon_Buggy_Wheel", 1, 1},
    {"Floor Tiles", 8, 8},
    {"Laser", 8, 8},
    {"Background_Strip", 1, 1},
    {"Background_Nebula", 1, 1},
    {"Star_01", 1, 1},
    {"Star_02", 1, 1},
    {"Background", 1, 1},
    {"Background Far", 1, 1},
    {"Foreground", 1, 1},
    {"Foreground Near", 1, 1},
    {"Complete_Star", 1, 1},
    {"Completed_Panel", 1, 1},
    {"Meteor", 8, 16},
    {"Green_Block", 8, 16},
    {"Bounce", 8, 16},
    {"Cross", 8, 16},
    {"Spinner", 8, 16},
    {"Sparkle", 8, 16},
    {"Blob", 8, 16},
    {"Dog", 8, 16},
    {"Magnetic", 8, 16},
    {"Tubular", 8, 16},
    {"Shooter", 8, 16},
    {"Saturn", 8, 16},
    {"Zap", 2, 64},
    {"Defence", 2, 64},
    {"Launcher Base", 1, 64},
    {"Launcher Top", 2, 64},
    {"Launcher Top Empty", 2, 2},
    {"Missile", 2, 2},
    {"Missile Jet", 4, 4},
    {"Plazma Ball", 2, 64},
    {"Bomb", 2, 64},
    {"Teleporter", 2, 64},
    {"Teleport Lines", 1, 1},
    {"Gun", 4, 4},
    {"Bridge", 1, 64},
    {"Explosion 1", 6, 12},
    {"Explosion 2", 6, 12},
    {"Explosion 3", 6, 12},
    {"Explosion 4", 6, 12},
    {"Explosion", 6, 12},
    {"Glow", 1, 1},
    {"Bar Icons", 2, 2},
    {"Bar", 1, 1},
    {"Bar Divider", 1, 1},
    {"Truck", 1, 1},
    {"Alien Base", 1, 1},
    {"Arrows", 2, 2},
    {"Scores", 2, 2},
    {"Hiscore", 1, 1},
    {"Lives", 4, 4},
    {"Title", 1, 1},
    {"Menu Blue", 1, 1},
    {"Menu Green", 1, 1},
    {"Logo Zarn", 1, 1},
    {"Logo Pellow", 1, 1},
    {"Logo Brisk", 1, 1},
    {"Logo Music", 1, 1},
    {"Get Ready", 1, 1},
    {"Game Over", 1, 1},
    {"Missile Launch", 1, 1},
    {"Teleport Message", 1, 1},
    {"Players", 2, 2},
    {"splash", 1, 1},
    {"KVR Font", 95, 95},
    {"touch", 4, 4},
};

// A sprite's cells as pictures, read from its script and texture.
struct Art
{
    Script_Cells script;
    asset_test::Image texture;

    explicit Art(const std::string& name)
    {
        script = Read_Script(Read_File(TEXTURES + name + ".spr"));
        texture = Load_Png(TEXTURES + script.texture + ".png");
    }
    const unsigned char* At(int cell, int x, int y) const
    {
        const Script_Cells::Rect& r = script.cells.at(cell);
        return texture.At(static_cast<int>(r.x) + x, static_cast<int>(r.y) + y);
    }
    int W(int cell) const { return static_cast<int>(script.cells.at(cell).w); }
    int H(int cell) const { return static_cast<int>(script.cells.at(cell).h); }
    // Sum over the cell of weight(x, y) times the pixel's alpha and of the alpha, for centroids.
    float Centroid_X(int cell, const std::function<bool(const unsigned char*)>& keep = nullptr) const
    {
        double sum = 0, mass = 0;
        for (int y = 0; y < H(cell); ++y)
            for (int x = 0; x < W(cell); ++x)
            {
                const unsigned char* p = At(cell, x, y);
                if (p[3] < 128 || (keep && !keep(p)))
                    continue;
                sum += x, mass += 1;
            }
        return mass > 0 ? static_cast<float>(sum / mass) / W(cell) : -1.0f;
    }
    // How different cell b is from cell a seen in a mirror (or as it is): the mean alpha difference.
    double Difference(int a, int b, bool mirrored) const
    {
        double total = 0;
        for (int y = 0; y < H(a); ++y)
            for (int x = 0; x < W(a); ++x)
                total += std::abs(At(a, x, y)[3] - At(b, mirrored ? W(a) - 1 - x : x, y)[3]);
        return total / (W(a) * H(a));
    }
    // Rows with ink in the first or last few ink-bearing columns: a tip is thin, a tail is tall.
    int End_Height(int cell, bool right) const
    {
        for (int step = 0; step < W(cell); ++step)
        {
            int x = right ? W(cell) - 1 - step : step, rows = 0;
            for (int y = 0; y < H(cell); ++y)
                rows += At(cell, x, y)[3] >= 128;
            if (rows > 0)
            {
                int total = 0;
                for (int k = 0; k < 6 && x >= 0 && x < W(cell); ++k, x += right ? -1 : 1)
                    for (int y = 0; y < H(cell); ++y)
                        total += At(cell, x, y)[3] >= 128;
                return total;
            }
        }
        return 0;
    }
};

// Mean difference of the pixels in two columns (colour weighted by alpha, and alpha).
double Column_Difference(const Art& a, int cell_a, int xa, const Art& b, int cell_b, int xb)
{
    double total = 0;
    int h = std::min(a.H(cell_a), b.H(cell_b));
    for (int y = 0; y < h; ++y)
    {
        const unsigned char* p = a.At(cell_a, xa, y);
        const unsigned char* q = b.At(cell_b, xb, y);
        for (int k = 0; k < 3; ++k)
            total += std::abs(p[k] * p[3] / 255.0 - q[k] * q[3] / 255.0);
        total += std::abs(p[3] - q[3]);
    }
    return total / h;
}
} // namespace

// Every sprite the game loads, through the engine on a window of the reference size.
TEST(GameArt, EverySpriteLoadsWithTheCellsTheGamePicks)
{
    Scratch_Folder folder;
    fs::copy(fs::path(VORTA5_RUNTIME_DIR) / "data", folder.Path() / "data", fs::copy_options::recursive);
    test_support::Write_File(folder.File("config.txt"), "MSAA false\n");
    fs::path previous = fs::current_path();
    fs::current_path(folder.Path());
    g_vorta_log.Set_Flags(LOG_FILE);
    size_t log_start = 0;
    {
        Vorta_Engine engine;
        ASSERT_TRUE(engine.Init("", "config.txt"));
        if (!engine.Get_Window_Class().Registered())
            GTEST_SKIP() << "no display";
        engine.Create_Device(0);
        Vorta_Window* window = engine.Create_Window(0, 0, WIDTH, HEIGHT, false, 60, false, false, "art test");
        if (!window || !window->Get_Swap_Chain())
            GTEST_SKIP() << "no window with a device: " << platform::Last_Window_Error();
        window->Get_Viewport(0)->Set_Position(0.0f, 0.0f);
        window->Get_Viewport(0)->Set_Size(1.0f, 1.0f);
        log_start = Read_File(folder.File("sys_log.txt")).size();
        for (const Cells_Needed& need : k_sprites)
        {
            Sprite sprite(window);
            ASSERT_TRUE(sprite.Initialize(need.name)) << need.name;
            EXPECT_NE(sprite.Get_Texture(0), nullptr) << need.name;
            EXPECT_GT(sprite.Get_Frame_Capacity(), 0) << need.name;
            int cells = sprite.Get_Cell_Count();
            EXPECT_GE(cells, need.least) << need.name;
            EXPECT_LE(cells, need.most) << need.name;
            if (need.even)
            {
                EXPECT_EQ(cells % 2, 0) << need.name;
            }
            if (std::string(need.name) == "Laser")
            {
                // Cell 0's width is the beam's advance per frame: about 0.04 of the screen.
                EXPECT_NEAR(sprite.Get_Cell_Size(0, 0).x, 0.04f, 0.004f);
            }
            if (std::string(need.name) == "splash")
            {
                EXPECT_NEAR(sprite.Get_Cell(0)->pixel_aspect, 16.0f / 9.0f, 0.01f);
            }
            if (std::string(need.name) == "Moon_Buggy_Wheel")
            {
                EXPECT_FLOAT_EQ(sprite.Get_Cell(0)->pixel_aspect, 1.0f) << "the wheel turns";
            }
            if (std::string(need.name) == "KVR Font")
            {
                float digits = sprite.Text_Width("0000000000", 0.02f, true, true);
                EXPECT_FLOAT_EQ(sprite.Text_Width("1111111111", 0.02f, true, true), digits);
                EXPECT_GT(digits, 0.0f);
            }
        }
    }
    std::string log = Read_File(folder.File("sys_log.txt")).substr(log_start);
    fs::current_path(previous);
    for (const char* failure : {"Failed", "ERROR", "Unrecognised script token", "out of range", "Faital"})
        EXPECT_EQ(log.find(failure), std::string::npos) << log;
}

// Cells that the game picks by direction show that direction, and each pair is one picture mirrored.
TEST(GameArt, CellsFaceTheWayTheGamePicksThem)
{
    struct Pair
    {
        const char* name;
        int right, left; // the cell facing (or pointing, or flying) right and its left twin
    };
    const Pair pairs[] = {{"KVR Stand", 0, 1},
                          {"KVR Walk", 0, 8},
                          {"KVR Walk", 5, 13},
                          {"KVR Fly", 0, 3},
                          {"KVR Fly", 2, 5},
                          {"Moon_Buggy_Body", 0, 1},
                          {"Moon_Buggy_Body", 2, 3},
                          {"Missile", 1, 0},
                          {"Arrows", 1, 0},
                          {"Gun", 1, 0},
                          {"Gun", 3, 2},
                          {"Launcher Top Empty", 0, 1},
                          {"Missile Jet", 2, 0}};
    for (const Pair& p : pairs)
    {
        Art art(p.name);
        ASSERT_GT(art.texture.width, 0) << p.name;
        EXPECT_LT(art.Difference(p.right, p.left, true) * 3, art.Difference(p.right, p.left, false) + 1.0)
            << p.name << ": cell " << p.left << " is cell " << p.right << " mirrored";
    }
    // The pilot's visor (amber) is on the side he faces.
    auto amber = [](const unsigned char* q) { return q[0] > 200 && q[1] > 110 && q[1] < 200 && q[2] < 110; };
    for (auto [name, half] : {std::pair{"KVR Stand", 1}, std::pair{"KVR Walk", 8}, std::pair{"KVR Fly", 3}})
    {
        Art art(name);
        for (int c = 0; c < half; ++c)
        {
            EXPECT_GT(art.Centroid_X(c, amber), art.Centroid_X(c) - 0.02f)
                << name << " cell " << c << " faces right";
            EXPECT_LT(art.Centroid_X(c + half, amber), art.Centroid_X(c + half) + 0.02f)
                << name << " cell " << c + half << " faces left";
        }
    }
    // Tips lead: the arrow's head and the missile's nose are thin where the tail is tall; the jet's flame
    // narrows away from the missile it follows (cell 0 behind a missile flying left: flame to the right).
    for (auto [name, cell] : {std::pair{"Arrows", 1}, std::pair{"Missile", 1}, std::pair{"Missile Jet", 0}})
    {
        Art art(name);
        EXPECT_LT(art.End_Height(cell, true), art.End_Height(cell, false)) << name << " cell " << cell;
    }
    // The buggy's headlight is at its front; the gun's barrel reaches out the way it points.
    Art body("Moon_Buggy_Body");
    auto light = [](const unsigned char* q) { return q[0] > 240 && q[1] > 215 && q[2] > 120 && q[2] < 200; };
    EXPECT_GT(body.Centroid_X(0, light), 0.8f);
    EXPECT_LT(body.Centroid_X(1, light), 0.2f);
    Art gun("Gun");
    EXPECT_GT(gun.Centroid_X(3), 0.6f);
    EXPECT_LT(gun.Centroid_X(2), 0.4f);
    // The light strip's chaser runs to the front: left in the first half of the cells, right in the second.
    Art strip("Moon_Buggy_Body_LightStrip");
    int half = strip.script.cell_count / 2;
    auto bright = [](const unsigned char* q) { return q[0] > 240 && q[1] > 215 && q[2] > 120; };
    EXPECT_GT(strip.Centroid_X(0, bright), strip.Centroid_X(half - 1, bright));
    EXPECT_LT(strip.Centroid_X(half, bright), strip.Centroid_X(2 * half - 1, bright));
}

// The parallax layers repeat across without a seam, floor tiles join their neighbours, and the gauge's
// bar is plain white for tinting.
TEST(GameArt, LayersAndTilesJoinWithoutSeams)
{
    for (const char* name : {"Background Far", "Background", "Foreground", "Foreground Near"})
    {
        Art art(name);
        ASSERT_GT(art.texture.width, 0) << name;
        int w = art.W(0);
        // Across the wrap the last column meets the first as closely as most neighbouring columns inside
        // do (nine in ten of them).
        std::vector<double> inside;
        for (int x = 1; x < w; ++x)
            inside.push_back(Column_Difference(art, 0, x - 1, art, 0, x));
        std::sort(inside.begin(), inside.end());
        double usual = inside[inside.size() * 9 / 10];
        EXPECT_LE(Column_Difference(art, 0, w - 1, art, 0, 0), 2 * usual + 2) << name;
    }
    // Tiles joined as the floor lays them: plain and rock beside each other and beside the outer edge of
    // a crater half, the inner edges of crater halves beside each other.
    Art tiles("Floor Tiles");
    ASSERT_EQ(tiles.script.cell_count, 8);
    auto joins = [&](int left, int right)
    {
        double seam = Column_Difference(tiles, left, tiles.W(left) - 1, tiles, right, 0);
        double inside = Column_Difference(tiles, left, tiles.W(left) - 2, tiles, left, tiles.W(left) - 1);
        return seam <= 2 * inside + 6;
    };
    for (int a : {0, 1, 2, 3, 5})
        for (int b : {0, 1, 2, 3, 4})
            EXPECT_TRUE(joins(a, b)) << "tile " << a << " then " << b;
    for (int a : {4, 6, 7})
        for (int b : {5, 6, 7})
            EXPECT_TRUE(joins(a, b)) << "tile " << a << " then " << b;
    Art bar("Bar");
    for (int y = 0; y < bar.H(0); ++y)
        for (int x = 0; x < bar.W(0); ++x)
            for (int k = 0; k < 4; ++k)
                ASSERT_EQ(bar.At(0, x, y)[k], 255) << "the bar is plain white";
    // The window icon at every size the desktop asks for.
    for (int size : {256, 128, 48, 32})
    {
        asset_test::Image icon = Load_Png(std::string(VORTA5_RUNTIME_DIR) + "/data/icons/kestrova-" +
                                          std::to_string(size) + ".png");
        EXPECT_EQ(icon.width, size);
        EXPECT_EQ(icon.height, size);
    }
}
