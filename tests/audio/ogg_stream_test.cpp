// CDirectSoundOgg on the null output device: tracks that end on their own, loops, files that cannot play,
// restarts and stops, and a worker that does not end in time.
#include "audio_test_folder.h"
#include "engine/audio/ogg_stream.h"
#include "engine/audio/sound_system.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace test_support;
using Clock = std::chrono::steady_clock;

namespace
{
double Seconds_Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Waits until the player is idle; the seconds it took, or a negative number after the timeout.
double Wait_Idle(CDirectSoundOgg& player, double timeout = 3.0)
{
    Clock::time_point start = Clock::now();
    while (player.Is_Playing())
    {
        if (Seconds_Since(start) > timeout)
            return -1.0;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return Seconds_Since(start);
}

class OggStreamTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        sound.Init(Test_Window());
        ASSERT_TRUE(sound.Is_Allocated());
        short_track = folder.File("short.ogg");
        ASSERT_TRUE(Make_Ogg(short_track, 440, 22050, 0.1)) << "oggenc failed";
    }
    Sound_Folder folder;
    Sound_System sound;
    std::string short_track;
};

TEST_F(OggStreamTest, StopOnAnIdlePlayerReturnsAtOnce)
{
    CDirectSoundOgg player(short_track.c_str(), &sound);
    Clock::time_point start = Clock::now();
    player.Stop();
    player.Stop();
    EXPECT_LT(Seconds_Since(start), 0.05);
    EXPECT_FALSE(player.Is_Playing());
}

TEST_F(OggStreamTest, ATrackShorterThanOneHalfPlaysItsHalfAndEndsOnItsOwn)
{
    CDirectSoundOgg player(short_track.c_str(), &sound);
    player.Play(1.0f, false);
    EXPECT_TRUE(player.Is_Playing());
    EXPECT_EQ(player.Get_Volume(), 0);
    double took = Wait_Idle(player);
    // One half of 7680 mono frames at 22050 Hz is about 0.35 s; then the voice stops.
    EXPECT_GT(took, 0.3);
    EXPECT_LT(took, 1.5);
}

TEST_F(OggStreamTest, ALoopingTrackPlaysUntilStopped)
{
    CDirectSoundOgg player(short_track.c_str(), &sound);
    player.Play(0.1f, true);
    EXPECT_EQ(player.Get_Volume(), -5000);
    EXPECT_TRUE(player.Get_Loop());
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_TRUE(player.Is_Playing());
    Log_Capture log;
    Clock::time_point start = Clock::now();
    player.Stop();
    EXPECT_LT(Seconds_Since(start), 0.2);
    EXPECT_FALSE(player.Is_Playing());
    EXPECT_EQ(log.Text(), "");

    // Playing again, and again while playing, starts over each time.
    player.Play(1.0f, true);
    player.Play(1.0f, false);
    EXPECT_TRUE(player.Is_Playing());
    EXPECT_GT(Wait_Idle(player), 0.3);
}

TEST_F(OggStreamTest, FilesThatCannotPlayEndTheWorkerAtOnceAndQuietly)
{
    std::vector<uint8_t> ogg = Read_Bytes(short_track);
    ASSERT_GT(ogg.size(), 200u);
    Write_Bytes(folder.File("head.ogg"), std::vector<uint8_t>(ogg.begin(), ogg.begin() + 100));
    Write_Bytes(folder.File("tone.wav"), Sine_Wave_File(440, 22050, 0.1));
    Write_Bytes(folder.File("empty.ogg"), {});
    Sound_System without_device;

    struct
    {
        const char* name;
        std::string path;
        Sound_System* sound;
    } cases[] = {
        {"missing file", folder.File("missing.ogg"), &sound},
        {"not Ogg Vorbis", folder.File("tone.wav"), &sound},
        {"empty file", folder.File("empty.ogg"), &sound},
        {"only the first 100 bytes", folder.File("head.ogg"), &sound},
        {"a sound system without a device", short_track, &without_device},
        {"no sound system", short_track, nullptr},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Log_Capture log;
        CDirectSoundOgg player(c.path.c_str(), c.sound);
        player.Play(1.0f, true);
        double took = Wait_Idle(player, 1.0);
        EXPECT_GE(took, 0.0);
        EXPECT_LT(took, 0.2);
        EXPECT_EQ(log.Text(), "");
    }
}

TEST_F(OggStreamTest, ATrackCutShortPlaysWhatItHasAndEnds)
{
    std::string long_track = folder.File("long.ogg");
    // 1.5 s of 44.1 kHz stereo with a tone on each side takes several pages.
    ASSERT_TRUE(Make_Ogg(long_track, 440, 44100, 1.5, 2, 1234));
    std::vector<uint8_t> ogg = Read_Bytes(long_track);
    // Cut a few bytes into the last page: the pages before it play, the last one is lost.
    size_t last_page = 0;
    for (size_t i = 0; i + 4 <= ogg.size(); ++i)
        if (std::equal(ogg.begin() + i, ogg.begin() + i + 4, "OggS"))
            last_page = i;
    ASSERT_GT(last_page, 0u);
    std::string cut = folder.File("cut.ogg");
    Write_Bytes(cut, std::vector<uint8_t>(ogg.begin(), ogg.begin() + last_page + 10));
    CDirectSoundOgg player(cut.c_str(), &sound);
    player.Play(1.0f, true); // even looping: the cut file rewinds and plays again
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(player.Is_Playing());
    player.Stop();
    player.Play(1.0f, false);
    double took = Wait_Idle(player, 5.0);
    EXPECT_GT(took, 0.9);
    EXPECT_LT(took, 1.45);
}

// The worker blocks opening a pipe that nobody writes to, so Stop gives up on it. The player's file is a link
// to the pipe, so that the link can then be replaced by a real track for the same player to play.
TEST_F(OggStreamTest, AWorkerThatDoesNotEndInTimeIsLeftToEndOnItsOwn)
{
    std::string pipe_path = folder.File("stuck.fifo"), track = folder.File("stuck.ogg");
    ASSERT_EQ(mkfifo(pipe_path.c_str(), 0600), 0);
    ASSERT_EQ(symlink(pipe_path.c_str(), track.c_str()), 0);
    Log_Capture log;
    {
        CDirectSoundOgg stuck(track.c_str(), &sound);
        stuck.Play(1.0f, true);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_TRUE(stuck.Is_Playing());
        Clock::time_point start = Clock::now();
        stuck.Stop();
        double took = Seconds_Since(start);
        EXPECT_GE(took, 0.49);
        EXPECT_LT(took, 0.8);
        EXPECT_FALSE(stuck.Is_Playing());
        EXPECT_EQ(log.Text(), "Warning: Ogg thread did not exit cleanly\n");

        // The same player plays again at once, now a real track under its name, to the track's end.
        std::string copy = folder.File("short copy.ogg");
        ASSERT_TRUE(std::filesystem::copy_file(short_track, copy));
        ASSERT_EQ(std::rename(copy.c_str(), track.c_str()), 0);
        stuck.Play(1.0f, false);
        EXPECT_TRUE(stuck.Is_Playing());
        double played = Wait_Idle(stuck);
        EXPECT_GT(played, 0.3);
        EXPECT_LT(played, 1.5);
    }
    // Release the stuck worker: it reads a few bytes that are not Ogg and ends on its own.
    int writer = open(pipe_path.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(write(writer, "not an ogg stream", 17), 17);
    close(writer);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(log.Text(), "Warning: Ogg thread did not exit cleanly\n");
}

TEST_F(OggStreamTest, PlayAndStopChurn)
{
    Log_Capture log;
    CDirectSoundOgg player(short_track.c_str(), &sound);
    for (int i = 0; i < 40; ++i)
    {
        player.Play(0.5f, i % 2 == 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(i % 7 * 3));
        if (i % 3 == 0)
            player.Stop();
    }
    player.Stop();
    EXPECT_FALSE(player.Is_Playing());
    EXPECT_EQ(log.Text(), "");
}
} // namespace
