// What the builder's drawing library and synthesiser make from the small sources beside this test.
#include "asset_files.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using asset_test::Image;
using asset_test::Load_Png;
using asset_test::Load_Wave;
using asset_test::Read_Script;
using asset_test::Run_Builder;
using test_support::Read_File;
using test_support::Scratch_Folder;

namespace
{
class Fixtures : public testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        s_data = new Scratch_Folder;
        ASSERT_EQ(Run_Builder(VORTA5_TEST_SOURCES, s_data->Path()).exit_code, 0);
    }
    static void TearDownTestSuite()
    {
        delete s_data;
        s_data = nullptr;
    }
    static std::string File(const char* name) { return s_data->File(name); }
    static Scratch_Folder* s_data;
};
Scratch_Folder* Fixtures::s_data = nullptr;
} // namespace

TEST_F(Fixtures, PicturesAreAntialiasedAndBleedTheirColourIntoTransparentPixels)
{
    Image badge = Load_Png(File("textures/badge.png"));
    ASSERT_EQ(badge.width, 64);
    ASSERT_EQ(badge.height, 64);
    EXPECT_EQ(badge.At(0, 0)[3], 0) << "outside every shape";
    EXPECT_EQ(badge.At(32, 32)[3], 255) << "inside the filled disc";

    // Along a row through the disc's left edge the coverage rises through partial values.
    int partial = 0;
    for (int x = 0; x < 32; ++x)
        partial += badge.At(x, 32)[3] > 0 && badge.At(x, 32)[3] < 255;
    EXPECT_GE(partial, 2) << "the edge is antialiased";

    // Transparent pixels carry the colour of the painting beside them rather than black, so that
    // filtered drawing does not darken the edges.
    Image dot = Load_Png(File("textures/dot.png"));
    ASSERT_EQ(dot.width, 16);
    int clear = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (dot.At(x, y)[3] == 0)
            {
                ++clear;
                EXPECT_EQ(dot.At(x, y)[0] + dot.At(x, y)[1] + dot.At(x, y)[2], 3 * 255) << x << "," << y;
            }
    EXPECT_GT(clear, 100);

    auto script = Read_Script(Read_File(File("textures/badge.spr")));
    EXPECT_EQ(script.texture, "badge");
    EXPECT_EQ(script.values["frames"], 4);
    ASSERT_EQ(script.cell_count, 2);
    EXPECT_EQ(script.cells[1].w, 32);
}

TEST_F(Fixtures, DdsTexturesHoldThePicture)
{
    // Uncompressed: a 128-byte header, then the PNG's pixels as B, G, R, A.
    Image png = Load_Png(File("textures/dot.png"));
    std::string dds = Read_File(File("textures/dot32.dds"));
    ASSERT_EQ(dds.size(), 128u + 16 * 16 * 4);
    EXPECT_EQ(dds.compare(0, 4, "DDS "), 0);
    for (size_t i = 0; i < png.rgba.size(); i += 4)
    {
        const unsigned char* p = &png.rgba[i];
        const auto* d = reinterpret_cast<const unsigned char*>(dds.data() + 128 + i);
        ASSERT_TRUE(d[0] == p[2] && d[1] == p[1] && d[2] == p[0] && d[3] == p[3]) << "pixel " << i / 4;
    }

    // DXT5 of an 18 x 10 picture: 5 x 3 blocks of 16 bytes; decoded by ImageMagick it is the same picture
    // within the error of block compression.
    std::string dxt = Read_File(File("textures/orange_dxt5.dds"));
    ASSERT_EQ(dxt.size(), 128u + 5 * 3 * 16);
    EXPECT_EQ(dxt.compare(84, 4, "DXT5"), 0);
    std::string decoded = File("orange_dxt5.png");
    ASSERT_EQ(std::system(("convert '" + File("textures/orange_dxt5.dds") + "' '" + decoded + "'").c_str()),
              0);
    Image exact = Load_Png(File("textures/orange.png")), image = Load_Png(decoded);
    ASSERT_EQ(image.width, 18);
    ASSERT_EQ(image.height, 10);
    int worst = 0;
    for (size_t i = 0; i < exact.rgba.size(); ++i)
        if (exact.rgba[i | 3] > 0 || (i & 3) == 3)
            worst = std::max(worst, std::abs(exact.rgba[i] - image.rgba[i]));
    EXPECT_LT(worst, 40);
    EXPECT_EQ(image.At(0, 0)[3], 0);
    EXPECT_GT(image.At(8, 5)[0], 240);
}

TEST_F(Fixtures, SoundEffectsAreNormalisedGlidingAndEndSilent)
{
    auto pcm = Load_Wave(File("sounds/zap.wav"));
    ASSERT_EQ(pcm.rate, 22050);
    ASSERT_EQ(pcm.channels, 1);
    // The longest voice: 0.12 s held and 0.08 s of release.
    EXPECT_EQ(pcm.samples.size(), 4410u);

    int peak = 0;
    for (short s : pcm.samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_NEAR(peak, 0.8 * 32767, 1) << "normalised to the volume line";
    EXPECT_EQ(pcm.samples.back(), 0) << "ends without a click";

    // The square falls from 1800 Hz to 300 Hz: it crosses zero far more often early than late.
    auto crossings = [&](size_t from, size_t to)
    {
        int count = 0;
        for (size_t i = from + 1; i < to; ++i)
            count += (pcm.samples[i - 1] < 0) != (pcm.samples[i] < 0);
        return count;
    };
    int early = crossings(1000, 1500), late = crossings(2600, 3100);
    EXPECT_GT(early, 2 * late) << early << " against " << late;
    EXPECT_GT(late, 5);
}
