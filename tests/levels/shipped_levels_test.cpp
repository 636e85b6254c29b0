// The level script the game ships: every word of it is understood, by the reader and by the running game.
#include "engine/core/text_file.h"
#include "engine/core/vorta_log.h"
#include "game/app/app.h"
#include "support/program_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace
{
namespace fs = std::filesystem;

TEST(Shipped_Levels_Test, EveryWordOfTheShippedScriptIsUnderstood)
{
    const fs::path script = fs::path(VORTA5_RUNTIME_DIR) / "data" / "levels.txt";
    ASSERT_TRUE(fs::exists(script)) << script;
    test_support::Scratch_Folder folder;
    const fs::path previous = fs::current_path();
    fs::current_path(folder.Path());
    g_vorta_log.Set_Flags(LOG_FILE);
    {
        App app;
        Text_File file;
        ASSERT_TRUE(file.Load(script.c_str()));
        app.Read_Levels(file);
        EXPECT_EQ(test_support::Read_File("sys_log.txt"), "");
        EXPECT_GE(app.level_count, 1);
        for (int i = 0; i < app.level_count; ++i)
        {
            const Level_Record& level = app.levels[i];
            EXPECT_TRUE(level.fire_rate >= 0 && level.fire_rate <= 255) << "level " << i + 1;
            int aliens = 0;
            for (int32_t most : level.max_aliens)
            {
                EXPECT_GE(most, 0) << "level " << i + 1;
                aliens += most;
            }
            // A player's 100 objects hold the aliens and the mission's dozen or so.
            EXPECT_LE(aliens, 80) << "level " << i + 1;
        }
    }
    fs::current_path(previous);
}

TEST(Shipped_Levels_Test, TheRunningGameLoadsItWithoutAComplaint)
{
    if (!std::getenv("DISPLAY") || !*std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs a display (the test command runs under Xvfb)";
    test_support::Scratch_Folder folder;
    test_support::Program_Run program(folder);
    ASSERT_TRUE(program.Start());
    // The music starts right after the levels and hiscores are read.
    ASSERT_TRUE(program.Wait_For_Log("Starting background music...")) << program.Log();
    program.Signal();
    EXPECT_EQ(program.Wait(), 0);
    const std::string log = program.Log();
    for (const char* complaint :
         {"Unrecognised script token", "level configuratio", "with no level selected", "level number outside",
          "max_level ", "not a position on the ring", "No levels"})
        EXPECT_EQ(log.find(complaint), std::string::npos) << complaint << "\n" << log;
}
} // namespace
