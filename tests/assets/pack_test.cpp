// The pack step: the data folder packed with the real 7z, exactly as the build option packs it, serves
// every file of the folder, byte for byte, through the engine's data pack, and the program started with
// only the pack beside it loads what it needs from the pack.
#include "asset_files.h"
#include "engine/pack/data_pack.h"
#include "support/program_runner.h"
#include "support/requirements.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdlib>
#include <filesystem>

using asset_test::Folder_Contents;
using test_support::Program_Run;
using test_support::Scratch_Folder;

namespace
{
std::string g_pack_log;

void Pack_Log(const char* format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    g_pack_log += line;
}

// Packs the build's data folder into the archive with the pack script the build option runs.
bool Make_Pack(const std::string& pack)
{
    std::string command = std::string("'") + VORTA5_CMAKE + "' -DSEVEN_ZIP='" + VORTA5_SEVEN_ZIP +
                          "' -DRUNTIME_DIR='" + VORTA5_RUNTIME_DIR + "' -DPACK='" + pack + "' -P '" +
                          VORTA5_PACK_SCRIPT + "'";
    return std::system(command.c_str()) == 0;
}
} // namespace

TEST(DataPack, ThePackStepServesEveryFileOfTheDataFolder)
{
    Scratch_Folder folder;
    std::string pack = folder.File("data.7z");
    ASSERT_TRUE(Make_Pack(pack));

    Data_Pack data_pack(Pack_Log);
    ASSERT_TRUE(data_pack.Open(pack.c_str())) << g_pack_log;
    auto files = Folder_Contents(std::string(VORTA5_RUNTIME_DIR) + "/data");
    ASSERT_GE(files.size(), 6u);
    for (const auto& [path, bytes] : files)
    {
        // Asked for as the loaders ask: "data/..." from the program's folder.
        std::string name = "data/" + path;
        ASSERT_EQ(data_pack.File_Size(name.c_str()), bytes.size()) << name;
        uint8_t* out = nullptr;
        uint32_t size = data_pack.Extract(name.c_str(), &out);
        ASSERT_EQ(size, bytes.size()) << name;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), size), bytes) << name;
        delete[] out;
    }
    EXPECT_EQ(g_pack_log.find("Failed"), std::string::npos) << g_pack_log;
}

// The real program with data.7z and no data folder beside it: the shaders it compiles at start-up come
// from the pack (a missing one is an "ERROR loading" line), and the pack opens without complaint.
TEST(DataPack, TheProgramStartsFromThePackAlone)
{
    if (!test_support::Have_Display())
        VORTA5_SKIP() << "needs a display (the test command runs under Xvfb)";
    Scratch_Folder folder;
    Program_Run program(folder);
    std::filesystem::remove_all(folder.Path() / "data");
    ASSERT_TRUE(Make_Pack(folder.File("data.7z")));
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.Wait_For_Log("Opening display...OK\n")) << program.Log();
    program.Signal();
    EXPECT_EQ(program.Wait(), 0);

    std::string log = program.Log();
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "data"));
    EXPECT_NE(log.find("Create Shader Manager... OK\n"), std::string::npos) << log;
    for (const char* failure : {"ERROR", "Unable to open file \"data.7z\"", "Shader Error", "Unable to load"})
        EXPECT_EQ(log.find(failure), std::string::npos) << failure << "\n" << log;
}
