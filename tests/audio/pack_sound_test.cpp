// A sound in the data pack is read from memory and never from the disk.
#include "audio_test_folder.h"
#include "engine/audio/sound.h"
#include "engine/audio/sound_system.h"
#include "engine/core/vorta_engine.h"
#include "support/requirements.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace test_support;

TEST(PackSoundTest, APackedSoundIsReadFromTheResource)
{
    if (!Have_Display()) // for the engine's start-up, which opens the pack
        VORTA5_SKIP() << "no display to start the engine on";
    Sound_Folder folder;
    folder.Put("laser.wav", Sine_Wave_File(440, 22050, 0.25));
    ASSERT_EQ(std::system("7z a -bso0 -bsp0 data.7z data/sounds/laser.wav"), 0);
    // What lies on the disk under that name is not a WAVE file at all.
    Write_File(folder.Sound_Path("laser.wav"), "not a wave file");

    Vorta_Engine engine;
    ASSERT_TRUE(engine.Init("", "config.txt"));
    ASSERT_GT(engine.Pack_File_Size("data/sounds/laser.wav"), 0u);
    Log_Capture log;
    Sound_System sound;
    sound.Init(Test_Window());
    log.Clear();
    CSound* laser = sound.Load("laser.wav", SOUND_2D);
    ASSERT_NE(laser, nullptr);
    EXPECT_EQ(log.Text(), "Sound \"data/sounds/laser.wav\" loading from resource... OK\n");
    EXPECT_EQ(laser->Get_Data_Size(), 5512u * 2);
}
