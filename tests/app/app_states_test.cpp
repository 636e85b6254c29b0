// The game-state machine without a window: the attract loop's timers, the completed game's bonus, the
// animation rates read from the settings, and the saves at exit.
#include "engine/core/config_list.h"
#include "engine/core/vorta_timer.h"
#include "game/app/app.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace
{
class App_Test : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_previous = fs::current_path();
        fs::current_path(m_folder.Path());
        app = new App();
    }
    void TearDown() override
    {
        delete app;
        g_vorta_config.Clear();
        fs::current_path(m_previous);
    }
    // Frames at 60 a second for the given time.
    void Run(float seconds)
    {
        const int frames = static_cast<int>(seconds * 60.0f + 0.5f);
        for (int i = 0; i < frames; ++i)
        {
            g_vorta_clock.now += g_vorta_clock.frequency / 60;
            app->Update(nullptr);
        }
    }

    App* app = nullptr;
    test_support::Scratch_Folder m_folder;
    fs::path m_previous;
};
} // namespace

TEST_F(App_Test, HiscoresThenCreditsThenTheMenuEveryTenSeconds)
{
    app->game_state = STATE_HISCORES;
    app->state_timer.Start(10.0f);
    Run(9.9f);
    EXPECT_EQ(app->game_state, STATE_HISCORES);
    Run(0.2f);
    EXPECT_EQ(app->game_state, STATE_CREDITS);
    Run(9.9f);
    EXPECT_EQ(app->game_state, STATE_CREDITS);
    Run(0.2f);
    EXPECT_EQ(app->game_state, STATE_MENU);
    EXPECT_FALSE(app->state_timer.Expired()) << "the menu gets its own ten seconds";
}

TEST_F(App_Test, ACompletedGameEndsAfterTwentySecondsWithTheBonusAndNoExtraLife)
{
    app->game_state = STATE_COMPLETED;
    app->state_timer.Start(20.0f);
    app->player->score = 9000;
    app->player->lives = 2;
    app->player->next_extra_life = 10000;
    Run(19.9f);
    EXPECT_EQ(app->game_state, STATE_COMPLETED);
    g_vorta_clock.now += g_vorta_clock.frequency / 5;
    app->Update(nullptr);
    EXPECT_EQ(app->player->score, 34000);
    EXPECT_EQ(app->player->lives, 0);
    EXPECT_EQ(app->player->next_extra_life, 10000);
    EXPECT_NE(app->game_state, STATE_COMPLETED);
}

TEST_F(App_Test, AnimationRatesAreOneOverTheRateAndUnusableRatesTakeThirtyTwo)
{
    test_support::Write_File("config.txt",
                             "fps_meteor 16\nfps_bomb 0\nfps_saturn -4\nfps_dog fast\nFPS_GREEN_BLOCK 8\n");
    ASSERT_TRUE(Load_Config(g_vorta_config, "config.txt"));
    app->Read_Animation_Rates();
    EXPECT_FLOAT_EQ(app->anim_period[FPS_METEOR], 1.0f / 16.0f);
    EXPECT_FLOAT_EQ(app->anim_period[FPS_METEOR + 1], 1.0f / 8.0f) << "keys match without regard to case";
    EXPECT_FLOAT_EQ(app->anim_period[FPS_BOMB], 1.0f / 32.0f);
    EXPECT_FLOAT_EQ(app->anim_period[FPS_METEOR + 11], 1.0f / 32.0f);
    EXPECT_FLOAT_EQ(app->anim_period[FPS_METEOR + 7], 1.0f / 32.0f);
    EXPECT_FLOAT_EQ(app->anim_period[FPS_TELEPORTER], 1.0f / 32.0f) << "absent";
}

TEST_F(App_Test, ExitSavesBothHiscoreTablesAndTheSettingsWhenAResolutionIsChosen)
{
    delete app;
    app = nullptr;
    EXPECT_TRUE(fs::exists("hiscores easy.dat"));
    EXPECT_TRUE(fs::exists("hiscores normal.dat"));
    EXPECT_FALSE(fs::exists("config.txt")) << "nothing selected, nothing written";

    app = new App();
    app->display.list = new Resolution_Entry{0, 1280, 720, nullptr};
    app->display.selected = app->display.list;
    delete app;
    app = nullptr;
    EXPECT_EQ(test_support::Read_File("config.txt").substr(0, 16), "device        0\r");
    app = new App();
}
