// What a recording keeps of the game besides its input: the header written from one game sets another up
// the same, what a header leaves out takes the defaults, bad lines are refused; and the trace line.
#include "engine/input/input_recording.h"
#include "game/app/app.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using test_support::Read_File;
using test_support::Scratch_Folder;

namespace
{
// An App without a window, as the play tests make it; it leaves no files behind.
struct Quiet_App : App
{
    Quiet_App() { save_files = false; }
};

std::string Header_Of(const App& app, const Scratch_Folder& folder)
{
    const std::string file = folder.File("header.txt");
    Input_Recorder recorder;
    EXPECT_TRUE(recorder.Open(file.c_str()));
    app.Write_Run_Header(recorder);
    EXPECT_TRUE(recorder.Finish());
    return Read_File(file);
}

bool Apply(App& app, const std::string& text, std::string& error)
{
    Input_Playback playback;
    if (!playback.Load_Text(text, error))
        return false;
    char reason[512] = {};
    const bool ok = app.Apply_Run_Header(playback, reason, sizeof reason);
    error = reason;
    return ok;
}

TEST(RunHeaderTest, AHeaderWrittenFromOneGameSetsAnotherUpTheSame)
{
    Scratch_Folder folder;
    Quiet_App recorded;
    recorded.wide_screen = false;
    recorded.difficulty = DIFFICULTY_EASY;
    const int32_t bindings[BIND_COUNT] = {203, 205, 0, 183, 57, 30, -1, 3, 7, 11};
    std::memcpy(recorded.controls.bindings, bindings, sizeof bindings);
    recorded.controls.pad_index = 2;
    recorded.controls.touch_visible = false;
    recorded.controls.stick_x = 0.125f;
    recorded.controls.stick_radius = 0.1f / 3.0f;
    recorded.controls.use_y = 0.7f;
    for (int i = 0; i < FPS_COUNT; ++i)
        recorded.anim_period[i] = 1.0f / static_cast<float>(10 + i);
    for (int table = 0; table < 2; ++table)
        for (int row = 0; row < HISCORE_ROWS; ++row)
        {
            Hiscore_Entry& entry = recorded.hiscores[table].rows[row];
            entry.score = 1000 * (table + 1) * (16 - row);
            entry.level = row;
            std::snprintf(entry.name, sizeof entry.name, "P%d\"\\ %c", row, table ? '\x7F' : 'Z');
        }
    const std::string text = Header_Of(recorded, folder);
    EXPECT_NE(text.find("\nwindow 0 0\nwide_screen 0\ndifficulty 0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\ncontrols left=left right=right up=#0 down=#183 fire=space use=a pad_x=-1 pad_y=3 "
                        "pad_fire=7 pad_use=11 pad=2 touch_visible=0 stick=0.125,0.85,0.0333333"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nhiscore normal 15 2000 15 \"P15\\x22\\x5C \\x7F\"\n"), std::string::npos) << text;

    Quiet_App replayed;
    std::string error;
    ASSERT_TRUE(Apply(replayed, text, error)) << error << "\n" << text;
    EXPECT_FALSE(replayed.wide_screen);
    EXPECT_EQ(replayed.ground_y, 0.905f) << "the play constants follow the flag";
    EXPECT_EQ(replayed.difficulty, DIFFICULTY_EASY);
    EXPECT_EQ(replayed.hiscore_table, &replayed.hiscores[DIFFICULTY_EASY]);
    EXPECT_STREQ(g_difficulty_text, "EASY");
    for (int i = 0; i < BIND_COUNT; ++i)
        EXPECT_EQ(replayed.controls.bindings[i], bindings[i]) << i;
    // No window, so no pad is selected; the index stays as recorded.
    EXPECT_EQ(replayed.controls.pad_index, 2);
    EXPECT_EQ(replayed.controls.pad, nullptr);
    EXPECT_FALSE(replayed.controls.touch_visible);
    EXPECT_EQ(replayed.controls.stick_x, 0.125f);
    EXPECT_EQ(replayed.controls.stick_radius, recorded.controls.stick_radius);
    EXPECT_EQ(replayed.controls.use_y, 0.7f);
    for (int i = 0; i < FPS_COUNT; ++i)
        EXPECT_EQ(replayed.anim_period[i], recorded.anim_period[i]) << i;
    for (int table = 0; table < 2; ++table)
        for (int row = 0; row < HISCORE_ROWS; ++row)
        {
            const Hiscore_Entry& a = recorded.hiscores[table].rows[row];
            const Hiscore_Entry& b = replayed.hiscores[table].rows[row];
            EXPECT_EQ(b.score, a.score);
            EXPECT_EQ(b.level, a.level);
            EXPECT_STREQ(b.name, a.name);
        }
    EXPECT_EQ(Header_Of(replayed, folder), text) << "written again, the same header";
}

TEST(RunHeaderTest, WhatAHeaderLeavesOutTakesTheDefaults)
{
    Quiet_App defaults;
    Quiet_App replayed;
    replayed.wide_screen = false;
    replayed.difficulty = DIFFICULTY_EASY;
    replayed.controls.bindings[BIND_FIRE] = 57;
    replayed.controls.dead_zone = 0.5f;
    replayed.anim_period[3] = 1.0f;
    replayed.hiscores[1].rows[0].score = 5;
    std::string error;
    ASSERT_TRUE(Apply(replayed, "kestrova-demo 1\ncontrols up=#17\n", error)) << error;
    EXPECT_TRUE(replayed.wide_screen);
    EXPECT_EQ(replayed.ground_y, 0.88f);
    EXPECT_EQ(replayed.difficulty, DIFFICULTY_NORMAL);
    EXPECT_STREQ(g_difficulty_text, "NORMAL");
    EXPECT_EQ(0, std::memcmp(replayed.controls.bindings, defaults.controls.bindings,
                             sizeof defaults.controls.bindings));
    EXPECT_EQ(replayed.controls.dead_zone, defaults.controls.dead_zone);
    EXPECT_EQ(replayed.anim_period[3], 0.03125f);
    // The default tables, as a game without its hiscore files has them.
    EXPECT_EQ(replayed.hiscores[1].rows[0].score, 120000);
    EXPECT_EQ(replayed.hiscores[0].rows[15].score, 5000);
    EXPECT_EQ(replayed.hiscores[1].rows[15].level, 5);
}

TEST(RunHeaderTest, HeaderLinesThatCannotBeReadAreRefused)
{
    struct Case
    {
        const char* line;
        const char* error;
    } cases[] = {
        {"wide_screen yes", "wide_screen is 0 or 1"},
        {"wide_screen 2", "wide_screen is 0 or 1"},
        {"difficulty 3", "difficulty is 0 (easy) or 1 (normal)"},
        {"controls left=nokey", "a controls item cannot be read: left=nokey"},
        {"controls left=#256", "a controls item cannot be read"},
        {"controls pad_x=x", "a controls item cannot be read"},
        {"controls pad=-1", "a controls item cannot be read"},
        {"controls stick=1,2", "a controls item cannot be read: stick=1,2"},
        {"controls touch_visible=true", "a controls item cannot be read"},
        {"controls jump=1", "a controls item cannot be read: jump=1"},
        {"animation 0.1 0.1", "animation holds 14 periods above 0"},
        {"animation 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "animation holds 14 periods above 0"},
        {"hiscore hard 0 1 1 \"A\"", "a hiscore line is"},
        {"hiscore easy 16 1 1 \"A\"", "a hiscore line is"},
        {"hiscore easy 0 1 1 A", "a hiscore line is"},
        {"hiscore easy 0 1 1 \"ABCDEFGHIJKLM\"", "a hiscore line is"},
        {"hiscore easy 0 1 1 \"A\\x00\"", "a hiscore line is"},
    };
    for (const Case& c : cases)
    {
        Quiet_App app;
        std::string error;
        EXPECT_FALSE(Apply(app, std::string("kestrova-demo 1\n") + c.line + "\n", error)) << c.line;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.line << " gave: " << error;
    }
}

TEST(RunHeaderTest, TheTraceLineHoldsTheFramesState)
{
    Quiet_App app;
    app.game_state = STATE_DRIVING;
    app.current_player_index = 1;
    app.player = &app.players[1];
    app.players[0].score = 1200;
    app.players[1].score = 3000;
    app.players[0].lives = 2;
    app.players[1].lives = 3;
    app.players[1].level = 4;
    app.players[1].pilot_x = 12.5f;
    app.players[1].pilot_y = 0.88f;
    app.players[1].buggy_x = 1.0f / 3.0f;
    app.fuel = 0.25f;
    app.players[1].objects[7].state = OBJECT_ALIVE;
    app.players[1].objects[99].state = OBJECT_LOADED;
    app.players[0].objects[0].state = OBJECT_ALIVE; // not the current player's
    app.particles[3].sprite = SPRITE_EXPLOSION_1;
    app.plasma_balls[63].active = 1;
    app.lasers[0].active = app.lasers[1].active = 1;
    char line[512];
    app.Trace_Line(42, line, sizeof line);
    EXPECT_STREQ(line, "frame=42 state=5 player=1 score=1200,3000 lives=2,3 level=0,4 pilot=12.5,0.88 "
                       "buggy=0.33333334 fuel=0.25 objects=2 particles=1 plasma=1 lasers=2");
}
} // namespace
