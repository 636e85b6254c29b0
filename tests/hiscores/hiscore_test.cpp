// Hiscore tables: the insertion rule, the scrambled file both ways, short and broken files, a save killed
// half-way, and the name entry with its two-player order.
#include "engine/core/vorta_timer.h"
#include "game/app/app.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
// Runs the test inside a scratch folder, so the files a table or an App saves land there.
class In_Scratch_Folder : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_previous = fs::current_path();
        fs::current_path(m_folder.Path());
    }
    void TearDown() override { fs::current_path(m_previous); }

    test_support::Scratch_Folder m_folder;
    fs::path m_previous;
};

Hiscore_Table Easy_Defaults()
{
    Hiscore_Table table;
    Default_Hiscores(table, 80000, 5000);
    return table;
}
} // namespace

TEST(HiscoreTableTest, DefaultsCountDownByStepAndLevelFromTwenty)
{
    Hiscore_Table normal;
    Default_Hiscores(normal, 120000, 7500);
    EXPECT_EQ(normal.rows[0].score, 120000);
    EXPECT_EQ(normal.rows[15].score, 7500);
    EXPECT_EQ(normal.rows[0].level, 20);
    EXPECT_EQ(normal.rows[15].level, 5);
    Hiscore_Table steep;
    Default_Hiscores(steep, 10000, 5000);
    EXPECT_EQ(steep.rows[2].score, 0);
    EXPECT_EQ(steep.rows[15].score, 0) << "scores below 0 become 0";
    for (const Hiscore_Entry& row : normal.rows)
    {
        const size_t length = std::strlen(row.name);
        EXPECT_GE(length, 3u);
        EXPECT_LE(length, 10u);
        for (size_t i = 0; i < length; ++i)
            EXPECT_TRUE((row.name[i] >= 'A' && row.name[i] <= 'Z') ||
                        (row.name[i] >= '0' && row.name[i] <= '9'))
                << row.name;
    }
}

TEST(HiscoreTableTest, InsertionRule)
{
    struct Case
    {
        int32_t score;
        int expected_row;
    } cases[] = {
        {5000, -1}, // ties with row 15, the scores already there stay above
        {5001, 15}, // one point above the last
        {80001, 0}, // one point above the top
        {80000, 1}, // ties with the top: goes below it
        {0, -1},    // never enters a table of scores of 0 or more
        {-5, -1},
    };
    for (const Case& c : cases)
    {
        Hiscore_Table table = Easy_Defaults();
        const Hiscore_Entry old_top = table.rows[0];
        const Hiscore_Entry old_14 = table.rows[14];
        EXPECT_EQ(Insert_Hiscore(table, c.score, 0), c.expected_row) << c.score;
        if (c.expected_row == 0)
        {
            EXPECT_EQ(table.rows[0].score, c.score);
            EXPECT_STREQ(table.rows[0].name, "A");
            EXPECT_EQ(table.rows[0].level, 0) << "a game ended on the first level stands with level 0";
            EXPECT_EQ(table.rows[1].score, old_top.score);
            EXPECT_STREQ(table.rows[1].name, old_top.name);
            EXPECT_EQ(table.rows[15].score, old_14.score) << "the old row 15 is gone";
        }
    }
}

TEST(HiscoreTableTest, ScrambleRoundTripAndAHandWrittenFile)
{
    // Row 0 of a table by hand: score 1234567 (0x0012D687), level 3, name "ZED"; the other rows empty.
    uint8_t plain[HISCORE_FILE_SIZE] = {};
    const uint8_t row0[] = {0x87, 0xD6, 0x12, 0x00, 0x03, 0x00, 0x00, 0x00, 'Z', 'E', 'D'};
    std::memcpy(plain, row0, sizeof row0);

    Hiscore_Table table = Easy_Defaults();
    table.rows[0] = {1234567, 3, "ZED"};
    for (int r = 1; r < HISCORE_ROWS; ++r)
        table.rows[r] = Hiscore_Entry();
    uint8_t written[HISCORE_FILE_SIZE];
    Write_Hiscores(table, written);
    EXPECT_EQ(0, std::memcmp(written, plain, sizeof plain));

    // Scrambling swaps the halves of each byte and mixes in (key x offset) x 86: byte 0 has no key part.
    uint8_t scrambled[HISCORE_FILE_SIZE];
    std::memcpy(scrambled, plain, sizeof plain);
    Scramble_Hiscores(scrambled, HISCORE_FILE_SIZE);
    EXPECT_EQ(scrambled[0], 0x78);
    EXPECT_NE(0, std::memcmp(scrambled, plain, sizeof plain));
    int unchanged = 0;
    for (int i = 0; i < HISCORE_FILE_SIZE; ++i)
        unchanged += scrambled[i] == plain[i];
    EXPECT_LT(unchanged, HISCORE_FILE_SIZE / 8) << "zero filler must not stay readable as zeros";
    Unscramble_Hiscores(scrambled, HISCORE_FILE_SIZE);
    EXPECT_EQ(0, std::memcmp(scrambled, plain, sizeof plain));
}

TEST_F(In_Scratch_Folder, FileRoundTripShortFilesAndMissingFiles)
{
    Hiscore_Table table = Easy_Defaults();
    Insert_Hiscore(table, 99999, 7);
    std::strcpy(table.rows[0].name, "ABCDEFGHIJKL");
    ASSERT_TRUE(Save_Hiscores(table, "hiscores easy.dat"));
    EXPECT_EQ(fs::file_size("hiscores easy.dat"), 384u);
    EXPECT_FALSE(fs::exists("hiscores easy.dat.new"));

    Hiscore_Table loaded;
    Load_Hiscores(loaded, "hiscores easy.dat", 1, 1);
    for (int r = 0; r < HISCORE_ROWS; ++r)
    {
        EXPECT_EQ(loaded.rows[r].score, table.rows[r].score) << r;
        EXPECT_EQ(loaded.rows[r].level, table.rows[r].level) << r;
        EXPECT_STREQ(loaded.rows[r].name, table.rows[r].name) << r;
    }

    // A file cut after one and a half records: row 0 from the file, the rest the defaults.
    std::string bytes = test_support::Read_File("hiscores easy.dat");
    test_support::Write_File("short.dat", bytes.substr(0, 31));
    Load_Hiscores(loaded, "short.dat", 80000, 5000);
    EXPECT_EQ(loaded.rows[0].score, 99999);
    EXPECT_EQ(loaded.rows[1].score, 75000);
    EXPECT_STREQ(loaded.rows[1].name, Easy_Defaults().rows[1].name);

    // Names without a zero byte are cut at 12 characters.
    uint8_t plain[HISCORE_FILE_SIZE];
    std::memset(plain, 'Q', sizeof plain);
    Scramble_Hiscores(plain, HISCORE_FILE_SIZE);
    test_support::Write_File("garbage.dat", std::string(reinterpret_cast<char*>(plain), sizeof plain));
    Load_Hiscores(loaded, "garbage.dat", 80000, 5000);
    for (const Hiscore_Entry& row : loaded.rows)
        EXPECT_STREQ(row.name, "QQQQQQQQQQQQ");

    // No file: the defaults.
    fs::remove("hiscores easy.dat");
    Load_Hiscores(loaded, "hiscores easy.dat", 80000, 5000);
    EXPECT_EQ(loaded.rows[0].score, 80000);
}

TEST_F(In_Scratch_Folder, ASaverKilledAtAnyMomentLeavesAWholeTable)
{
    Hiscore_Table old_table = Easy_Defaults();
    ASSERT_TRUE(Save_Hiscores(old_table, "hiscores easy.dat"));
    Hiscore_Table new_table = Easy_Defaults();
    Insert_Hiscore(new_table, 1000000, 9);

    for (int round = 0; round < 20; ++round)
    {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
        {
            for (;;)
            {
                Save_Hiscores(new_table, "hiscores easy.dat");
                Save_Hiscores(old_table, "hiscores easy.dat");
            }
        }
        usleep(1000 + round * 397);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        ASSERT_EQ(fs::file_size("hiscores easy.dat"), 384u) << round;
        Hiscore_Table loaded;
        Load_Hiscores(loaded, "hiscores easy.dat", 1, 1);
        EXPECT_TRUE(loaded.rows[0].score == 1000000 || loaded.rows[0].score == 80000) << loaded.rows[0].score;
        EXPECT_EQ(loaded.rows[15].score, loaded.rows[0].score == 1000000 ? 10000 : 5000);
    }
}

namespace
{
// An App without a window, for the name entry; time moves on 0.1 s per step.
class Name_Entry_Test : public In_Scratch_Folder
{
  protected:
    void SetUp() override
    {
        In_Scratch_Folder::SetUp();
        app = new App();
        Default_Hiscores(app->hiscores[DIFFICULTY_EASY], 80000, 5000);
        Default_Hiscores(app->hiscores[DIFFICULTY_NORMAL], 120000, 7500);
        app->difficulty = DIFFICULTY_EASY;
        app->hiscore_table = &app->hiscores[DIFFICULTY_EASY];
        app->game_state = STATE_HISCORE_ENTRY;
    }
    void TearDown() override
    {
        delete app;
        In_Scratch_Folder::TearDown();
    }

    // One frame with the stick at (x, y) and fire held for `fire` frames, after the repeat time.
    void Step(float x, float y, int fire = 0)
    {
        g_vorta_clock.now += g_vorta_clock.frequency / 9;
        app->controls.x = x;
        app->controls.y = y;
        app->controls.fire_frames = fire;
        app->Name_Entry_Update();
    }
    const char* Name() const { return app->hiscore_table->rows[app->new_entry_row].name; }

    App* app = nullptr;
};
} // namespace

TEST_F(Name_Entry_Test, LettersWrapNamesGrowToTwelveAndShrinkFromTheEnd)
{
    app->new_entry_row = Insert_Hiscore(*app->hiscore_table, 90000, 4);
    ASSERT_EQ(app->new_entry_row, 0);
    app->name_cursor = 0;
    Step(0, -1);
    EXPECT_STREQ(Name(), "Z") << "down on A gives Z";
    Step(0, 1);
    EXPECT_STREQ(Name(), "A") << "up on Z gives A";
    Step(-1, 0);
    EXPECT_STREQ(Name(), "A") << "left on the first letter changes nothing";
    EXPECT_EQ(app->name_cursor, 0);
    for (int i = 0; i < 12; ++i)
        Step(1, 0);
    EXPECT_STREQ(Name(), "AAAAAAAAAAAA")
        << "eleven pushes right make twelve letters; the twelfth does nothing";
    EXPECT_EQ(app->name_cursor, 11);
    for (int i = 0; i < 7; ++i)
        Step(-1, 0);
    EXPECT_STREQ(Name(), "AAAAA");
    Step(-1, 0);
    EXPECT_STREQ(Name(), "AAAA") << "left on the fifth letter removes it";
    EXPECT_EQ(app->name_cursor, 3);

    // Without the repeat time having passed, the stick does nothing.
    app->repeat_timer.Start(10.0f);
    app->controls.x = 1.0f;
    app->Name_Entry_Update();
    EXPECT_STREQ(Name(), "AAAA");
}

TEST_F(Name_Entry_Test, TwoPlayersEnterInTurnAndTheTableIsSavedAtEachConfirm)
{
    app->players[0].score = 85000;
    app->players[1].score = 82000;
    app->players[1].level = 2;
    app->current_player_index = 0;
    app->player = &app->players[0];
    app->new_entry_row = Insert_Hiscore(*app->hiscore_table, 85000, 0);
    app->name_cursor = 0;
    ASSERT_EQ(app->new_entry_row, 0);

    Step(0, 1);    // B
    Step(1, 0);    // BA
    Step(0, 1, 1); // BB, confirmed
    EXPECT_STREQ(app->hiscore_table->rows[0].name, "BB");
    EXPECT_EQ(app->game_state, STATE_HISCORE_ENTRY) << "the second player enters next";
    EXPECT_EQ(app->current_player_index, 1);
    EXPECT_EQ(app->new_entry_row, 1) << "compared with the table that already holds the first entry";
    EXPECT_EQ(app->name_cursor, 0);
    EXPECT_STREQ(Name(), "A");
    EXPECT_EQ(app->hiscore_table->rows[1].level, 2);

    Hiscore_Table on_disk;
    Load_Hiscores(on_disk, "hiscores easy.dat", 1, 1);
    EXPECT_STREQ(on_disk.rows[0].name, "BB") << "saved as soon as the name was confirmed";

    Step(0, 0, 1);
    EXPECT_EQ(app->game_state, STATE_HISCORES);
    EXPECT_FALSE(app->state_timer.Expired());
    Load_Hiscores(on_disk, "hiscores easy.dat", 1, 1);
    EXPECT_STREQ(on_disk.rows[1].name, "A");
}

TEST_F(Name_Entry_Test, ASecondPlayerWithoutAPlaceEndsTheEntry)
{
    app->players[1].score = 10; // below every row
    app->current_player_index = 0;
    app->player = &app->players[0];
    app->new_entry_row = Insert_Hiscore(*app->hiscore_table, 85000, 0);
    Step(0, 0, 1);
    EXPECT_EQ(app->game_state, STATE_HISCORES);
}
