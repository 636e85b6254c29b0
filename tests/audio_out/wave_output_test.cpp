// What reaches the output: the sound device writes through OpenAL Soft's wave-file backend, and the
// written samples are checked. The backend is chosen for the whole process before anything opens it.
#include "../audio/audio_test_folder.h"
#include "engine/audio/ogg_stream.h"
#include "engine/audio/sound.h"
#include "engine/audio/sound_system.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"
#include "platform/os_window.h"
#include "support/program_runner.h"
#include "support/requirements.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

using namespace test_support;

namespace
{
std::string Output_Path()
{
    return "/tmp/vorta5-wave-output-" + std::to_string(getpid()) + ".wav";
}

std::string Config_Path()
{
    return "/tmp/vorta5-wave-output-" + std::to_string(getpid()) + ".conf";
}

// The wave device's own rate is OpenAL Soft's default output rate (no rate is set here: one set in the
// configuration would win over whatever the program asks for). Effects are mixed at it whatever the
// primary format asks for, so anything below 44100 Hz means the primary format's 22050 Hz was used.
constexpr uint32_t LEAST_DEVICE_RATE = 44100;

void Write_Wave_Config(const std::string& config, const std::string& output)
{
    Write_File(config, "[general]\nchannels = stereo\nsample-type = int16\n[wave]\nfile = " + output + "\n");
}

const bool g_wave_backend = []
{
    Write_Wave_Config(Config_Path(), Output_Path());
    setenv("ALSOFT_CONF", Config_Path().c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    return true;
}();

void Sleep_Ms(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The device is closed with the last sound object, which finishes the written file.
Written_Sound Output()
{
    Written_Sound written;
    EXPECT_TRUE(Read_Written_Sound(Output_Path(), written));
    return written;
}

TEST(WaveOutputTest, APlayedEffectIsWrittenAtItsPitch)
{
    ASSERT_TRUE(g_wave_backend);
    Sound_Folder folder;
    folder.Put("beep.wav", Sine_Wave_File(440, 22050, 0.5));
    {
        Sound_System sound;
        sound.Init(Test_Window());
        auto* beep = dynamic_cast<CSound_2d*>(sound.Load("beep.wav", SOUND_2D));
        ASSERT_NE(beep, nullptr);
        EXPECT_EQ(beep->Play(1.0f), 0);
        Sleep_Ms(800);
    }
    Written_Sound written = Output();
    EXPECT_GE(written.rate, LEAST_DEVICE_RATE);
    size_t start = First_Loud(written.samples, 2000);
    ASSERT_LT(start, written.samples.size());
    EXPECT_NEAR(Tone_Frequency(written.samples, written.rate, start, start + 8000), 440.0, 3.0);
    // It played once: about half a second of tone, then silence.
    size_t end = start + written.rate / 2;
    EXPECT_EQ(First_Loud(written.samples, 2000, end + 400), written.samples.size());
}

// Root mean square of samples [begin, end).
double Level(const std::vector<int16_t>& samples, size_t begin, size_t end)
{
    double sum = 0.0;
    for (size_t i = begin; i < end && i < samples.size(); ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return end > begin ? std::sqrt(sum / static_cast<double>(end - begin)) : 0.0;
}

// Effects are mixed at the device's rate, not the primary format's 22050 Hz: a 15 kHz tone (far above
// what 22050 Hz can carry) comes out at its pitch, nearly as loud as a 1 kHz one (the resampler from the
// sample's 44100 Hz takes a little of the top).
TEST(WaveOutputTest, ABrightEffectKeepsItsPitchAndLevelAtTheDevicesRate)
{
    Sound_Folder folder;
    folder.Put("bright.wav", Sine_Wave_File(15000, 44100, 0.4));
    folder.Put("low.wav", Sine_Wave_File(1000, 44100, 0.4));
    {
        Sound_System sound;
        sound.Init(Test_Window());
        EXPECT_GE(sound.Get_Device().Mix_Rate(), LEAST_DEVICE_RATE);
        auto* bright = dynamic_cast<CSound_2d*>(sound.Load("bright.wav", SOUND_2D));
        auto* low = dynamic_cast<CSound_2d*>(sound.Load("low.wav", SOUND_2D));
        ASSERT_NE(bright, nullptr);
        ASSERT_NE(low, nullptr);
        bright->Play(1.0f);
        Sleep_Ms(700);
        low->Play(1.0f);
        Sleep_Ms(700);
    }
    Written_Sound written = Output();
    ASSERT_GE(written.rate, LEAST_DEVICE_RATE);
    const size_t rate = written.rate;
    size_t bright_start = First_Loud(written.samples, 2000);
    ASSERT_LT(bright_start + rate / 2, written.samples.size());
    // 0.4 s of tone: measure its middle 0.2 s.
    size_t bright_from = bright_start + rate / 10, bright_to = bright_from + rate / 5;
    EXPECT_NEAR(Tone_Frequency(written.samples, written.rate, bright_from, bright_to), 15000.0, 30.0);
    size_t low_start = First_Loud(written.samples, 2000, bright_start + rate / 2);
    ASSERT_LT(low_start + rate / 2, written.samples.size());
    size_t low_from = low_start + rate / 10, low_to = low_from + rate / 5;
    EXPECT_NEAR(Tone_Frequency(written.samples, written.rate, low_from, low_to), 1000.0, 3.0);
    double bright_level = Level(written.samples, bright_from, bright_to);
    double low_level = Level(written.samples, low_from, low_to);
    EXPECT_GT(low_level, 3000.0);
    EXPECT_GT(bright_level, 0.5 * low_level);
}

TEST(WaveOutputTest, ABentVoiceIsWrittenAtTheNewPitch)
{
    Sound_Folder folder;
    folder.Put("hum.wav", Sine_Wave_File(400, 22050, 0.2));
    {
        Sound_System sound;
        sound.Init(Test_Window());
        auto* hum = dynamic_cast<CSound_2d*>(sound.Load("hum.wav", SOUND_2D));
        ASSERT_NE(hum, nullptr);
        EXPECT_EQ(hum->Play_Looped(1.0f, 0), 0);
        hum->Set_Voice_Frequency(hum->Get_Sample_Rate() * 3 / 2, 0);
        Sleep_Ms(600);
        hum->Stop_Voice(0);
    }
    Written_Sound written = Output();
    size_t start = First_Loud(written.samples, 2000);
    ASSERT_LT(start + 9000, written.samples.size());
    EXPECT_NEAR(Tone_Frequency(written.samples, written.rate, start + 500, start + 9000), 600.0, 5.0);
}

TEST(WaveOutputTest, ALoopingOggJoinsItsEndToItsStartWithoutAGap)
{
    Sound_Folder folder;
    std::string track = folder.File("loop.ogg");
    // 110 whole cycles, so the joins keep the tone's phase.
    ASSERT_TRUE(Make_Ogg(track, 440, 22050, 0.25));
    {
        Sound_System sound;
        sound.Init(Test_Window());
        CDirectSoundOgg player(track.c_str(), &sound);
        player.Play(1.0f, true);
        Sleep_Ms(1500);
        EXPECT_TRUE(player.Is_Playing());
        player.Stop();
    }
    Written_Sound written = Output();
    size_t start = First_Loud(written.samples, 2000);
    ASSERT_LT(start + 22050, written.samples.size());
    // Five loops and more: a gap would be a run of silence far longer than a zero crossing of the tone.
    EXPECT_LT(Longest_Quiet_Run(written.samples, 500, start, start + 22050), 20u);
    EXPECT_NEAR(Tone_Frequency(written.samples, written.rate, start, start + 22050), 440.0, 2.0);
}

TEST(WaveOutputTest, AShortOggEndsOnItsOwnAfterItsLastSample)
{
    Sound_Folder folder;
    std::string track = folder.File("short.ogg");
    ASSERT_TRUE(Make_Ogg(track, 441, 22050, 0.2));
    {
        Sound_System sound;
        sound.Init(Test_Window());
        CDirectSoundOgg player(track.c_str(), &sound);
        player.Play(1.0f, false);
        for (int i = 0; i < 200 && player.Is_Playing(); ++i)
            Sleep_Ms(10);
        EXPECT_FALSE(player.Is_Playing());
        Sleep_Ms(300);
    }
    Written_Sound written = Output();
    size_t start = First_Loud(written.samples, 2000);
    ASSERT_LT(start, written.samples.size());
    // The whole 0.2 s tone is there, and nothing after it.
    EXPECT_LT(Longest_Quiet_Run(written.samples, 500, start, start + 4000), 20u);
    EXPECT_EQ(First_Loud(written.samples, 2000, start + written.rate / 5 + 400), written.samples.size());
}

// A 3D effect sounds from where it is placed: to the listener's right it is louder on the right, and moved
// to the left while it plays it is louder on the left.
TEST(WaveOutputTest, AThreeDEffectIsHeardFromWhereItIsPlaced)
{
    Sound_Folder folder;
    folder.Put("hum.wav", Sine_Wave_File(300, 22050, 1.0));
    {
        Sound_System sound;
        sound.Init(Test_Window());
        auto* hum = dynamic_cast<CSound_3d*>(sound.Load("hum.wav", SOUND_3D));
        ASSERT_NE(hum, nullptr);
        ASSERT_TRUE(hum->Has_3d());
        hum->Set_Position(2.0f, 0.0f, 0.0f); // before the voice exists
        EXPECT_TRUE(hum->Play(1.0f, true));
        Sleep_Ms(500);
        hum->Set_Position(-2.0f, 0.0f, 0.0f); // while it plays
        Sleep_Ms(500);
        hum->Stop_All();
    }
    Written_Sound written = Output();
    ASSERT_EQ(written.channels, 2);
    std::vector<int16_t> both(written.samples.size());
    for (size_t i = 0; i < both.size(); ++i)
        both[i] = static_cast<int16_t>(std::max(std::abs(written.samples[i]), std::abs(written.second[i])));
    size_t start = First_Loud(both, 1000);
    // A tenth of a second into each half second, for a tenth of a second, at the rate the file was written.
    const size_t tenth = written.rate / 10;
    size_t right_at = start + tenth, left_at = start + written.rate / 2 + tenth;
    ASSERT_LT(left_at + tenth, both.size());
    EXPECT_GT(Level(written.second, right_at, right_at + tenth),
              2 * Level(written.samples, right_at, right_at + tenth));
    EXPECT_GT(Level(written.samples, left_at, left_at + tenth),
              2 * Level(written.second, left_at, left_at + tenth));
}

// The engine's window opens the sound system itself; an effect loaded through it is heard.
TEST(WaveOutputTest, AWindowsSoundSystemPlaysALoadedEffect)
{
    if (!Have_Display())
        VORTA5_SKIP() << "no display to open windows on";
    Sound_Folder folder;
    folder.Put("laser.wav", Sine_Wave_File(440, 22050, 0.3));
    g_vorta_log.Set_Flags(LOG_FILE);
    {
        Vorta_Engine engine;
        ASSERT_TRUE(engine.Init("", "config.txt"));
        ASSERT_TRUE(engine.Get_Window_Class().Registered()) << platform::Last_Window_Error();
        engine.Create_Device(0);
        Vorta_Window* window = engine.Create_Window(0, 0, 320, 180, false, 60, false, false, "sound test");
        ASSERT_NE(window, nullptr);
        ASSERT_NE(window->Get_Sound_System(), nullptr);
        auto* laser = dynamic_cast<CSound_2d*>(window->Get_Sound_System()->Load("laser.wav", SOUND_2D));
        ASSERT_NE(laser, nullptr);
        laser->Play(1.0f);
        Sleep_Ms(500);
    }
    std::string log = Read_File("sys_log.txt");
    EXPECT_NE(log.find("Allocating Sound System... OK\nAllocating direct sound instance... Ok\n"
                       "  Setting copperative level... Ok\n  Creating primary sound buffer... Ok\n"
                       "  Setting format... Ok\n  Get 3d sound interface... Ok\n"),
              std::string::npos)
        << log;
    Written_Sound written = Output();
    size_t start = First_Loud(written.samples, 2000);
    ASSERT_LT(start + 4000, written.samples.size());
    EXPECT_NEAR(Tone_Frequency(written.samples, written.rate, start, start + 4000), 440.0, 4.0);
}

// The real program under the wave backend logs the sound system's start-up in order.
TEST(WaveOutputTest, TheProgramLogsEverySoundStartUpLine)
{
    if (!Have_Display())
        VORTA5_SKIP() << "no display to open windows on";
    Scratch_Folder folder;
    std::string output = folder.File("program.wav");
    std::string config = folder.File("alsoft.conf");
    Write_Wave_Config(config, output);
    Program_Run program(folder);
    ASSERT_TRUE(program.Start({"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + config}));
    EXPECT_TRUE(program.Wait_For_Log("  Get 3d sound interface... ")) << program.Log();
    program.Signal();
    program.Wait();
    EXPECT_NE(program.Log().find("Allocating Sound System... OK\nAllocating direct sound instance... Ok\n"
                                 "  Setting copperative level... Ok\n  Creating primary sound buffer... Ok\n"
                                 "  Setting format... Ok\n  Get 3d sound interface... Ok\n"),
              std::string::npos)
        << program.Log();
}
} // namespace
