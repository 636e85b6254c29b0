// The real program, started as a player starts it: its log, its window and its exit codes.
#include "support/log_lines.h"
#include "support/program_runner.h"
#include "support/requirements.h"

#include <gtest/gtest.h>

using test_support::Have_Display;
using test_support::Program_Run;
using test_support::Scratch_Folder;

namespace
{
TEST(ProgramTest, StartsOpensItsWindowAndEndsCleanlyOnSigterm)
{
    if (!Have_Display())
        VORTA5_SKIP() << "needs a display (the test command runs under Xvfb)";
    Scratch_Folder folder;
    Program_Run program(folder);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.Wait_For_Log("Opening display...OK\n")) << program.Log();
    program.Signal(); // SIGTERM
    EXPECT_EQ(program.Wait(), 0);

    std::string log = program.Log();
    EXPECT_EQ(log.rfind("Vorta5 DX11 startup....\nSystem infomation\n", 0), 0u) << log;
    EXPECT_TRUE(test_support::In_Order(
        log, {"\n  Processor\n", "    Number of Cores: ", "\n  Memory\n", "    Total Memory:    ",
              "Init Ok...\n", "Setting up parameters...", "window\n", "Opening display...", "OK\n"}));
}

TEST(ProgramTest, SecondRunsLogHoldsOnlyItsOwnLines)
{
    if (!Have_Display())
        VORTA5_SKIP() << "needs a display";
    Scratch_Folder folder;
    for (int run = 0; run < 2; ++run)
    {
        Program_Run program(folder);
        test_support::Write_File(folder.File("sys_log.txt"), program.Log() + "left by the run before\n");
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(program.Wait_For_Log("Opening display...OK\n", 20.0, "left by the run before"));
        program.Signal(2); // SIGINT ends it the same way
        EXPECT_EQ(program.Wait(), 0);
    }
    Program_Run last(folder);
    std::string log = last.Log();
    EXPECT_EQ(log.rfind("Vorta5 DX11 startup....\n", 0), 0u) << log;
    EXPECT_EQ(log.find("Vorta5 DX11 startup....\n", 1), std::string::npos) << log;
}

TEST(ProgramTest, WithoutADisplayItFailsThroughTheErrorPathNotACrash)
{
    Scratch_Folder folder;
    Program_Run program(folder);
    ASSERT_TRUE(program.Start({"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="}));
    // Without a display there is no GL renderer, so no adapter: the engine's start-up fails.
    EXPECT_EQ(program.Wait(), 2);
    std::string log = program.Log();
    EXPECT_NE(log.find("Failed - No 3d adapters found???\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("Init Ok...\n"), std::string::npos) << log;
}
} // namespace
