// The log's flag word, its file handling and the error box.
#include "engine/core/vorta_log.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

using test_support::Read_File;
using test_support::Scratch_Folder;
using test_support::Write_File;

TEST(LogTest, EachRunStartsWithAnEmptyFileUnlessKept)
{
    Scratch_Folder folder;
    std::string name = folder.File("log.txt");
    {
        Vorta_Log first(name.c_str(), LOG_FILE);
        first.Write("first run\n");
    }
    Vorta_Log second(name.c_str(), LOG_FILE);
    second.Write("second run\n");
    EXPECT_EQ(Read_File(name), "second run\n");

    Vorta_Log kept(name.c_str(), LOG_FILE | LOG_KEEP);
    kept.Write("third");
    EXPECT_EQ(Read_File(name), "second run\nthird");
}

// Each flag word and where a message goes: the debugger mirror (standard error in a test) and the file.
TEST(LogTest, FlagsDecideWhereAMessageGoes)
{
    const struct
    {
        const char* what;
        int flags;
        bool mirrored, filed;
    } cases[] = {
        {"1, off: nothing anywhere", LOG_OFF, false, false},
        {"no output bits", 0, false, false},
        {"debugger mirror only", LOG_DEBUGGER, true, false},
        {"file only", LOG_FILE, false, true},
        {"both", LOG_DEBUGGER | LOG_FILE, true, true},
        {"both, kept", LOG_DEBUGGER | LOG_FILE | LOG_KEEP, true, true},
    };
    for (const auto& c : cases)
    {
        Scratch_Folder folder;
        std::string name = folder.File("log.txt");
        Write_File(name, "old\n");
        Vorta_Log log(name.c_str(), LOG_KEEP); // the file keeps what it held
        log.Set_Flags(c.flags);
        testing::internal::CaptureStderr();
        log.Write("message\n");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.mirrored ? "message\n" : "") << c.what;
        EXPECT_EQ(Read_File(name), c.filed ? "old\nmessage\n" : "old\n") << c.what;
    }
    // Without LOG_KEEP the file starts empty whatever else the flags say.
    Scratch_Folder folder;
    std::string name = folder.File("log.txt");
    Write_File(name, "old\n");
    Vorta_Log mirror_only(name.c_str(), LOG_DEBUGGER);
    EXPECT_EQ(Read_File(name), "");
}

TEST(LogTest, UnwritableFileIsSkippedButStillMirrored)
{
    Vorta_Log log("/nonexistent-folder/log.txt", LOG_FILE | LOG_DEBUGGER);
    testing::internal::CaptureStderr();
    log.Write("still here\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "still here\n");
}

class GlobalLogTest : public ::testing::Test
{
  protected:
    void SetUp() override { saved_flags = g_vorta_log.Get_Flags(); }
    void TearDown() override { g_vorta_log.Set_Flags(saved_flags); }
    int saved_flags = 0;
};

TEST_F(GlobalLogTest, PercentSignInAFormattedMessageReachesTheLogUnchanged)
{
    g_vorta_log.Set_Flags(LOG_DEBUGGER);
    testing::internal::CaptureStderr();
    Print_Message("Loading \"%s\"\n", "data/100%d done%s.wav");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Loading \"data/100%d done%s.wav\"\n");
}

TEST_F(GlobalLogTest, LongMessagesAreCutAt2047Characters)
{
    g_vorta_log.Set_Flags(LOG_DEBUGGER);
    std::string long_text(5000, 'x');
    testing::internal::CaptureStderr();
    Print_Message("%s", long_text.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(2047, 'x'));
}

TEST_F(GlobalLogTest, ErrorBoxIsShownEvenWithLoggingOff)
{
    g_vorta_log.Set_Flags(LOG_OFF);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Report_Error(false, "Broken %d\n", 7), 1);
    // In a test run the box writes to standard error; the log wrote nothing.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error!!!: Broken 7\n\n");
}

TEST_F(GlobalLogTest, FatalErrorExitsWithCodeOne)
{
    EXPECT_EXIT(Report_Error(true, "Fatal\n"), ::testing::ExitedWithCode(1), "Error!!!: Fatal");
}

TEST(SystemReportTest, WritesTheProcessorAndMemorySections)
{
    int saved = g_vorta_log.Get_Flags();
    g_vorta_log.Set_Flags(LOG_DEBUGGER);
    testing::internal::CaptureStderr();
    System_Report();
    std::string report = testing::internal::GetCapturedStderr();
    g_vorta_log.Set_Flags(saved);

    EXPECT_EQ(report.rfind("System infomation\n", 0), 0u);
    for (const char* line :
         {"\n  Processor\n", "    Type:            ", "    Number of Cores: ", "    OEM ID:          ",
          "    Page size:       ", "    Active mask:     ", "\n  Memory\n", "    Total Memory:    ", " MB\n",
          "    Minimum address: ", "    Maximum address: "})
        EXPECT_NE(report.find(line), std::string::npos) << line;
    EXPECT_LT(report.find("Processor"), report.find("Memory"));
}
