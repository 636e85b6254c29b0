// The level script: every token into its field in any case, the defaults, bad and missing words logged and
// skipped without writing outside the table, the fatal box without a script, and the moves from level to
// level up to the completed game.
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_timer.h"
#include "game/app/app.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace
{
namespace fs = std::filesystem;
using test_support::Read_File;
using test_support::Write_File;

// Each test in a scratch folder of its own, holding its "data/levels.txt" and the log.
class Level_Script_Test : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_previous = fs::current_path();
        fs::create_directories(m_folder.Path() / "data");
        fs::current_path(m_folder.Path());
        g_vorta_log.Set_Flags(LOG_FILE);
        Write_File("sys_log.txt", "");
        app = std::make_unique<App>();
    }
    void TearDown() override
    {
        app.reset();
        fs::current_path(m_previous);
    }
    // Writes the script and loads it; the log lines the load wrote.
    std::string Load(const std::string& script)
    {
        Write_File("data/levels.txt", script);
        Write_File("sys_log.txt", "");
        app->Load_Levels();
        return Read_File("sys_log.txt");
    }

    std::unique_ptr<App> app;

  private:
    test_support::Scratch_Folder m_folder;
    fs::path m_previous;
};

// A script that sets every field of two levels to a value of its own.
const char* const k_full_script = "teleport1 4.5\nteleport2 40\ngun 41.25\nmax_level 2\n"
                                  "level 1\nlocation 7.5\nfire_rate 200\n"
                                  "max_meteor 1 max_green_block 2 max_bounce 3 max_cross 4 max_spinner 5\n"
                                  "max_sparkle 6 max_blob 7 max_dog 8 max_magnetic 9 max_tubular 10\n"
                                  "max_shooter 11 max_saturn 12\n"
                                  "level 2\nlocation -3.25\nfire_rate 5\nmax_saturn 99\n";

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// Every other letter upper case.
std::string Mixed(std::string text)
{
    for (size_t i = 0; i < text.size(); i += 2)
        text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    return text;
}

TEST_F(Level_Script_Test, EveryTokenFillsItsOwnFieldInAnyCase)
{
    for (const std::string& script : {std::string(k_full_script), Upper(k_full_script), Mixed(k_full_script)})
    {
        SCOPED_TRACE(script);
        app = std::make_unique<App>();
        EXPECT_EQ(Load(script), "");
        ASSERT_EQ(app->level_count, 2);
        ASSERT_NE(app->levels, nullptr);
        EXPECT_FLOAT_EQ(app->teleport_x1, 4.5f);
        EXPECT_FLOAT_EQ(app->teleport_x2, 40.0f);
        EXPECT_FLOAT_EQ(app->gun_x, 41.25f);

        const Level_Record& first = app->levels[0];
        EXPECT_FLOAT_EQ(first.location, 7.5f);
        EXPECT_EQ(first.fire_rate, 200);
        EXPECT_EQ(first.unused[0], 0);
        EXPECT_EQ(first.unused[1], 0);
        for (int kind = 0; kind < ALIEN_KINDS; ++kind)
            EXPECT_EQ(first.max_aliens[kind], kind + 1) << "kind " << kind;

        const Level_Record& second = app->levels[1];
        EXPECT_FLOAT_EQ(second.location, -3.25f);
        EXPECT_EQ(second.fire_rate, 5);
        EXPECT_EQ(second.max_aliens[OBJ_SATURN], 99);
        for (int kind = 0; kind < OBJ_SATURN; ++kind)
            EXPECT_EQ(second.max_aliens[kind], 0) << "a maximum the level does not name is 0";
    }
}

TEST_F(Level_Script_Test, PositionsKeepTheirDefaultsUnlessSetAndNumbersReadAsWritten)
{
    EXPECT_EQ(Load("max_level 1\nlevel 1\nlocation 12\nmax_dog 3\nmax_meteor 2\n"), "");
    EXPECT_FLOAT_EQ(app->teleport_x1, 2.2f);
    EXPECT_FLOAT_EQ(app->teleport_x2, 30.0f);
    EXPECT_FLOAT_EQ(app->gun_x, 30.04f);
    EXPECT_FLOAT_EQ(app->levels[0].location, 12.0f) << "an integer word is a number";
    EXPECT_EQ(app->levels[0].max_aliens[OBJ_DOG], 3);
    EXPECT_EQ(app->levels[0].max_aliens[OBJ_METEOR], 2);
    EXPECT_EQ(app->levels[0].max_aliens[OBJ_BLOB], 0);
    EXPECT_EQ(app->levels[0].fire_rate, 0);
}

TEST_F(Level_Script_Test, AWordThatIsNoTokenIsLoggedWithTheLevelNumberAndSoIsItsValue)
{
    const std::string log = Load("max_level 2\nlevel 1\nmax_meteor 4\nlevel 2\nmax_metor 5\nmax_blob 6\n");
    EXPECT_EQ(log, "Level 2 - Unrecognised script token \"max_metor\"\r\n"
                   "Level 2 - Unrecognised script token \"5\"\r\n");
    EXPECT_EQ(app->levels[0].max_aliens[OBJ_METEOR], 4);
    EXPECT_EQ(app->levels[1].max_aliens[OBJ_METEOR], 0);
    EXPECT_EQ(app->levels[1].max_aliens[OBJ_BLOB], 6) << "loading goes on after the bad words";

    // Before the first level token the number is 0; a quoted word is one word.
    EXPECT_EQ(Load("\"two words\" max_level 1"), "Level 0 - Unrecognised script token \"two words\"\r\n");
}

// Scripts the format does not define, and what is left of them.
struct Bad_Script
{
    const char* what;
    const char* script;
    const char* log; // the log lines, in full
    std::function<void(const App&)> check;
};

TEST_F(Level_Script_Test, BadScriptsAreLoggedAndNothingIsWrittenOutsideTheTable)
{
    const Bad_Script cases[] = {
        {"per-level tokens before any level", "max_level 2\nlocation 5\nfire_rate 9\nlevel 1\nmax_dog 1\n",
         "Level 0 - \"location\" with no level selected; ignored\r\n"
         "Level 0 - \"fire_rate\" with no level selected; ignored\r\n",
         [](const App& app)
         {
             EXPECT_EQ(app.level_count, 2);
             EXPECT_FLOAT_EQ(app.levels[0].location, 0.0f);
             EXPECT_EQ(app.levels[0].fire_rate, 0);
             EXPECT_EQ(app.levels[0].max_aliens[OBJ_DOG], 1);
         }},
        {"level numbers outside 1 to the count",
         "max_level 2\nlevel 3\nmax_dog 7\nlevel 0\nmax_dog 8\n"
         "level -1\nfire_rate 3\nlevel 2\nmax_dog 9\n",
         "Level 3 - level number outside 1 to 2; its values are ignored\r\n"
         "Level 0 - level number outside 1 to 2; its values are ignored\r\n"
         "Level -1 - level number outside 1 to 2; its values are ignored\r\n",
         [](const App& app)
         {
             EXPECT_EQ(app.levels[0].max_aliens[OBJ_DOG], 0);
             EXPECT_EQ(app.levels[0].fire_rate, 0);
             EXPECT_EQ(app.levels[1].max_aliens[OBJ_DOG], 9) << "the values after a bad level go nowhere";
         }},
        {"a level before max_level", "level 1\nmax_cross 4\nmax_level 1\nlevel 1\nmax_spinner 2\n",
         "Level 1 - level number outside 1 to 0; its values are ignored\r\n",
         [](const App& app)
         {
             EXPECT_EQ(app.level_count, 1);
             EXPECT_EQ(app.levels[0].max_aliens[OBJ_CROSS], 0);
             EXPECT_EQ(app.levels[0].max_aliens[OBJ_SPINNER], 2);
         }},
        {"negative and huge max_level",
         "max_level 2\nmax_level -1\nmax_level 1001\nmax_level 99999999999\n"
         "level 2\nmax_blob 5\n",
         "Level 0 - max_level -1 is outside 0 to 1000; ignored\r\n"
         "Level 0 - max_level 1001 is outside 0 to 1000; ignored\r\n"
         "Level 0 - max_level 2147483647 is outside 0 to 1000; ignored\r\n",
         [](const App& app)
         {
             EXPECT_EQ(app.level_count, 2) << "the last good max_level stands";
             EXPECT_EQ(app.levels[1].max_aliens[OBJ_BLOB], 5);
         }},
        {"the largest max_level", "max_level 1000\nlevel 1000\nmax_saturn 1\n", "",
         [](const App& app)
         {
             EXPECT_EQ(app.level_count, 1000);
             EXPECT_EQ(app.levels[999].max_aliens[OBJ_SATURN], 1);
         }},
        {"a second max_level replaces the table",
         "max_level 3\nlevel 3\nmax_dog 4\nmax_level 2\nmax_blob 1\n"
         "level 1\nmax_bounce 2\n",
         "Level 3 - \"max_blob\" with no level selected; ignored\r\n",
         [](const App& app)
         {
             EXPECT_EQ(app.level_count, 2);
             EXPECT_EQ(app.levels[0].max_aliens[OBJ_BOUNCE], 2);
             EXPECT_EQ(app.levels[1].max_aliens[OBJ_DOG], 0);
             EXPECT_EQ(app.levels[1].max_aliens[OBJ_BLOB], 0);
         }},
        {"no max_level at all", "teleport1 3\nlevel 1\nmax_meteor 2\n",
         "Level 1 - level number outside 1 to 0; its values are ignored\r\n"
         "No levels in \"data/levels.txt\" (max_level missing or 0); playing one empty level\r\n",
         [](const App& app)
         {
             ASSERT_EQ(app.level_count, 1);
             EXPECT_EQ(app.levels[0].max_aliens[OBJ_METEOR], 0);
             EXPECT_FLOAT_EQ(app.teleport_x1, 3.0f);
         }},
        {"max_level 0", "max_level 0\n",
         "No levels in \"data/levels.txt\" (max_level missing or 0); playing one empty level\r\n",
         [](const App& app) { EXPECT_EQ(app.level_count, 1); }},
        {"positions that are no place on the ring",
         "teleport1 inf\nteleport2 nan\ngun 1e30\nmax_level 1\nlevel 1\nlocation -1e20\n",
         "Level 0 - teleport1 inf is not a position on the ring; ignored\r\n"
         "Level 0 - teleport2 nan is not a position on the ring; ignored\r\n"
         "Level 0 - gun 1e+30 is not a position on the ring; ignored\r\n"
         "Level 1 - location -1e+20 is not a position on the ring; ignored\r\n",
         [](const App& app)
         {
             EXPECT_FLOAT_EQ(app.teleport_x1, 2.2f);
             EXPECT_FLOAT_EQ(app.teleport_x2, 30.0f);
             EXPECT_FLOAT_EQ(app.gun_x, 30.04f);
             EXPECT_FLOAT_EQ(app.levels[0].location, 0.0f);
         }},
        {"a token with no value at the end", "max_level 1\nlevel 1\nfire_rate 7\nfire_rate", "",
         [](const App& app) { EXPECT_EQ(app.levels[0].fire_rate, 7); }},
        {"a value that is no number", "max_level 1\nlevel 1\nfire_rate lots\nmax_dog 2x\n", "",
         [](const App& app)
         {
             EXPECT_EQ(app.levels[0].fire_rate, 0);
             EXPECT_EQ(app.levels[0].max_aliens[OBJ_DOG], 2);
         }},
    };
    for (const Bad_Script& c : cases)
    {
        SCOPED_TRACE(c.what);
        app = std::make_unique<App>();
        EXPECT_EQ(Load(c.script), c.log);
        ASSERT_NE(app->levels, nullptr);
        ASSERT_GE(app->level_count, 1);
        c.check(*app);
    }
}

TEST_F(Level_Script_Test, WithoutAScriptTheProgramEndsWithTheErrorBox)
{
    fs::remove("data/levels.txt");
    EXPECT_EXIT(app->Load_Levels(), ::testing::ExitedWithCode(1), "Unable to load level configuratio/r/n");
    // An empty file does not load either.
    Write_File("data/levels.txt", "");
    EXPECT_EXIT(app->Load_Levels(), ::testing::ExitedWithCode(1), "Unable to load level configuratio/r/n");
}

TEST_F(Level_Script_Test, LevelsAdvanceUpToTheLastThenTheGameIsCompleted)
{
    Load("max_level 3\nlevel 1\nmax_dog 1\nlevel 2\nmax_dog 2\nlevel 3\nmax_dog 3\n");
    app->game_state = STATE_DRIVING;
    app->player->level = 0;
    app->Select_Current_Level();
    ASSERT_EQ(app->current_level, app->levels);

    app->Advance_Level();
    EXPECT_EQ(app->player->level, 1);
    EXPECT_EQ(app->current_level, app->levels + 1);
    app->Advance_Level();
    EXPECT_EQ(app->player->level, 2);
    EXPECT_EQ(app->current_level->max_aliens[OBJ_DOG], 3);
    EXPECT_EQ(app->game_state, STATE_DRIVING) << "reaching the last level is not completing it";

    app->Advance_Level();
    EXPECT_EQ(app->player->level, 2) << "completing the last level stays on it";
    EXPECT_EQ(app->current_level, app->levels + 2);
    EXPECT_EQ(app->game_state, STATE_COMPLETED);
    const int64_t start = g_vorta_clock.now;
    g_vorta_clock.now = start + g_vorta_clock.frequency * 199 / 10;
    EXPECT_FALSE(app->state_timer.Expired()) << "the completion shows for 20 seconds";
    g_vorta_clock.now = start + g_vorta_clock.frequency * 20;
    EXPECT_TRUE(app->state_timer.Expired());
    g_vorta_clock.now = start;
}

TEST_F(Level_Script_Test, EachPlayerKeepsItsLevelAndTheCurrentLevelFollowsTheCurrentPlayer)
{
    Load("max_level 4\n");
    app->players[0].level = 3;
    app->players[1].level = 1;
    app->player = &app->players[1];
    app->Select_Current_Level();
    EXPECT_EQ(app->current_level, app->levels + 1);
    app->player = &app->players[0];
    app->Select_Current_Level();
    EXPECT_EQ(app->current_level, app->levels + 3);

    // An index the table does not hold is brought inside it.
    app->players[0].level = 17;
    app->Select_Current_Level();
    EXPECT_EQ(app->players[0].level, 3);
    EXPECT_EQ(app->current_level, app->levels + 3);
    app->players[0].level = -2;
    app->Select_Current_Level();
    EXPECT_EQ(app->current_level, app->levels);
}

TEST_F(Level_Script_Test, AOneLevelGameIsCompletedByItsFirstLevelAndAnUnloadedAppHasAnEmptyLevel)
{
    // Before any script is read there is still a level to read from.
    app->Select_Current_Level();
    ASSERT_NE(app->current_level, nullptr);
    EXPECT_EQ(app->current_level->max_aliens[OBJ_METEOR], 0);

    Load("foo\n");
    app->game_state = STATE_ON_FOOT;
    app->Select_Current_Level();
    EXPECT_EQ(app->current_level, app->levels);
    app->Advance_Level();
    EXPECT_EQ(app->player->level, 0);
    EXPECT_EQ(app->current_level, app->levels);
    EXPECT_EQ(app->game_state, STATE_COMPLETED);
}
} // namespace
