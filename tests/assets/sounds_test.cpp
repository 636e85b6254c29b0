// Sound effects made by the builder load through the sound system as the game loads them.
#include "asset_files.h"
#include "engine/audio/sound.h"
#include "engine/audio/sound_system.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

using asset_test::Load_Wave;
using asset_test::Run_Builder;
using test_support::Read_File;
using test_support::Scratch_Folder;
namespace fs = std::filesystem;

TEST(Sounds, EveryEffectLoadsThroughTheSoundSystem)
{
    // The data folder's effects and the fixtures', side by side in data/sounds of a scratch folder.
    Scratch_Folder folder;
    ASSERT_EQ(Run_Builder(VORTA5_TEST_SOURCES, folder.Path() / "data").exit_code, 0);
    fs::path game_sounds = fs::path(VORTA5_RUNTIME_DIR) / "data/sounds";
    if (fs::exists(game_sounds))
        fs::copy(game_sounds, folder.Path() / "data/sounds",
                 fs::copy_options::recursive | fs::copy_options::skip_existing);
    fs::path previous = fs::current_path();
    fs::current_path(folder.Path());

    static const char window = 0;
    Sound_System sound;
    sound.Init(&window);
    ASSERT_TRUE(sound.Is_Allocated());
    int effects = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator("data/sounds"))
    {
        if (entry.path().extension() != ".wav")
            continue;
        ++effects;
        std::string name = fs::relative(entry.path(), "data/sounds").generic_string();
        auto pcm = Load_Wave(entry.path().string());
        CSound* effect = sound.Load(name.c_str(), 0);
        ASSERT_NE(effect, nullptr) << name;
        EXPECT_EQ(effect->Get_Sample_Rate(), static_cast<uint32_t>(pcm.rate)) << name;
        EXPECT_EQ(effect->Get_Channels(), pcm.channels) << name;
        EXPECT_EQ(effect->Get_Data_Size(), pcm.samples.size() * 2) << name;
        EXPECT_NEAR(effect->Get_Length(), static_cast<double>(pcm.samples.size()) / pcm.channels / pcm.rate,
                    1e-4)
            << name;
    }
    EXPECT_GE(effects, 1);
    std::string log = Read_File("sys_log.txt");
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    EXPECT_EQ(log.find("Failed"), std::string::npos) << log;
    fs::current_path(previous);
}
