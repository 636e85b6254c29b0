// Music: songs kept by name, the "ogg" rule, the log lines of bad calls, and the 64 slots.
#include "engine/audio/music.h"
#include "engine/core/vorta_log.h"
#include "support/test_files.h"
#include "xm_test_support.h"

#include <cstdlib>

namespace
{
using test_support::Read_File;

class Music_Test : public ::testing::Test
{
  protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override { g_xm_player.Shutdown(); }

    std::string Write_Song(const char* name, int channels)
    {
        Xm_Writer w;
        w.channels = channels;
        w.Add_Pattern(8);
        w.Cell(0, 0, 0) = {49, 1, 0, 0, 0};
        w.Add_Constant_Instrument(20);
        std::vector<uint8_t> bytes = w.Build();
        std::string path = m_folder.File(name);
        test_support::Write_File(path, std::string(bytes.begin(), bytes.end()));
        return path;
    }
    static std::string Log() { return Read_File(g_vorta_log.Get_File_Name()); }

    // The working folder too, so the log read back is this test's own.
    test_support::Working_Folder m_folder;
};

TEST_F(Music_Test, Refuses_Null_Names_And_Plays_Only_After_Init)
{
    Music music;
    std::string song = Write_Song("a.xm", 2);
    EXPECT_FALSE(music.Play(song.c_str(), 1.0f));
    EXPECT_NE(std::string::npos, Log().find("Music class has not been initialized...\n"));
    ASSERT_TRUE(music.Init(nullptr));
    EXPECT_FALSE(music.Play(nullptr, 1.0f));
    EXPECT_NE(std::string::npos, Log().find("NULL music filename?\n"));
    EXPECT_TRUE(music.Play(song.c_str(), 1.0f));
}

TEST_F(Music_Test, Songs_Are_Kept_By_Name_And_Reloaded_When_Played_Again)
{
    Music music;
    ASSERT_TRUE(music.Init(nullptr));
    std::string a = Write_Song("a.xm", 3), b = Write_Song("b.xm", 5);

    ASSERT_TRUE(music.Play(a.c_str(), 0.5f));
    EXPECT_EQ(3, g_xm_player.Song().channels);
    g_xm_player.Stop(); // hands the player's state to this thread for reading
    EXPECT_EQ(32, g_xm_player.Replayer().Master_Volume());

    ASSERT_TRUE(music.Play(b.c_str(), 1.0f));
    EXPECT_EQ(5, g_xm_player.Song().channels);
    EXPECT_EQ(2, music.Song_Count());
    // The player holds the module loaded last: playing a again loads it again.
    ASSERT_TRUE(music.Play(a.c_str(), 1.0f));
    EXPECT_EQ(3, g_xm_player.Song().channels);
    EXPECT_EQ(2, music.Song_Count());

    // Stop all releases the current record only.
    music.Stop_All();
    EXPECT_EQ(1, music.Song_Count());
    EXPECT_TRUE(g_xm_player.Is_Silent());

    // A file that is not there still takes a slot and plays as silence.
    EXPECT_TRUE(music.Play(m_folder.File("missing.xm").c_str(), 1.0f));
    EXPECT_TRUE(g_xm_player.Is_Silent());
}

TEST_F(Music_Test, Names_Compare_Without_Case)
{
    Music music;
    ASSERT_TRUE(music.Init(nullptr));
    std::string a = Write_Song("song.xm", 4);
    ASSERT_TRUE(music.Play(a.c_str(), 1.0f));
    std::string upper = a.substr(0, a.size() - 7) + "SONG.XM"; // no such file: only the record can answer
    ASSERT_TRUE(music.Play(upper.c_str(), 1.0f));
    EXPECT_EQ(1, music.Song_Count());
    EXPECT_TRUE(g_xm_player.Is_Loaded());
}

TEST_F(Music_Test, Names_Containing_Ogg_Anywhere_Are_Streams)
{
    Music music;
    ASSERT_TRUE(music.Init(nullptr));
    std::string module = Write_Song("a.xm", 2);
    ASSERT_TRUE(music.Play(module.c_str(), 1.0f));
    for (const char* name : {"data/sounds/theme.ogg", "data/sounds/foggy.xm", "data/OGG/theme"})
    {
        ASSERT_TRUE(music.Play(name, 1.0f)) << name;
        EXPECT_TRUE(music.Current_Is_Ogg()) << name;
        EXPECT_TRUE(g_xm_player.Is_Silent()) << name << ": the module stopped";
    }
    ASSERT_TRUE(music.Play(module.c_str(), 1.0f));
    EXPECT_FALSE(music.Current_Is_Ogg());
}

TEST_F(Music_Test, Sixty_Four_Songs_At_Most)
{
    Music music;
    ASSERT_TRUE(music.Init(nullptr));
    for (int i = 0; i < Music::MAX_SONGS; ++i)
        ASSERT_TRUE(music.Play(m_folder.File(("song" + std::to_string(i) + ".xm").c_str()).c_str(), 1.0f))
            << i;
    EXPECT_FALSE(music.Play(m_folder.File("one more.xm").c_str(), 1.0f));
    EXPECT_TRUE(music.Play(m_folder.File("song7.xm").c_str(), 1.0f)) << "a known song still plays";
}
} // namespace
