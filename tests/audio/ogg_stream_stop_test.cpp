// Stopping and closing a stream whatever its worker is doing: a half that is being written when the stream
// closes stays the writer's until it hands it back, and a player whose decoder is stuck in a slow read is
// stopped and left to end on its own without writing into memory that was freed. tests/extra/ogg_tsan.sh
// runs these under the thread sanitizer.
#include "audio_test_folder.h"
#include "engine/audio/ogg_stream.h"
#include "engine/audio/sound_system.h"
#include "platform/sound_stream.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace test_support;
using Clock = std::chrono::steady_clock;

namespace
{
class OggStreamStopTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        sound.Init(Test_Window());
        ASSERT_TRUE(sound.Is_Allocated());
    }
    Sound_Folder folder;
    Sound_System sound;
};

TEST_F(OggStreamStopTest, AHalfBeingWrittenWhenTheStreamClosesStaysTheWritersUntilHandedBack)
{
    constexpr uint32_t HALF = CDirectSoundOgg::HALF_BYTES;
    platform::Sound_Stream stream;
    stream.Use_Device(sound.Get_Device());
    platform::Wave_Format format{platform::WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    ASSERT_EQ(stream.Create(format, HALF, platform::SOUND_CTRL_VOLUME), platform::Sound_Result::OK);
    uint8_t* half = stream.Lock_Half(0);
    ASSERT_NE(half, nullptr);

    // Another thread closes the stream while this one is still writing, as Stop does to a stuck worker.
    // The flag is read without ordering, so the sanitizer sees the writes below as racing with Close.
    std::atomic<bool> closed{false};
    std::thread closer(
        [&]
        {
            stream.Close();
            closed.store(true, std::memory_order_relaxed);
        });
    while (!closed.load(std::memory_order_relaxed))
        std::this_thread::yield();
    std::memset(half, 0x55, HALF);
    EXPECT_EQ(half[HALF - 1], 0x55);
    EXPECT_FALSE(stream.Unlock_Half(0)); // hands the memory back; nothing is queued
    closer.join();

    EXPECT_EQ(stream.Lock_Half(0), nullptr);
    EXPECT_EQ(stream.Lock_Half(1), nullptr);
    platform::Auto_Event stop;
    EXPECT_EQ(stream.Wait_Free_Half(stop), platform::Sound_Stream::STOPPED);
}

// Offset of the first audio page of an Ogg Vorbis file (the first page whose granule position is set),
// and of the page after it.
void First_Audio_Page(const std::vector<uint8_t>& ogg, size_t& audio, size_t& next)
{
    audio = next = 0;
    for (size_t i = 0; i + 14 <= ogg.size(); ++i)
    {
        if (std::memcmp(ogg.data() + i, "OggS", 4) != 0)
            continue;
        if (audio)
        {
            next = i;
            return;
        }
        uint64_t granule = 0;
        for (int b = 7; b >= 0; --b)
            granule = granule << 8 | ogg[i + 6 + b];
        if (granule != 0 && granule != ~uint64_t{0})
            audio = i;
    }
}

// The decoder reads the track from a pipe. Only its headers and half of its first audio page come at
// first, so the worker locks its first half and blocks in a read for the rest of the page; Stop gives up
// on it and closes the stream. Then the pipe ends: the decoder finds the end of the stream and clears the
// rest of its half, which must still be its own.
TEST_F(OggStreamStopTest, StopGivesUpOnASlowDecoderWhoseHalfOutlivesTheStream)
{
    std::string track = folder.File("long.ogg");
    ASSERT_TRUE(Make_Ogg(track, 440, 44100, 3.0, 2, 1234)) << "oggenc failed";
    std::vector<uint8_t> ogg = Read_Bytes(track);
    size_t audio = 0, next = 0;
    First_Audio_Page(ogg, audio, next);
    ASSERT_GT(next, audio);
    size_t head = audio + (next - audio) / 2;
    // The decoder reads 2048 bytes at a time: every header must arrive in whole reads.
    ASSERT_LE((audio + 2047) / 2048 * 2048, head);

    std::string pipe_path = folder.File("slow.ogg");
    ASSERT_EQ(mkfifo(pipe_path.c_str(), 0600), 0);
    Log_Capture log;
    CDirectSoundOgg player(pipe_path.c_str(), &sound);
    player.Play(1.0f, false);
    // The worker opens the pipe for reading; the writing end can open once it has.
    int writer = -1;
    for (Clock::time_point start = Clock::now();
         writer < 0 && Clock::now() - start < std::chrono::seconds(3);)
    {
        writer = open(pipe_path.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_GE(writer, 0) << std::strerror(errno);
    ASSERT_EQ(write(writer, ogg.data(), head), static_cast<ssize_t>(head));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(player.Is_Playing());

    Clock::time_point start = Clock::now();
    player.Stop();
    double took = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_GE(took, 0.49);
    EXPECT_LT(took, 0.8);
    EXPECT_FALSE(player.Is_Playing());
    EXPECT_EQ(log.Text(), "Warning: Ogg thread did not exit cleanly\n");

    close(writer); // the end of the file: the worker finishes its half, hands it back and ends
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(log.Text(), "Warning: Ogg thread did not exit cleanly\n");

    // The player plays again at once.
    std::string short_track = folder.File("short.ogg");
    ASSERT_TRUE(Make_Ogg(short_track, 440, 22050, 0.1));
    CDirectSoundOgg again(short_track.c_str(), &sound);
    again.Play(1.0f, false);
    EXPECT_TRUE(again.Is_Playing());
    again.Stop();
}
} // namespace
