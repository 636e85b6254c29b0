// vorta5-pack against 7z's own extraction, and the real program's pack lines at start-up.
#include "archive_maker.h"
#include "support/program_runner.h"
#include "support/requirements.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using pack_test::Command_Output;
using pack_test::Make_Archive;
using pack_test::Sample_Bytes;
using test_support::Program_Run;
using test_support::Read_File;
using test_support::Scratch_Folder;
using test_support::Write_File;

namespace
{
std::string Tool()
{
    return std::string(VORTA5_RUNTIME_DIR) + "/vorta5-pack";
}

TEST(PackToolTest, ListAndCatAgreeWith7zExtraction)
{
    Scratch_Folder folder;
    std::string archive = Make_Archive(folder, "game.7z", "-m0=lzma2 -ms=on",
                                       {{"DATA/Ship.dds", Sample_Bytes(120000, 1, false)},
                                        {"data/Ship.DDS", "shadowed by the member before it"},
                                        {"data/empty.txt", ""},
                                        {"data/folder/", ""},
                                        {"data/levels.txt", Sample_Bytes(30000, 2, true)}});
    ASSERT_FALSE(archive.empty());
    int status = -1;
    std::string list = Command_Output("'" + Tool() + "' list '" + archive + "'", status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(list, "DATA/Ship.dds\t120000\ndata/levels.txt\t30000\n");

    std::string out = folder.File("out");
    ASSERT_EQ(std::system(("7z x -y -bd -o'" + out + "' '" + archive + "' >/dev/null").c_str()), 0);
    for (const char* name : {"DATA/Ship.dds", "data/levels.txt"})
    {
        std::string bytes = Command_Output("'" + Tool() + "' cat '" + archive + "' '" + name + "'", status);
        EXPECT_EQ(status, 0) << name;
        EXPECT_TRUE(bytes == Read_File(out + "/" + name)) << name;
    }
    // Any case serves; the second spelling finds the first member.
    EXPECT_TRUE(Command_Output("'" + Tool() + "' cat '" + archive + "' data/ship.dds", status) ==
                Read_File(out + "/DATA/Ship.dds"));

    for (const char* absent : {"data/empty.txt", "data/folder", "data/none"})
    {
        EXPECT_EQ(Command_Output("'" + Tool() + "' cat '" + archive + "' " + absent + " 2>/dev/null", status),
                  "");
        EXPECT_EQ(status, 1) << absent;
    }
    Command_Output("'" + Tool() + "' list '" + folder.File("none.7z") + "' 2>/dev/null", status);
    EXPECT_EQ(status, 2);
    Command_Output("'" + Tool() + "' list 2>/dev/null", status);
    EXPECT_EQ(status, 2);
    // The tool keeps the working directory it was started in (relative paths work) and writes no log.
    EXPECT_EQ(Command_Output("cd '" + folder.Path().string() + "' && '" + Tool() + "' list game.7z", status),
              list);
    EXPECT_FALSE(std::filesystem::exists(folder.File("sys_log.txt")));
}

// The program's start-up with no pack, with a garbage data.pak, and with a good one: the pack lines in
// order, and start-up going on each time.
TEST(PackProgramTest, StartUpLogsThePackLinesAndGoesOn)
{
    if (!test_support::Have_Display())
        VORTA5_SKIP() << "needs a display (the test command runs under Xvfb)";
    Scratch_Folder packs;
    std::string good = Make_Archive(packs, "good.pak", "", {{"data/levels.txt", "levels"}});
    ASSERT_FALSE(good.empty());
    struct Case
    {
        const char* what;
        std::string pak; // "" for none
        std::string lines;
    };
    const Case cases[] = {
        {"no pack", "",
         "Failed: 7z - Unable to open file \"data.pak\"\nFailed: 7z - Unable to open file \"data.7z\"\n"},
        {"garbage data.pak", "\x37\x7a\xbc\xaf\x27\x1c garbage after a 7z signature",
         "Failed: 7z - Incompatible file \"data.pak\"\nFailed: 7z - Unable to open file \"data.7z\"\n"},
        {"good data.pak", Read_File(good), ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Scratch_Folder folder;
        Program_Run program(folder);
        std::filesystem::remove(folder.File("data.pak"));
        std::filesystem::remove(folder.File("data.7z"));
        if (!c.pak.empty())
            Write_File(folder.File("data.pak"), c.pak);
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(program.Wait_For_Log("Opening display...OK\n")) << program.Log();
        program.Signal();
        EXPECT_EQ(program.Wait(), 0);

        std::string log = program.Log();
        size_t init = log.find("Init Ok...\n");
        ASSERT_NE(init, std::string::npos) << log;
        std::string lines;
        for (size_t at = 0; (at = log.find("Failed: 7z", at)) != std::string::npos;)
        {
            EXPECT_LT(at, init) << "pack lines come before the end of Init";
            size_t end = log.find('\n', at);
            lines += log.substr(at, end - at + 1);
            at = end;
        }
        EXPECT_EQ(lines, c.lines) << log;
    }
}
} // namespace
