// The engine's pack at start-up and the loaders that ask it first: which archive is used, what comes from
// the pack and what from the disk.
#include "archive_maker.h"
#include "engine/core/config_list.h"
#include "engine/core/text_file.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "support/requirements.h"

#include <gtest/gtest.h>

#include <filesystem>

using pack_test::Make_Archive;
using test_support::Read_File;
using test_support::Scratch_Folder;
using test_support::Write_File;

namespace
{
// Runs in a scratch folder of its own, as the program runs beside its data; the log goes to the folder's
// sys_log.txt. The engine's start-up looks for an adapter, which takes a display.
class EnginePackTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!test_support::Have_Display())
            VORTA5_SKIP() << "no display to start the engine on";
        saved_flags = g_vorta_log.Get_Flags();
        g_vorta_log.Set_Flags(LOG_FILE);
        saved_folder = std::filesystem::current_path();
        std::filesystem::current_path(folder.Path());
    }
    void TearDown() override
    {
        delete engine;
        if (saved_folder.empty()) // skipped
            return;
        std::filesystem::current_path(saved_folder);
        g_vorta_log.Set_Flags(saved_flags);
    }
    // The engine's start-up in the folder; the test asserts the result.
    bool Start()
    {
        engine = new Vorta_Engine();
        return engine->Init("", "config.txt");
    }
    std::string Pack_Lines() const
    {
        std::string lines;
        std::string log = Read_File(folder.File("sys_log.txt"));
        for (size_t at = 0; (at = log.find("Failed: 7z", at)) != std::string::npos;)
        {
            size_t end = log.find('\n', at);
            lines += log.substr(at, end - at + 1);
            at = end;
        }
        return lines;
    }
    std::string Load(const char* name)
    {
        Text_File file;
        if (!file.Load(name, WORD_BLANKS))
            return "(no file)";
        return std::string(reinterpret_cast<const char*>(file.Get_Data()), file.Get_Size());
    }

    Scratch_Folder folder;
    Vorta_Engine* engine = nullptr;
    std::filesystem::path saved_folder;
    int saved_flags = 0;
};

TEST_F(EnginePackTest, DataPakWinsOverData7zAndLoadersAskThePackFirst)
{
    std::string pak = Make_Archive(folder, "data.pak", "",
                                   {{"DATA/Levels.TXT", "packed levels"},
                                    {"config.txt", "MSAA 0\nscreen_width 640\n"},
                                    {"data/empty.txt", ""}});
    ASSERT_FALSE(pak.empty());
    ASSERT_FALSE(Make_Archive(folder, "data.7z", "", {{"data/levels.txt", "from data.7z"}}).empty());
    Write_File(folder.File("config.txt"), "MSAA 1\n");
    std::filesystem::create_directory(folder.Path() / "data");
    Write_File(folder.File("data/levels.txt"), "loose levels");
    Write_File(folder.File("data/empty.txt"), "loose copy of an empty member");
    Write_File(folder.File("data/loose.txt"), "only on disk");

    ASSERT_TRUE(Start()) << Read_File(folder.File("sys_log.txt"));
    EXPECT_EQ(Pack_Lines(), "");
    EXPECT_FALSE(engine->Get_MSAA()); // config.txt came from the pack
    const Config_Entry* width = Find_Config(g_vorta_config, "screen_width");
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->value.integer, 640);
    EXPECT_EQ(Load("data/levels.txt"), "packed levels");
    EXPECT_EQ(Load("data/empty.txt"), "loose copy of an empty member");
    EXPECT_EQ(Load("data/loose.txt"), "only on disk");
    EXPECT_EQ(Load("data/none.txt"), "(no file)");
    EXPECT_EQ(engine->Pack_File_Size("data/levels.txt"), 13u);
    uint8_t* data = nullptr;
    ASSERT_EQ(engine->Pack_Extract("data/levels.txt", &data), 13u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), 13), "packed levels");
    delete[] data;
}

TEST_F(EnginePackTest, Data7zIsTheSecondChoiceAndWithNeitherEverythingComesFromDisk)
{
    std::filesystem::create_directory(folder.Path() / "data");
    Write_File(folder.File("data/levels.txt"), "loose levels");
    Write_File(folder.File("data.pak"), "not an archive");
    ASSERT_FALSE(Make_Archive(folder, "data.7z", "", {{"data/levels.txt", "from data.7z"}}).empty());
    ASSERT_TRUE(Start()) << Read_File(folder.File("sys_log.txt"));
    EXPECT_EQ(Pack_Lines(), "Failed: 7z - Incompatible file \"data.pak\"\n");
    EXPECT_EQ(Load("data/levels.txt"), "from data.7z");
    delete engine;
    engine = nullptr;

    std::filesystem::remove(folder.File("data.pak"));
    std::filesystem::remove(folder.File("data.7z"));
    Write_File(folder.File("sys_log.txt"), "");
    ASSERT_TRUE(Start()) << Read_File(folder.File("sys_log.txt"));
    EXPECT_EQ(Pack_Lines(), "Failed: 7z - Unable to open file \"data.pak\"\n"
                            "Failed: 7z - Unable to open file \"data.7z\"\n");
    EXPECT_EQ(Load("data/levels.txt"), "loose levels");
    EXPECT_EQ(engine->Pack_File_Size("data/levels.txt"), 0u);
    uint8_t* data = reinterpret_cast<uint8_t*>(1);
    EXPECT_EQ(engine->Pack_Extract("data/levels.txt", &data), 0u);
    EXPECT_EQ(data, nullptr);
}

TEST_F(EnginePackTest, AMemberThatFailsToDecodeFailsTheLoadInsteadOfFallingBackSilently)
{
    std::string archive =
        Make_Archive(folder, "data.pak", "-m0=Copy", {{"data/levels.txt", std::string(4000, 'L')}});
    std::string bytes = Read_File(archive);
    bytes[100] = 'X'; // inside the stored member: its CRC no longer matches
    Write_File(archive, bytes);
    std::filesystem::create_directory(folder.Path() / "data");
    Write_File(folder.File("data/levels.txt"), "loose levels");
    ASSERT_TRUE(Start()) << Read_File(folder.File("sys_log.txt"));
    EXPECT_EQ(Load("data/levels.txt"), "(no file)");
    EXPECT_EQ(Pack_Lines(), "Failed: 7z - extracting file \"data/levels.txt\"???\n");
}
} // namespace
