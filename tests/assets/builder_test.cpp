// The asset builder as a build step: same sources, same bytes; mistakes in a source stop the build with
// the file and the line; files it made earlier and no longer makes are removed, and nothing else.
#include "asset_files.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

using asset_test::Folder_Contents;
using asset_test::Run_Builder;
using test_support::Read_File;
using test_support::Scratch_Folder;
using test_support::Write_File;
namespace fs = std::filesystem;

TEST(AssetBuilder, SameSourcesGiveTheSameFilesAndTheBuildUsedThem)
{
    Scratch_Folder first, second;
    for (const char* sources : {VORTA5_ASSET_SOURCES, VORTA5_TEST_SOURCES})
    {
        ASSERT_EQ(Run_Builder(sources, first.Path()).exit_code, 0);
        ASSERT_EQ(Run_Builder(sources, second.Path()).exit_code, 0);
    }
    auto files = Folder_Contents(first.Path());
    EXPECT_EQ(files, Folder_Contents(second.Path()));
    EXPECT_GE(files.size(), 10u);

    // The data folder that the build made beside the game holds exactly these bytes.
    Scratch_Folder game_data;
    ASSERT_EQ(Run_Builder(VORTA5_ASSET_SOURCES, game_data.Path()).exit_code, 0);
    for (const auto& [path, bytes] : Folder_Contents(game_data.Path()))
        EXPECT_EQ(Read_File(std::string(VORTA5_RUNTIME_DIR) + "/data/" + path), bytes) << path;

    // A run over unchanged sources rewrites nothing, so the files keep their times.
    auto time = fs::last_write_time(first.Path() / "textures/resource/arial.png");
    auto again = Run_Builder(VORTA5_ASSET_SOURCES, first.Path());
    EXPECT_NE(again.output.find(", 0 written"), std::string::npos) << again.output;
    EXPECT_EQ(fs::last_write_time(first.Path() / "textures/resource/arial.png"), time);
}

TEST(AssetBuilder, MistakesInASourceFailNamingTheFileAndLine)
{
    struct Case
    {
        const char* file;
        const char* text;
        const char* message; // expected after "file:line: "
    };
    const Case cases[] = {
        {"textures/a.pic", "size 8 8\nfill rect 0 0 8 8 colour #fff\n", "2: '#fff' is not a colour"},
        {"textures/a.pic", "size 8 8\nfill triangle 1 2 colour #ffffff\n", "2: 'triangle' is not a shape"},
        {"textures/a.pic", "size nan 8\n", "1: 'nan' is not a number"},
        {"textures/a.pic", "size 1e30 8\n", "1: a width must be a whole number"},
        {"textures/a.pic", "size 8 8\n\nfill polygon 0 0 4 4 colour 1 1 1\n",
         "3: a polygon needs at least three"},
        {"textures/a.pic", "fill circle 4 4 2 colour 1 1 1\n", "1: 'size' must come before"},
        {"textures/a.pic", "size 8 8\ncell 0 4 4 8 8\n", "2: cell 0 reaches outside the picture"},
        {"textures/a.pic", "size 8 8\nbox 0 0 0 8 8 4\n", "2: a box border must be above 0 and below half"},
        {"a.pic", "size 8 8\nframes 2\n", "2: a picture with a sprite script must lie under textures/"},
        {"textures/f.font", "ttf missing.ttf\nheight 20\n", "1: '"},
        {"textures/f.font",
         "ttf /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf\nheight 20\ncharacters 33 126\n",
         "3: characters run from 32"},
        {"sounds/s.sfx", "wave sine\n", "1: 'wave' is not a sound setting"},
        {"sounds/s.sfx", "voice\n  pitch 440\n  wobble 3\n", "3: 'wobble' is not a voice setting"},
        {"sounds/s.sfx", "voice\n  envelope 0.1 0.1 2\n", "2: envelope times must not be negative"},
        {"sounds/m.song", "pattern 0\nH-4 01 .. ...\nend\norder 0\n", "2: 'H-4' is not a note"},
        {"sounds/m.song", "channels 1\npattern 0\nC-4 01 .. ... C-4 01 .. ...\nend\n",
         "3: a row holds up to 1"},
        {"sounds/m.song", "pattern 0\nC-4 02 .. ...\nend\norder 0\n", "1: a pattern plays instrument 2"},
        {"sounds/m.song", "pattern 0\nC-4 .. .. ...\nend\norder 0 1\n", "1: the order names pattern 1"},
        {"sounds/m.song", "pattern 0\nC-4 .. 41 ...\nend\norder 0\n", "2: '41' is not a volume"},
        {"sounds/m.song", "instrument 1 lead\n  wave saw\n", "2: the last block has no 'end'"},
        {"sounds/m.song",
         "instrument 1 lead\n  length 0.01\n  loop 40\nend\npattern 0\nC-4 01 .. ...\nend\norder 0\n",
         "1: instrument \"lead\": the note is shorter than its loop"},
    };
    for (const Case& c : cases)
    {
        Scratch_Folder sources, data;
        fs::create_directories((sources.Path() / c.file).parent_path());
        Write_File(sources.File(c.file), c.text);
        auto result = Run_Builder(sources.Path(), data.Path());
        EXPECT_EQ(result.exit_code, 1) << c.file << "\n" << c.text;
        std::string expected = sources.File(c.file) + ":" + c.message;
        EXPECT_NE(result.output.find(expected), std::string::npos)
            << "expected " << expected << "\ngot " << result.output;
        EXPECT_TRUE(Folder_Contents(data.Path()).empty()) << c.text;
    }
}

TEST(AssetBuilder, CopiesOtherFilesAndRemovesOnlyWhatItMadeBefore)
{
    Scratch_Folder sources, data, state;
    fs::create_directories(sources.Path() / "textures");
    fs::create_directories(sources.Path() / ".hidden");
    Write_File(sources.File("textures/dot.pic"), "size 4 4\nfill circle 2 2 2 colour 1 0 0\n");
    Write_File(sources.File("textures/hand.spr"), "frames 1\ntextures 1\ntexture 0 dot\n");
    Write_File(sources.File("levels.txt"), "levels 1\n");
    Write_File(sources.File("README.md"), "notes for people\n");
    Write_File(sources.File(".hidden/x.txt"), "x\n");
    fs::path manifest = state.Path() / "manifest.txt";
    ASSERT_EQ(Run_Builder(sources.Path(), data.Path(), manifest).exit_code, 0);
    auto files = Folder_Contents(data.Path());
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files["textures/hand.spr"], "frames 1\ntextures 1\ntexture 0 dot\n");
    EXPECT_EQ(files["levels.txt"], "levels 1\n");
    EXPECT_EQ(files["textures/dot.png"].compare(1, 3, "PNG"), 0);

    // Something else put into the data folder stays; a source that went away takes its file with it.
    Write_File(data.File("shaders.txt"), "made elsewhere\n");
    fs::remove(sources.Path() / "levels.txt");
    ASSERT_EQ(Run_Builder(sources.Path(), data.Path(), manifest).exit_code, 0);
    files = Folder_Contents(data.Path());
    EXPECT_EQ(files.count("levels.txt"), 0u);
    EXPECT_EQ(files.count("shaders.txt"), 1u);
    EXPECT_EQ(files.count("textures/dot.png"), 1u);

    // Two sources that would make the same file are a mistake, not a silent overwrite.
    Write_File(sources.File("textures/dot.png"), "a hand-made picture\n");
    auto clash = Run_Builder(sources.Path(), data.Path(), manifest);
    EXPECT_EQ(clash.exit_code, 1);
    EXPECT_NE(clash.output.find("makes data/textures/dot.png, which another source makes too"),
              std::string::npos)
        << clash.output;
}
