// CSound_2d voices on the null output device: picking free voices in rotation, all busy, volumes,
// frequency and stopping.
#include "audio_test_folder.h"
#include "engine/audio/sound.h"
#include "engine/audio/sound_system.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace
{
TEST(SoundVolumeTest, PlayVolumeIsLogarithmicAndClamped)
{
    const struct
    {
        float volume;
        int32_t attenuation;
    } cases[] = {{1.0f, 0},       {2.0f, 0},        {0.5f, -1505},  {0.1f, -5000},
                 {0.01f, -10000}, {0.005f, -10000}, {0.0f, -10000}, {-1.0f, -10000}};
    for (const auto& c : cases)
        EXPECT_EQ(Sound_Attenuation(c.volume), c.attenuation) << "volume " << c.volume;
}

class VoiceTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        sound.Init(Test_Window());
        // Long enough to stay playing for the whole test.
        folder.Put("long.wav", Sine_Wave_File(440, 8000, 5.0));
        effect = dynamic_cast<CSound_2d*>(sound.Load("long.wav", SOUND_2D));
        ASSERT_NE(effect, nullptr);
    }
    Sound_Folder folder;
    Sound_System sound;
    CSound_2d* effect = nullptr;
};

TEST_F(VoiceTest, FreeVoicesAreTakenInRotationUntilAllAreBusy)
{
    EXPECT_EQ(effect->Get_Current_Voice(), 254);
    EXPECT_FALSE(effect->Is_Voice_Playing());
    for (int i = 0; i < CSound_2d::VOICES; ++i)
        ASSERT_EQ(effect->Play(1.0f), i);
    EXPECT_EQ(effect->Play(1.0f), CSound_2d::ALL_BUSY);
    EXPECT_EQ(effect->Play_Looped(1.0f), CSound_2d::ALL_BUSY);
    EXPECT_EQ(effect->Find_Free_Voice(), CSound_2d::ALL_BUSY);
    EXPECT_EQ(effect->Get_Current_Voice(), 31);

    // The search starts at the last voice used and wraps round.
    effect->Stop_Voice(5);
    effect->Stop_Voice(20);
    EXPECT_EQ(effect->Play(1.0f), 5);
    EXPECT_EQ(effect->Play(1.0f), 20);
    EXPECT_EQ(effect->Play(1.0f), CSound_2d::ALL_BUSY);

    effect->Stop_Voice(32);
    for (int i = 0; i < CSound_2d::VOICES; ++i)
        EXPECT_FALSE(effect->Is_Voice_Playing(i));
    EXPECT_FALSE(effect->Is_Playing());
}

TEST_F(VoiceTest, APinnedLoopingVoiceKeepsItsVolumeAndBendsItsPitch)
{
    ASSERT_FALSE(effect->Is_Voice_Playing(0));
    EXPECT_EQ(effect->Play_Looped(0.1f, 0), 0);
    EXPECT_TRUE(effect->Is_Voice_Playing(0));
    EXPECT_TRUE(effect->Get_Voice(0).Is_Looping());
    EXPECT_EQ(effect->Get_Voice(0).Get_Volume(), -5000);

    EXPECT_EQ(effect->Set_Voice_Frequency(effect->Get_Sample_Rate() + 500, 0), 0);
    EXPECT_EQ(effect->Get_Voice(0).Get_Frequency(), 8500u);
    EXPECT_EQ(effect->Set_Voice_Frequency(9000), 0); // 255: the current voice
    EXPECT_EQ(effect->Get_Voice(0).Get_Frequency(), 9000u);
    EXPECT_EQ(effect->Get_Voice(1).Get_Frequency(), 8000u);

    // A one-shot on voice 255 does not take the pinned voice.
    EXPECT_EQ(effect->Play(1.0f), 1);
    EXPECT_EQ(effect->Get_Voice(1).Get_Volume(), 0);
    EXPECT_FALSE(effect->Get_Voice(1).Is_Looping());

    // Playing a voice again starts it over with the new volume.
    EXPECT_EQ(effect->Play(0.0f, 0), 0);
    EXPECT_EQ(effect->Get_Voice(0).Get_Volume(), -10000);
    EXPECT_FALSE(effect->Get_Voice(0).Is_Looping());
}

TEST_F(VoiceTest, TheLoadedBuffersOwnControlsAreLinear)
{
    effect->Set_Volume(0.5f);
    EXPECT_EQ(effect->Get_Buffer().Get_Volume(), -5000);
    effect->Set_Volume(0.0f);
    EXPECT_EQ(effect->Get_Buffer().Get_Volume(), -10000);
    effect->Set_Frequency(11025);
    EXPECT_EQ(effect->Get_Frequency(), 11025u);
    effect->Set_Frequency(0); // back to the samples' own rate
    EXPECT_EQ(effect->Get_Frequency(), 8000u);
}

TEST_F(VoiceTest, VoiceIndicesOutsideTheTablePlayNothing)
{
    EXPECT_EQ(effect->Play(1.0f, 40), CSound_2d::ALL_BUSY);
    EXPECT_EQ(effect->Play(1.0f, -1), CSound_2d::ALL_BUSY);
    EXPECT_FALSE(effect->Is_Voice_Playing(40));
    EXPECT_EQ(effect->Set_Voice_Frequency(9000, 40), 254);
    EXPECT_EQ(effect->Get_Current_Voice(), 254);

    CSound_2d empty(&sound);
    EXPECT_EQ(empty.Play(1.0f), CSound_2d::ALL_BUSY);
    EXPECT_FALSE(empty.Is_Voice_Playing(0));
}

TEST_F(VoiceTest, SoundsMadeFromMemoryHaveNoNameAndPlay)
{
    std::vector<uint8_t> samples = Sine_16(440, 22050, 0.5);
    platform::Wave_Format format{platform::WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    Log_Capture log;
    CSound_2d made(&sound);
    ASSERT_TRUE(made.Create_From_Memory(samples.data(), static_cast<uint32_t>(samples.size()), format,
                                        platform::SOUND_CTRL_VOLUME | platform::SOUND_CTRL_FREQUENCY));
    EXPECT_EQ(log.Text(), "  importing sample data...Ok\n  done\n\n  done\n\n");
    EXPECT_EQ(made.Get_Name(), nullptr);
    EXPECT_EQ(made.Get_Sample_Rate(), 22050u);
    EXPECT_EQ(made.Play(1.0f), 0);
    EXPECT_TRUE(made.Is_Voice_Playing());
}
} // namespace
