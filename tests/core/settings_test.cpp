// Settings lists from files, token tables, and the engine's settings at start-up.
#include "engine/core/config_list.h"
#include "engine/core/token.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "support/requirements.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using test_support::Scratch_Folder;
using test_support::Write_File;

namespace
{
std::vector<std::string> Values(const Config_List& list, const char* key)
{
    std::vector<std::string> values;
    if (const Config_Entry* entry = Find_Config(list, key))
        for (const Config_Value* v = &entry->value; v; v = v->next)
            values.push_back(v->text);
    return values;
}

std::vector<std::string> Keys(const Config_List& list)
{
    std::vector<std::string> keys;
    for (const Config_Entry* entry = list.first; entry; entry = entry->next)
        keys.push_back(entry->key);
    return keys;
}

using Texts = std::vector<std::string>;

TEST(ConfigTest, ReadsKeysValuesBlocksAndComments)
{
    Scratch_Folder folder;
    std::string name = folder.File("settings.txt");
    Write_File(name, "// a comment of several words: not_a_key 1\n"
                     "screen_width 1280\n"
                     "title \"Two Words\"\n"
                     "pads { one two   three }\n"
                     "Screen_Width 800   // after a value, a comment to the end of the line\n"
                     "empty_block { }\n"
                     "note //\n"
                     "\t// indented comment line\n"
                     "open { left right");
    Config_List list;
    ASSERT_TRUE(Load_Config(list, name.c_str()));

    EXPECT_EQ(Keys(list), (Texts{"screen_width", "title", "pads", "note", "open"}));
    EXPECT_EQ(Values(list, "SCREEN_WIDTH"), (Texts{"1280", "800"}));
    EXPECT_EQ(Values(list, "title"), (Texts{"Two Words"}));
    EXPECT_EQ(Values(list, "pads"), (Texts{"one", "two", "three"}));
    EXPECT_EQ(Values(list, "note"), (Texts{"//"}));
    EXPECT_EQ(Find_Config(list, "not_a_key"), nullptr);
    EXPECT_EQ(Find_Config(list, "empty_block"), nullptr); // a block without words adds nothing
    const Config_Entry* width = Find_Config(list, "screen_width");
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->value.integer, 1280);
    EXPECT_EQ(width->Value_Count(), 2);
    EXPECT_STREQ(width->Get_Value(1)->text, "800");
    EXPECT_EQ(width->Get_Value(2), nullptr);
}

TEST(ConfigTest, OpenBlockEndsAtTheEndOfTheFileAndALastKeyGetsAnEmptyValue)
{
    Scratch_Folder folder;
    std::string blocks = folder.File("blocks.txt");
    Write_File(blocks, "open { left right");
    Config_List list;
    ASSERT_TRUE(Load_Config(list, blocks.c_str()));
    EXPECT_EQ(Values(list, "open"), (Texts{"left", "right"}));

    std::string last = folder.File("last.txt");
    Write_File(last, "width 5 width");
    ASSERT_TRUE(Load_Config(list, last.c_str()));
    EXPECT_EQ(Values(list, "width"), (Texts{"5"})); // a known key keeps its values
    Write_File(last, "width 5 alone");
    ASSERT_TRUE(Load_Config(list, last.c_str()));
    const Config_Entry* alone = Find_Config(list, "alone");
    ASSERT_NE(alone, nullptr);
    EXPECT_STREQ(alone->value.text, "");
    EXPECT_EQ(alone->value.integer, 0);
    EXPECT_FALSE(alone->value.flag);
}

TEST(ConfigTest, FailedLoadLeavesTheListAsItWasAndALoadReplacesIt)
{
    Scratch_Folder folder;
    std::string name = folder.File("a.txt");
    Write_File(name, "a 1\nb 2\n");
    Config_List list;
    ASSERT_TRUE(Load_Config(list, name.c_str()));
    EXPECT_FALSE(Load_Config(list, folder.File("missing.txt").c_str()));
    EXPECT_EQ(Keys(list), (Texts{"a", "b"}));
    Write_File(name, "c 3\n");
    ASSERT_TRUE(Load_Config(list, name.c_str()));
    EXPECT_EQ(Keys(list), (Texts{"c"}));
}

TEST(ConfigTest, ValueReadings)
{
    struct Reading
    {
        const char* text;
        int32_t integer;
        float number;
        bool flag;
    };
    const Reading readings[] = {
        {"true", 0, 0.0f, true},   {"TRUE", 0, 0.0f, true},  {"1", 1, 1.0f, true},
        {"false", 0, 0.0f, false}, {"0", 0, 0.0f, false},    {"yes", 0, 0.0f, false},
        {"-3", -3, -3.0f, true},   {"2.75", 2, 2.75f, true}, {"12abc", 12, 12.0f, true},
        {"0x10", 0, 16.0f, false}, {"", 0, 0.0f, false},
    };
    for (const Reading& r : readings)
    {
        Config_Value value;
        ASSERT_TRUE(value.Set(r.text));
        EXPECT_STREQ(value.text, r.text);
        EXPECT_EQ(value.integer, r.integer) << r.text;
        EXPECT_FLOAT_EQ(value.number, r.number) << r.text;
        EXPECT_EQ(value.flag, r.flag) << r.text;
        delete[] value.text;
    }
}

class TokenTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        saved_flags = g_vorta_log.Get_Flags();
        g_vorta_log.Set_Flags(LOG_DEBUGGER);
    }
    void TearDown() override { g_vorta_log.Set_Flags(saved_flags); }
    int saved_flags = 0;
};

TEST_F(TokenTest, FindsByNameInAnyCaseAndRefusesClashes)
{
    Token* list = nullptr;
    EXPECT_EQ(Find_Token(list, "frame"), -1);
    Token frame("frame", 1, list);
    Token speed("Speed", 2, list);
    EXPECT_EQ(Find_Token(list, "FRAME"), 1);
    EXPECT_EQ(Find_Token(list, "speed"), 2);
    EXPECT_EQ(Find_Token(list, "size"), -1);

    testing::internal::CaptureStderr();
    Token same_name("SPEED", 3, list);
    std::string name_error = testing::internal::GetCapturedStderr();
    EXPECT_NE(name_error.find("Token String:SPEED already exisits"), std::string::npos) << name_error;
    EXPECT_NE(name_error.find("Error!!!"), std::string::npos) << name_error;

    testing::internal::CaptureStderr();
    Token same_id("size", 1, list);
    std::string id_error = testing::internal::GetCapturedStderr();
    EXPECT_NE(id_error.find("Token ID:1 (size) already exisits"), std::string::npos) << id_error;

    // Each existing token is checked for its name, then its identifier, in list order: the identifier of
    // the first token clashes before the name of the second.
    testing::internal::CaptureStderr();
    Token both("speed", 1, list);
    std::string first_clash = testing::internal::GetCapturedStderr();
    EXPECT_NE(first_clash.find("Token ID:1 (speed)"), std::string::npos) << first_clash;
    EXPECT_EQ(first_clash.find("Token String"), std::string::npos) << first_clash;

    Token later("size", 4, list);
    int count = 0;
    for (Token* t = list; t; t = t->next)
        ++count;
    EXPECT_EQ(count, 3);
    EXPECT_EQ(frame.next, &speed);
    EXPECT_EQ(speed.next, &later);
    EXPECT_EQ(Find_Token(list, "size"), 4);
}

class EngineSettingsTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        // The engine's start-up looks for an adapter, which takes a display.
        if (!test_support::Have_Display())
            VORTA5_SKIP() << "no display to start the engine on";
        saved_flags = g_vorta_log.Get_Flags();
        g_vorta_log.Set_Flags(LOG_OFF);
    }
    void TearDown() override { g_vorta_log.Set_Flags(saved_flags); }
    int saved_flags = 0;
};

TEST_F(EngineSettingsTest, InitFillsTheSettingsListAndTheMsaaFlag)
{
    Scratch_Folder folder;
    std::string name = folder.File("config.txt");
    struct Msaa_Case
    {
        const char* file;
        bool msaa;
    };
    const Msaa_Case cases[] = {
        {"MSAA true\n", true},        {"msaa TRUE\n", true}, {"MSAA 1", true},
        {"MSAA false\n", false},      {"MSAA 0\n", false},   {"MSAA yes\n", false},
        {"screen_width 640\n", true},
    };
    for (const Msaa_Case& c : cases)
    {
        Write_File(name, c.file);
        Vorta_Engine engine;
        ASSERT_TRUE(engine.Init("", name.c_str()));
        EXPECT_EQ(engine.Get_MSAA(), c.msaa) << c.file;
        EXPECT_NE(g_vorta_config.first, nullptr);
    }
    // A missing file is no failure and leaves the list empty.
    Vorta_Engine engine;
    ASSERT_TRUE(engine.Init("", folder.File("missing.txt").c_str()));
    EXPECT_TRUE(engine.Get_MSAA());
    EXPECT_EQ(g_vorta_config.first, nullptr);
}
} // namespace
