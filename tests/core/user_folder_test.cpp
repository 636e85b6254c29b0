// The player's folder: where writes go, the order reads look in, and how the data home is found.
#include "engine/core/file_replace.h"
#include "engine/core/text_file.h"
#include "engine/core/user_folder.h"
#include "engine/core/vorta_log.h"
#include "platform/folders.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using test_support::Read_File;
using test_support::Scratch_Folder;
using test_support::Write_File;

namespace
{
std::string Loaded(const char* name)
{
    Text_File file;
    if (!file.Load(name))
        return "(none)";
    return std::string(reinterpret_cast<const char*>(file.Get_Data()), file.Get_Size());
}

// The working directory stands for the program's folder; the player's folder is a scratch one.
class UserFolderTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        beside =
            "user_folder_test " + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".txt";
        fs::remove(beside);
    }
    void TearDown() override
    {
        Set_User_Folder(nullptr);
        fs::remove(beside);
    }

    Scratch_Folder scratch;
    fs::path player = scratch.Path() / "share" / "game";
    std::string beside;
};

TEST_F(UserFolderTest, WritesGoToThePlayersFolderMadeOnFirstUseAndNothingBesideTheProgram)
{
    ASSERT_TRUE(Set_User_Folder(player.c_str()));
    EXPECT_TRUE(fs::is_directory(player));
    EXPECT_EQ(std::string(Get_User_Folder()), player.string() + "/");

    ASSERT_TRUE(Replace_File(beside.c_str(), "mine", 4));
    EXPECT_EQ(Read_File((player / beside).string()), "mine");
    EXPECT_FALSE(fs::exists(beside));
    EXPECT_FALSE(fs::exists(player / (beside + ".new")));

    // Absolute names are the caller's own choice and stay as they are.
    const std::string absolute = scratch.File("absolute.txt");
    ASSERT_TRUE(Replace_File(absolute.c_str(), "abs", 3));
    EXPECT_EQ(Read_File(absolute), "abs");

    // Back beside the program.
    ASSERT_TRUE(Set_User_Folder(nullptr));
    EXPECT_STREQ(Get_User_Folder(), "");
    ASSERT_TRUE(Replace_File(beside.c_str(), "here", 4));
    EXPECT_EQ(Read_File(beside), "here");
}

TEST_F(UserFolderTest, ReadsTakeThePlayersCopyFirstThenTheFileBesideTheProgram)
{
    Write_File(beside, "shipped");
    ASSERT_TRUE(Set_User_Folder(player.c_str()));
    EXPECT_EQ(Loaded(beside.c_str()), "shipped"); // no copy of the player's yet: the shipped default serves
    EXPECT_TRUE(Vorta_File_Exists(beside.c_str()));

    Write_File((player / beside).string(), "");
    EXPECT_EQ(Loaded(beside.c_str()), "shipped"); // an empty copy counts as none

    Write_File((player / beside).string(), "player's");
    EXPECT_EQ(Loaded(beside.c_str()), "player's");

    fs::remove(beside);
    EXPECT_EQ(Loaded(beside.c_str()), "player's");
    EXPECT_TRUE(Vorta_File_Exists(beside.c_str()));
    Set_User_Folder(nullptr);
    EXPECT_FALSE(Vorta_File_Exists(beside.c_str())); // the player's folder is no longer looked at
    EXPECT_EQ(Loaded(beside.c_str()), "(none)");
}

TEST_F(UserFolderTest, AWritableProgramFolderKeepsEverythingBesideIt)
{
    ASSERT_TRUE(platform::Folder_Writable("."));
    ASSERT_TRUE(Set_User_Folder(player.c_str()));
    EXPECT_FALSE(Use_User_Folder("kestrova-reboot"));
    EXPECT_STREQ(Get_User_Folder(), "");
}

TEST_F(UserFolderTest, AFolderThatCannotBeMadeLeavesFilesBesideTheProgram)
{
    Write_File(scratch.File("a file"), "x");
    EXPECT_FALSE(Set_User_Folder((scratch.Path() / "a file" / "below").c_str()));
    EXPECT_STREQ(Get_User_Folder(), "");
}

TEST(LogMoveTest, TheLogMovesToItsNewFileWhichStartsEmpty)
{
    Scratch_Folder folder;
    const std::string first = folder.File("first.txt"), second = folder.File("second.txt");
    Write_File(second, "old run\n");
    Vorta_Log log(first.c_str(), LOG_FILE);
    log.Write("one\n");
    ASSERT_TRUE(log.Set_File_Name(second.c_str()));
    log.Write("two\n");
    EXPECT_EQ(Read_File(first), "one\n");
    EXPECT_EQ(Read_File(second), "two\n");
    EXPECT_STREQ(log.Get_File_Name(), second.c_str());
    EXPECT_FALSE(log.Set_File_Name(std::string(300, 'x').c_str()));
    EXPECT_STREQ(log.Get_File_Name(), second.c_str());
}

// Environment variables set for one case and put back afterwards.
class Saved_Variable
{
  public:
    explicit Saved_Variable(const char* name) : m_name(name)
    {
        const char* value = std::getenv(name);
        m_had = value != nullptr;
        m_value = value ? value : "";
    }
    ~Saved_Variable()
    {
        if (m_had)
            setenv(m_name, m_value.c_str(), 1);
        else
            unsetenv(m_name);
    }
    void Set(const char* value)
    {
        if (value)
            setenv(m_name, value, 1);
        else
            unsetenv(m_name);
    }

  private:
    const char* m_name;
    bool m_had;
    std::string m_value;
};

TEST(DataHomeTest, XdgDataHomeWhenAbsoluteElseTheHomeFoldersLocalShare)
{
    struct Case
    {
        const char* xdg;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"/data/home", "/home/p", "/data/home"},
        {"/data/home//", "/home/p", "/data/home"},
        {"relative/path", "/home/p", "/home/p/.local/share"}, // a relative XDG_DATA_HOME is ignored
        {"", "/home/p", "/home/p/.local/share"},
        {nullptr, "/home/p/", "/home/p/.local/share"},
    };
    Saved_Variable xdg("XDG_DATA_HOME"), home("HOME");
    for (const Case& c : cases)
    {
        xdg.Set(c.xdg);
        home.Set(c.home);
        char out[256];
        ASSERT_TRUE(platform::Data_Home(out, sizeof(out))) << (c.xdg ? c.xdg : "(unset)");
        EXPECT_STREQ(out, c.expected) << (c.xdg ? c.xdg : "(unset)");
    }
    xdg.Set("/a/long/enough/path");
    char small[8];
    EXPECT_FALSE(platform::Data_Home(small, sizeof(small)));
    EXPECT_STREQ(small, "");
}
} // namespace
