// An App without a window for tests of the rules of play: it runs in a scratch folder (the App saves its
// files there at the end), with one level of the test's own, and moves the clock on frame by frame.
#pragma once
#include "engine/core/vorta_timer.h"
#include "game/app/app.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

class Play_Test : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder.Path());
        app = new App();
        app->levels = new Level_Record[3]();
        app->level_count = 3;
        app->current_level = app->levels;
        app->game_state = STATE_ON_FOOT;
        app->player->pilot_x = 50.0f;
        app->player->pilot_y = app->ground_y;
        app->player->buggy_x = 50.0f;
        app->player->buggy_y = 0.858f;
        app->player->lives = 3;
    }
    void TearDown() override
    {
        delete app;
        std::filesystem::current_path(m_previous);
    }
    // Moves the clock on by one frame at 60 a second.
    static void Tick(int frames = 1) { g_vorta_clock.now += frames * (g_vorta_clock.frequency / 60); }
    int Count(int type) const
    {
        int n = 0;
        for (const Game_Object& object : app->player->objects)
            n += object.state != OBJECT_FREE && object.type == type;
        return n;
    }
    int Live_Objects() const
    {
        int n = 0;
        for (const Game_Object& object : app->player->objects)
            n += object.state != OBJECT_FREE;
        return n;
    }

    App* app = nullptr;
    test_support::Scratch_Folder m_folder;
    std::filesystem::path m_previous;
};
