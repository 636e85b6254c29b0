// Sound_System on the null output device: start-up lines, no device, the sample cache and loading errors.
#include "audio_test_folder.h"
#include "engine/audio/sound.h"
#include "engine/audio/sound_system.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace test_support;

namespace
{
const char* const INIT_LINES = "Allocating direct sound instance... Ok\n"
                               "  Setting copperative level... Ok\n"
                               "  Creating primary sound buffer... Ok\n"
                               "  Setting format... Ok\n"
                               "  Get 3d sound interface... Ok\n";

TEST(SoundSystemTest, InitLogsEveryStepOnceAndRunsTheMixerAtTheDevicesOwnRate)
{
    Sound_Folder folder;
    Log_Capture log;
    Sound_System sound;
    sound.Init(Test_Window());
    EXPECT_EQ(log.Text(), INIT_LINES);
    EXPECT_TRUE(sound.Is_Allocated());
    // Not the primary format's 22050 Hz: the null device's own rate.
    EXPECT_EQ(sound.Get_Device().Mix_Rate(), 44100u);

    log.Clear();
    sound.Init(Test_Window());
    EXPECT_EQ(log.Text(), "Direct Sound already allocated???\n");
}

TEST(SoundSystemTest, WithoutAWindowTheCooperativeLevelFailsAndStartUpGoesOn)
{
    Sound_Folder folder;
    Log_Capture log;
    Sound_System sound;
    sound.Init(nullptr);
    EXPECT_EQ(log.Text(), "Allocating direct sound instance... Ok\n"
                          "  Setting copperative level... FAILED to set Direct Sound cooperative level\nOk\n"
                          "  Creating primary sound buffer... Ok\n"
                          "  Setting format... Ok\n"
                          "  Get 3d sound interface... Ok\n");
    EXPECT_TRUE(sound.Is_Allocated());
}

// Runs in a process of its own, since the sound library reads its driver list once per process.
TEST(SoundSystemTest, WithNoDeviceEveryLoadFailsWithItsLine)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
            Sound_Folder folder;
            folder.Put("beep.wav", Sine_Wave_File(440, 22050, 0.1));
            Log_Capture log;
            Sound_System sound;
            sound.Init(Test_Window());
            bool init_ok = log.Text() == "Allocating direct sound instance... FAILED to setup Direct Sound\n";
            log.Clear();
            bool load_ok = !sound.Load("beep.wav", SOUND_2D) && !sound.Is_Allocated() &&
                           log.Text() ==
                               "Sound \"data/sounds/beep.wav\" loading from disk... "
                               "Failed to load sound as Direct Sound has not been allocated!!!\n"
                               "Failed to allocate sound buffer\n"
                               "Sound_System::Load - Error - Unable to load 2d sound \"beep.wav\"\n";
            std::exit(init_ok && load_ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

class LoadedSoundTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        sound.Init(Test_Window());
        ASSERT_TRUE(sound.Is_Allocated());
    }
    Sound_Folder folder;
    Log_Capture log;
    Sound_System sound;
};

TEST_F(LoadedSoundTest, LoadReadsTheFileAndRecordsItsFormat)
{
    folder.Put("laser.wav", Sine_Wave_File(440, 22050, 0.5, 2));
    log.Clear();
    CSound* laser = sound.Load("laser.wav", SOUND_2D);
    ASSERT_NE(laser, nullptr);
    EXPECT_EQ(log.Text(), "Sound \"data/sounds/laser.wav\" loading from disk... OK\n");
    EXPECT_STREQ(laser->Get_Name(), "data/sounds/laser.wav");
    EXPECT_EQ(laser->Get_Sample_Rate(), 22050u);
    EXPECT_EQ(laser->Get_Channels(), 2);
    EXPECT_EQ(laser->Get_Bytes_Per_Sample(), 2);
    EXPECT_EQ(laser->Get_Data_Size(), 11025u * 4);
    EXPECT_FLOAT_EQ(laser->Get_Length(), 0.5f);
    EXPECT_EQ(sound.Get_Cached(0), laser);
}

TEST_F(LoadedSoundTest, TheCacheAnswersBySoundPathWhateverTheCaseOrKind)
{
    folder.Put("boom.wav", Sine_Wave_File(200, 11025, 0.1));
    CSound* first = sound.Load("boom.wav", SOUND_2D);
    ASSERT_NE(first, nullptr);
    log.Clear();
    EXPECT_EQ(sound.Load("BOOM.WAV", SOUND_2D), first);
    EXPECT_EQ(sound.Load("boom.wav", SOUND_3D), first);
    EXPECT_NE(dynamic_cast<CSound_2d*>(sound.Load("boom.wav", SOUND_3D)), nullptr);
    EXPECT_EQ(log.Text(), "Sound \"BOOM.WAV\" found in sample cache... OK\n"
                          "Sound \"boom.wav\" found in sample cache... OK\n"
                          "Sound \"boom.wav\" found in sample cache... OK\n");
    EXPECT_EQ(sound.Get_Cached(1), nullptr);
}

TEST_F(LoadedSoundTest, ThreeDSoundHasItsControls)
{
    folder.Put("hum.wav", Sine_Wave_File(100, 22050, 0.2));
    auto* hum = dynamic_cast<CSound_3d*>(sound.Load("hum.wav", SOUND_3D));
    ASSERT_NE(hum, nullptr);
    EXPECT_TRUE(hum->Has_3d());
    hum->Set_Position(1, 2, 3); // heard from there: see the wave output tests
    EXPECT_EQ(std::vector<float>(hum->Get_Position(), hum->Get_Position() + 3),
              std::vector<float>({1, 2, 3}));
    EXPECT_TRUE(hum->Play(1.0f));
    EXPECT_TRUE(hum->Is_Playing());
    hum->Stop_All();
    EXPECT_FALSE(hum->Is_Playing());
}

struct Load_Failure
{
    const char* name;
    std::vector<uint8_t> file;
    const char* log;
};

TEST_F(LoadedSoundTest, FilesTheDeviceCannotPlayFailWithTheirLines)
{
    using test_support::Wave_Builder;
    const char* refused = "Failed to create sound buffer\nFailed to allocate sound buffer\n";
    const Load_Failure cases[] = {
        {"zero channels", Wave_Builder().Pcm_Format(0, 22050, 16).Data(std::vector<uint8_t>(64)).Bytes(),
         refused},
        {"absurd rate", Wave_Builder().Pcm_Format(1, 4000000, 16).Data(std::vector<uint8_t>(64)).Bytes(),
         refused},
        {"rate of zero", Wave_Builder().Pcm_Format(1, 0, 16).Data(std::vector<uint8_t>(64)).Bytes(), refused},
        {"24-bit samples", Wave_Builder().Pcm_Format(1, 22050, 24).Data(std::vector<uint8_t>(66)).Bytes(),
         refused},
        {"compressed samples",
         Wave_Builder().Format(2, 1, 22050, 4, {0, 2}).Data(std::vector<uint8_t>(64)).Bytes(), refused},
        {"empty data chunk", Wave_Builder().Pcm_Format(1, 22050, 16).Data({}).Bytes(), refused},
        {"not a WAVE file",
         {'O', 'g', 'g', 'S', 0, 0, 0, 0, 0, 0, 0, 0},
         "Error!!! - CWaveFile::ReadMMIO - mmioFOURCC\nError!!! - CWaveFile::Open - ReadMMIO\n"
         "Failed to open the sound file\n"},
    };
    for (const Load_Failure& c : cases)
    {
        SCOPED_TRACE(c.name);
        folder.Put("bad.wav", c.file);
        log.Clear();
        EXPECT_EQ(sound.Load("bad.wav", SOUND_2D), nullptr);
        EXPECT_EQ(log.Text(), std::string("Sound \"data/sounds/bad.wav\" loading from disk... ") + c.log +
                                  "Sound_System::Load - Error - Unable to load 2d sound \"bad.wav\"\n");
    }
    log.Clear();
    EXPECT_EQ(sound.Load("missing.wav", SOUND_3D), nullptr);
    EXPECT_EQ(log.Text(),
              "Sound \"data/sounds/missing.wav\" loading from disk... Failed to open the sound file\n"
              "Sound_System::Load - Error - Unable to load 3d sound \"missing.wav\"\n");
    EXPECT_EQ(sound.Load("missing.wav", 2), nullptr);
    EXPECT_EQ(sound.Get_Cached(0), nullptr);
}
} // namespace
