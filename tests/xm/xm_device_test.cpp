// The player on a real SDL audio device: load, play and stop from the main thread while the device's
// callback mixes, and a song played through Music reaching the device as the render tool writes it.
#include "xm_test_support.h"

#include "engine/audio/music.h"
#include "support/test_files.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace
{
Xm_Writer Busy_Song(int note)
{
    Xm_Writer w;
    w.channels = 4;
    w.speed = 2;
    w.Add_Pattern(16);
    w.Add_Pattern(8);
    w.orders = {0, 1};
    Xm_Writer_Instrument& ins = w.Add_Constant_Instrument(30, 64);
    for (int i = 0; i < 64; ++i)
        ins.samples[0].frames[i] = static_cast<int16_t>((i * 7 % 64) - 32);
    ins.volume_points = {{0, 64}, {6, 16}};
    ins.volume_type = 1;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 4; ++c)
            if ((r + c) % 3 == 0)
                w.Cell(0, r, c) = {static_cast<uint8_t>(note + r % 12 + c), 1, 0, 0x04, 0x46};
    w.Cell(1, 0, 0) = {static_cast<uint8_t>(note), 1, 0, 0x0A, 0x02};
    return w;
}

class Xm_Device_Test : public ::testing::Test
{
  protected:
    void TearDown() override { g_xm_player.Shutdown(); }
};

TEST_F(Xm_Device_Test, Load_Play_And_Stop_While_The_Callback_Mixes)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(g_xm_player.Initialise(44000, true, true));
    std::vector<uint8_t> songs[2] = {Busy_Song(40).Build(), Busy_Song(55).Build()};
    int64_t mixed = 0;
    for (int round = 0; round < 12; ++round)
    {
        const std::vector<uint8_t>& bytes = songs[round % 2];
        ASSERT_TRUE(g_xm_player.Load(bytes.data(), bytes.size()));
        g_xm_player.Play(round % 3 ? 1.0f : 0.5f);
        std::this_thread::sleep_for(std::chrono::milliseconds(40 + 10 * (round % 4)));
        if (round % 3 == 1)
            g_xm_player.Play(1.0f); // restart while playing
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        g_xm_player.Stop();
        EXPECT_FALSE(g_xm_player.Is_Mixing());
        mixed += g_xm_player.Replayer().Frames_Mixed(); // the main thread owns the state once stopped
    }
    EXPECT_GT(mixed, 0) << "the device callback never mixed";
}

TEST_F(Xm_Device_Test, Music_Through_The_Device_Is_What_The_Render_Tool_Writes)
{
    test_support::Scratch_Folder folder;
    std::string song = folder.File("song.xm"), device_file = folder.File("device.raw"),
                wave_file = folder.File("render.wav");
    std::vector<uint8_t> bytes = Busy_Song(48).Build();
    test_support::Write_File(song, std::string(bytes.begin(), bytes.end()));

    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", device_file.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1); // as fast as it can
    {
        Music music;
        ASSERT_TRUE(music.Init(nullptr));
        ASSERT_TRUE(music.Play(song.c_str(), 1.0f));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        music.Stop_All();
        g_xm_player.Shutdown(); // closes the device, which flushes the file
    }
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_DISKAUDIODELAY");
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    std::string command = std::string(VORTA5_RUNTIME_DIR) + "/vorta5-xm render '" + song + "' '" + wave_file +
                          "' --rate 44000 --seconds 5 >/dev/null";
    ASSERT_EQ(0, std::system(command.c_str()));
    std::string raw = test_support::Read_File(device_file), wave = test_support::Read_File(wave_file);
    ASSERT_GT(wave.size(), 44u);
    std::vector<int16_t> device(raw.size() / 2), rendered((wave.size() - 44) / 2);
    std::memcpy(device.data(), raw.data(), device.size() * 2);
    std::memcpy(rendered.data(), wave.data() + 44, rendered.size() * 2);
    const size_t block = 2 * XM_Player::BLOCK_FRAMES;

    // The device starts with at least its ring of silent blocks; the song follows block-aligned.
    size_t start = 0;
    while (start < device.size() && device[start] == 0)
        ++start;
    ASSERT_LT(start, device.size()) << "the device played only silence";
    start = start / block * block;
    EXPECT_GE(start, 4 * block);
    size_t length = std::min(device.size() - start, rendered.size());
    ASSERT_GT(length, 8 * block) << "too little to compare";
    EXPECT_TRUE(std::equal(device.begin() + static_cast<long>(start),
                           device.begin() + static_cast<long>(start + length), rendered.begin()))
        << "device output from frame " << start / 2 << " differs from the render";
}
} // namespace
