// Textures on real GL: image files decoded and drawn, bad files refused with the manager's lines, the
// pack pass before the disk pass, the cache, cube maps, and screen grabs.
#include "../pack/archive_maker.h"
#include "engine/render/texture_manager.h"
#include "platform/image_file.h"
#include "render_fixture.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

using namespace render_test;
using test_support::Read_File;
using test_support::Write_File;
namespace fs = std::filesystem;

namespace
{
// ImageMagick, run in the folder; false when it failed.
bool Convert(const fs::path& folder, const std::string& arguments)
{
    std::string command = "cd '" + folder.string() + "' && convert " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// An 8 x 4 picture whose every pixel differs, with an alpha ramp.
const char* const k_ramp =
    "-size 8x4 xc:black -channel R -fx 'i/7' -channel G -fx 'j/3' -channel B -fx '0.5' "
    "-alpha set -channel A -fx '0.25+(i+j)/13' +channel";
// The same size in two flat 4 x 4 blocks, which block compression keeps (but for 5:6:5 rounding).
const char* const k_blocks = "-size 4x4 xc:'rgba(255,0,0,1)' xc:'rgba(0,255,255,0.5)' +append";

std::string Le32(uint32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

struct Dds_Header
{
    uint32_t width = 4, height = 4, mips = 1;
    uint32_t pf_flags = 0x41; // RGB with alpha
    const char* four_cc = "\0\0\0\0";
    uint32_t bits = 32;
    uint32_t masks[4] = {0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u};
    uint32_t caps2 = 0;
};

// A DDS file: the header as given, then `payload`.
std::string Dds(const Dds_Header& h, const std::string& payload)
{
    std::string file = "DDS " + Le32(124) + Le32(0x1007 | (h.mips > 1 ? 0x20000 : 0)) + Le32(h.height) +
                       Le32(h.width) + Le32(0) + Le32(0) + Le32(h.mips) + std::string(44, '\0');
    file += Le32(32) + Le32(h.pf_flags) + std::string(h.four_cc, 4) + Le32(h.bits);
    for (uint32_t mask : h.masks)
        file += Le32(mask);
    file += Le32(0x1000) + Le32(h.caps2) + std::string(12, '\0');
    return file + payload;
}

// The picture's pixels as ImageMagick reads them (8-bit RGBA, row after row); empty when it cannot.
std::vector<uint8_t> Magick_Pixels(const fs::path& file)
{
    const std::string raw = file.filename().string() + ".rgba";
    if (!Convert(file.parent_path(), "'" + file.filename().string() + "' -depth 8 rgba:'" + raw + "'"))
        return {};
    std::string bytes = Read_File((file.parent_path() / raw).string());
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

platform::Decoded_Image Decode(const std::string& bytes)
{
    platform::Decoded_Image image;
    EXPECT_TRUE(platform::Decode_Image(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image));
    return image;
}

class Texture_Test : public Render_Test
{
  protected:
    void SetUp() override
    {
        Render_Test::SetUp();
        fs::create_directories(folder.Path() / "data/textures");
    }
    std::string Texture_File(const std::string& name) const
    {
        return (folder.Path() / "data/textures" / name).string();
    }
    // Writes a data.pak holding the given members (under data/textures/ unless the path has a folder).
    void Pack(std::vector<pack_test::Member_File> files)
    {
        for (pack_test::Member_File& file : files)
            if (file.path.find('/') == std::string::npos && file.path.find(".jpg") == std::string::npos)
                file.path = "data/textures/" + file.path;
        ASSERT_FALSE(pack_test::Make_Archive(folder, "data.pak", "", files).empty()) << "7z failed";
    }
    // Draws the texture 1:1 at the top-left corner, without blending, and reads its pixels back.
    std::vector<uint8_t> Drawn(const Image* image)
    {
        const float black[4] = {0, 0, 0, 0}, white_colour[4] = {1, 1, 1, 1};
        swap_chain->Clear_Target(black);
        swap_chain->Set_Depth_State(DEPTH_NONE);
        swap_chain->Set_Blend_State(BLEND_OPAQUE);
        Draw_Quad(0, 0, static_cast<float>(image->Get_Width()), static_cast<float>(image->Get_Height()),
                  white_colour, 0.0f, nullptr, image->Get_View());
        std::vector<uint8_t> screen = Back_Buffer(), picture;
        for (int y = 0; y < image->Get_Height(); ++y)
            for (int x = 0; x < image->Get_Width(); ++x)
            {
                Rgba p = Pixel(screen, x, y);
                picture.insert(picture.end(), {uint8_t(p.r), uint8_t(p.g), uint8_t(p.b), uint8_t(p.a)});
            }
        return picture;
    }
    Texture_Manager* Manager() const { return device->Get_Texture_Manager(); }
};

void Expect_Same_Pixels(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected,
                        int tolerance, const std::string& what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what;
    int worst = 0;
    size_t worst_at = 0;
    for (size_t i = 0; i < actual.size(); ++i)
        if (std::abs(actual[i] - expected[i]) > worst)
        {
            worst = std::abs(actual[i] - expected[i]);
            worst_at = i;
        }
    EXPECT_LE(worst, tolerance) << what << ": pixel " << worst_at / 4 << " channel " << worst_at % 4 << " is "
                                << int(actual[worst_at]) << ", expected " << int(expected[worst_at]);
}

TEST_F(Texture_Test, DdsAndPngOfOnePictureShowTheSamePixels)
{
    struct Case
    {
        const char* what;
        const char* picture;
        const char* dds_options;
        int tolerance;
    };
    const Case cases[] = {
        {"32-bit BGRA", k_ramp, "-define dds:compression=none", 1},
        {"DXT1", k_blocks, "-alpha off -define dds:compression=dxt1", 4},
        {"DXT5", k_blocks, "-define dds:compression=dxt5", 4},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        std::string png = "picture" + std::to_string(n) + ".png",
                    dds = "picture" + std::to_string(n) + ".dds";
        ASSERT_TRUE(Convert(folder.Path() / "data/textures", std::string(c.picture) + " " + png)) << c.what;
        ASSERT_TRUE(Convert(folder.Path() / "data/textures",
                            png + " " + c.dds_options + " -define dds:mipmaps=0 " + dds))
            << c.what;
        ++n;
    }
    START_RENDER();
    for (int i = 0; i < n; ++i)
    {
        const Case& c = cases[i];
        std::string base = "data/textures/picture" + std::to_string(i);
        // What the picture is, as ImageMagick (which made both files) reads the PNG.
        std::vector<uint8_t> picture = Magick_Pixels(folder.Path() / (base + ".png"));
        ASSERT_EQ(picture.size(), 8u * 4u * 4u) << c.what;
        std::vector<uint8_t> from_dds_expected = picture;
        if (std::strcmp(c.what, "DXT1") == 0) // saved without alpha
            for (size_t a = 3; a < from_dds_expected.size(); a += 4)
                from_dds_expected[a] = 255;
        if (i == 0) // uncompressed: the decoder alone agrees once blue and red swap back (ImageMagick may
                    // round the two files one step apart)
        {
            platform::Decoded_Image dds = Decode(Read_File(base + ".dds"));
            EXPECT_EQ(dds.desc.format, unsigned(platform::GPU_FORMAT_B8G8R8A8_UNORM));
            for (size_t p = 0; p + 2 < dds.bytes.size(); p += 4)
                std::swap(dds.bytes[p], dds.bytes[p + 2]);
            Expect_Same_Pixels(dds.bytes, picture, 1, "decoded DDS");
        }

        Texture from_dds, from_png;
        ASSERT_TRUE(from_dds.Load(device, ("picture" + std::to_string(i)).c_str())) << c.what;
        fs::rename(base + ".dds", base + ".off");
        ASSERT_TRUE(from_png.Load(device, ("picture" + std::to_string(i)).c_str())) << c.what;
        EXPECT_EQ(from_dds.Get_Width(), 8);
        EXPECT_EQ(from_dds.Get_Height(), 4);
        EXPECT_TRUE(from_dds.Has_Alpha() || std::strcmp(c.what, "DXT1") == 0) << c.what;
        Expect_Same_Pixels(Drawn(&from_dds), from_dds_expected, c.tolerance, std::string(c.what) + " drawn");
        Expect_Same_Pixels(Drawn(&from_png), picture, 1, std::string(c.what) + " PNG drawn");
    }
}

TEST_F(Texture_Test, BadImageFilesFailWithTheManagersLinesAndBoxNeverACrash)
{
    ASSERT_TRUE(Convert(folder.Path(), std::string(k_ramp) + " good.png"));
    ASSERT_TRUE(
        Convert(folder.Path(), "good.png -define dds:compression=none -define dds:mipmaps=0 good.dds"));
    std::string good_png = Read_File(folder.File("good.png")), good_dds = Read_File(folder.File("good.dds"));
    Dds_Header unsupported;
    unsupported.pf_flags = 0x4;
    unsupported.four_cc = "ATI2";
    Dds_Header huge;
    huge.width = huge.height = 4096;
    Dds_Header too_many_mips;
    too_many_mips.mips = 9;
    Dds_Header zero;
    zero.width = 0;
    Dds_Header bits16;
    bits16.bits = 16;
    Dds_Header half_cube;
    half_cube.caps2 = 0x200 | 0x400; // a cube map with only its +X face
    struct Case
    {
        const char* file;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty.png", ""},
        {"text.png", "not a picture at all"},
        {"cut_png.png", good_png.substr(0, good_png.size() / 2)},
        {"header_png.png", good_png.substr(0, 33)},
        {"cut_dds.dds", good_dds.substr(0, good_dds.size() - 1)},
        {"header_dds.dds", good_dds.substr(0, 128)},
        {"unsupported.dds", Dds(unsupported, std::string(64, 'x'))},
        {"huge.dds", Dds(huge, std::string(64, 'x'))},
        {"too_many_mips.dds", Dds(too_many_mips, std::string(4096, 'x'))},
        {"zero.dds", Dds(zero, std::string(64, 'x'))},
        {"bits16.dds", Dds(bits16, std::string(64, 'x'))},
        {"half_cube.dds", Dds(half_cube, std::string(6 * 64, 'x'))},
        {"png_named.bmp", "BM" + good_png.substr(2)},
    };
    for (const Case& c : cases)
        Write_File(Texture_File(c.file), c.bytes);
    START_RENDER();
    for (const Case& c : cases)
    {
        std::string name = fs::path(c.file).stem().string();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Manager()->Load(name.c_str(), IMAGE_TEXTURE), nullptr) << c.file;
        std::string box = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(box, "Error!!!: Failed to load texture \"" + name + "\"\n\n") << c.file;
        EXPECT_NE(Log().find("Texture \"" + name + "\" loading from disk...Failed to load texture \"" + name +
                             "\"\n"),
                  std::string::npos)
            << c.file << "\n"
            << Log();
    }
    EXPECT_EQ(Manager()->Load("half_cube", IMAGE_CUBE), nullptr);
    EXPECT_EQ(Manager()->Get_Count(), 0);
    // The good file still loads afterwards, from a folder the bad ones were in.
    Write_File(Texture_File("good.png"), good_png);
    EXPECT_NE(Manager()->Load("good", IMAGE_TEXTURE), nullptr);
}

using Texture_Death_Test = Texture_Test;

TEST_F(Texture_Death_Test, AnEmptyTextureOfZeroSizeEndsTheProgramWithTheBox)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Start();
            Texture texture;
            texture.Initialize(device, 0, 16, platform::GPU_FORMAT_R8G8B8A8_UNORM, false);
        },
        ::testing::ExitedWithCode(1), "Error!!!: Failed - Texture::Initialize - CreateTexture2D\n");
}

TEST_F(Texture_Test, ThePackPassCoversEveryFileTypeBeforeTheDisk)
{
    // Four pictures told apart by their widths: 1 pack PNG, 2 disk DDS, 3 pack DDS, 5 disk PNG.
    ASSERT_TRUE(Convert(folder.Path(), "-size 1x1 xc:red one.png"));
    ASSERT_TRUE(Convert(folder.Path(), "-size 2x1 xc:red -define dds:compression=none two.dds"));
    ASSERT_TRUE(Convert(folder.Path(), "-size 3x1 xc:red -define dds:compression=none three.dds"));
    ASSERT_TRUE(Convert(folder.Path(), "-size 5x1 xc:red five.png"));
    std::string one = Read_File(folder.File("one.png")), two = Read_File(folder.File("two.dds"));
    std::string three = Read_File(folder.File("three.dds")), five = Read_File(folder.File("five.png"));
    Pack({{"ship.png", one}, {"crate.dds", three}, {"crate.png", one}, {"rock.png", "corrupt"}});
    Write_File(Texture_File("ship.dds"), two);
    Write_File(Texture_File("crate.dds"), two);
    Write_File(Texture_File("rock.dds"), two);
    Write_File(Texture_File("loose.png"), five);
    START_RENDER();
    struct Case
    {
        const char* name;
        int width;
        const char* from;
    };
    const Case cases[] = {
        {"ship", 1, "resources..."},        // a packed PNG beats a DDS on disk
        {"crate", 3, "resources..."},       // a packed DDS beats a packed PNG
        {"rock", 2, "resources...disk..."}, // a packed file that does not decode: on to the disk
        {"loose", 5, "disk..."},            // nothing packed
    };
    for (const Case& c : cases)
    {
        Image* image = Manager()->Load(c.name, IMAGE_TEXTURE);
        ASSERT_NE(image, nullptr) << c.name << "\n" << Log();
        EXPECT_EQ(image->Get_Width(), c.width) << c.name;
        EXPECT_NE(Log().find("Texture \"" + std::string(c.name) + "\" loading from " + c.from + "OK\n"),
                  std::string::npos)
            << c.name << "\n"
            << Log();
    }
}

TEST_F(Texture_Test, TheCacheIgnoresLetterCaseButKeepsKindsApart)
{
    ASSERT_TRUE(Convert(folder.Path() / "data/textures", "-size 2x2 xc:blue Ship.png"));
    ASSERT_TRUE(Convert(
        folder.Path() / "data/textures",
        "-size 4x4 xc:white -alpha set -define dds:compression=none -define dds:mipmaps=0 sky_face.dds"));
    // A cube map: the six faces of one picture, in one file.
    std::string face = Read_File(Texture_File("sky_face.dds"));
    ASSERT_EQ(face.size(), 128u + 64u);
    std::string cube = face.substr(0, 128);
    cube.replace(108 + 4, 4, Le32(0x200 | 0xFC00));
    for (int i = 0; i < 6; ++i)
        cube += face.substr(128);
    Write_File(Texture_File("Ship.dds"), cube); // files on disk keep the letter case they are asked by
    START_RENDER();
    Image* first = Manager()->Load("Ship", IMAGE_TEXTURE);
    ASSERT_NE(first, nullptr) << Log();
    EXPECT_EQ(first->Get_Width(), 2); // the cube DDS is no 2D texture: the PNG after it is
    for (const char* again : {"SHIP", "ship", "sHiP"})
    {
        EXPECT_EQ(Manager()->Load(again, IMAGE_TEXTURE), first) << again;
        EXPECT_NE(Log().find("Texture \"" + std::string(again) + "\" found in texture cache\n"),
                  std::string::npos)
            << again;
    }
    Image* sky = Manager()->Load("Ship", IMAGE_CUBE);
    ASSERT_NE(sky, nullptr) << Log();
    EXPECT_NE(sky, first);
    EXPECT_EQ(sky->Get_Kind(), IMAGE_CUBE);
    EXPECT_EQ(sky->Get_Width(), 4);
    EXPECT_TRUE(sky->Has_Alpha()); // BGRA with alpha
    EXPECT_EQ(Manager()->Load("SHIP", IMAGE_CUBE), sky);
    EXPECT_EQ(Manager()->Get_Count(), 2);
}

TEST_F(Texture_Test, CubeMapsComeFromTheDiskOnly)
{
    ASSERT_TRUE(Convert(folder.Path(),
                        "-size 2x2 xc:white -define dds:compression=none -define dds:mipmaps=0 f2.dds"));
    ASSERT_TRUE(Convert(folder.Path(),
                        "-size 4x4 xc:white -define dds:compression=none -define dds:mipmaps=0 f4.dds"));
    auto cube = [](const std::string& face)
    {
        std::string file = face.substr(0, 128);
        file.replace(112, 4, Le32(0x200 | 0xFC00));
        for (int i = 0; i < 6; ++i)
            file += face.substr(128);
        return file;
    };
    Pack({{"sky.dds", cube(Read_File(folder.File("f2.dds")))},
          {"packed_only.dds", cube(Read_File(folder.File("f2.dds")))}});
    Write_File(Texture_File("sky.dds"), cube(Read_File(folder.File("f4.dds"))));
    START_RENDER();
    ASSERT_EQ(engine->Pack_File_Size("data/textures/sky.dds") > 0, true);
    Image* sky = Manager()->Load("sky", IMAGE_CUBE);
    ASSERT_NE(sky, nullptr) << Log();
    EXPECT_EQ(sky->Get_Width(), 4);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Manager()->Load("packed_only", IMAGE_CUBE), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error!!!: Failed to load texture \"packed_only\"\n\n");
}

TEST_F(Texture_Test, ScreenGrabsAreNumberedNeverOverwriteAndShowTheScreen)
{
    Pack({{"shot 0-000.jpg", "a grab kept in the pack"}});
    START_RENDER();
    const float green[4] = {0, 1, 0, 1}, red[4] = {1, 0, 0, 1}, blue[4] = {0, 0, 1, 1};
    swap_chain->Clear_Target(green);
    swap_chain->Set_Depth_State(DEPTH_NONE);
    swap_chain->Set_Blend_State(BLEND_OPAQUE);
    Draw_Quad(0, 0, 32, 24, red);
    Draw_Quad(32, 24, 64, 48, blue);
    std::vector<uint8_t> screen = Back_Buffer();

    Write_File(folder.File("grab 0-001.jpg"), "left by an earlier run");
    ASSERT_TRUE(window->Screen_Grab("grab"));
    ASSERT_TRUE(window->Screen_Grab("grab"));
    ASSERT_TRUE(window->Screen_Grab("shot"));
    EXPECT_TRUE(fs::exists(folder.Path() / "grab 0-000.jpg"));
    EXPECT_EQ(Read_File(folder.File("grab 0-001.jpg")), "left by an earlier run");
    EXPECT_TRUE(fs::exists(folder.Path() / "grab 0-002.jpg"));
    EXPECT_FALSE(fs::exists(folder.Path() / "grab 0-003.jpg"));
    EXPECT_FALSE(fs::exists(folder.Path() / "shot 0-000.jpg")); // the pack has that name
    EXPECT_TRUE(fs::exists(folder.Path() / "shot 0-001.jpg"));

    platform::Decoded_Image grab = Decode(Read_File(folder.File("grab 0-000.jpg")));
    ASSERT_EQ(grab.desc.width, unsigned(WIDTH));
    ASSERT_EQ(grab.desc.height, unsigned(HEIGHT));
    // Its pixels as ImageMagick reads them.
    std::vector<uint8_t> grabbed = Magick_Pixels(folder.Path() / "grab 0-000.jpg");
    ASSERT_EQ(grabbed.size(), size_t{WIDTH} * HEIGHT * 4);
    EXPECT_EQ(Read_File(folder.File("grab 0-000.jpg")), Read_File(folder.File("grab 0-002.jpg")));
    // Away from the edges (and from the 16-pixel blocks that hold one), where JPEG keeps flat colours close.
    for (int y : {8, 40})
        for (int x : {8, 40, 56})
        {
            Rgba want = Pixel(screen, x, y), got = Pixel(grabbed, x, y);
            EXPECT_NEAR(got.r, want.r, 12) << x << "," << y;
            EXPECT_NEAR(got.g, want.g, 12) << x << "," << y;
            EXPECT_NEAR(got.b, want.b, 12) << x << "," << y;
        }
    EXPECT_EQ(Pixel(screen, 4, 4).r, 255);
    EXPECT_EQ(Pixel(screen, 60, 44).b, 255);
    EXPECT_EQ(Pixel(screen, 60, 4).g, 255);
}
} // namespace
