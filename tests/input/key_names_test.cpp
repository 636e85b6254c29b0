// Key names, typed characters and the characters' keys.
#include "engine/input/key_names.h"

#include <gtest/gtest.h>

namespace
{
TEST(KeyNamesTest, NamesGiveScanCodes)
{
    struct Case
    {
        const char* name;
        int code;
    };
    const Case cases[] = {
        {"np1", 79},
        {"NP1", 0},
        {"Np1", 0},
        {"nP1", 0},
        {"np0", 0},
        {"np7", 71},
        {"npEnter", 156},
        {"npslash", 181},
        {"npstar", 55},
        {"nplock", 69},
        {"npdot", 83},
        {"npplus", 78},
        {"Left Control", 29},
        {"LCTRL", 29},
        {"right control", 157},
        {"Right Shift", 54},
        {"Return", 28},
        {"space", 57},
        {"grave", 41},
        {"F1", 59},
        {"f10", 68},
        {"f11", 87},
        {"F12", 88},
        {"escape", 1},
        {"ralt", 184},
        {"Left Windows", 219},
        {"rwin", 220},
        {"up", 200},
        {"Down", 208},
        {"left", 203},
        {"RIGHT", 205},
        {"pageup", 201},
        {"PageDown", 209},
        {"tab", 15},
        {"a", 30},
        {"A", 30},
        {"!", 2},
        {"1", 2},
        {"\"", 3},
        {"/", 53},
        {"?", 53},
        {"=", 13},
        {"|", 86},
        {" ", 57},
        {"Page Up", 201}, // the names the controls file writes for these keys
        {"page down", 209},
        {"PageUp ", 0},
        {"f13", 0},
        {"np", 0},
        {"", 0},
        {"left control ", 0},
        {"£", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Key_From_Name(c.name), c.code) << '"' << c.name << '"';
    EXPECT_EQ(Key_From_Name(nullptr), 0);
}

TEST(KeyNamesTest, EveryNamedKeyHasANameThatReadsBack)
{
    int named = 0;
    for (int code = -1; code < 300; ++code)
    {
        const char* name = Name_From_Key(code);
        if (!name)
            continue;
        ++named;
        EXPECT_EQ(Key_From_Name(name), code) << name;
    }
    EXPECT_EQ(named, 47); // 12 function keys, 19 others, 16 of the numeric pad
    EXPECT_STREQ(Name_From_Key(41), "grave");
    EXPECT_STREQ(Name_From_Key(55), "npstar");
    EXPECT_STREQ(Name_From_Key(29), "lctrl");
    EXPECT_EQ(Name_From_Key(30), nullptr); // letters go by their characters
    EXPECT_EQ(Name_From_Key(0), nullptr);
}

TEST(KeyNamesTest, CharactersOfKeysWithShiftAndCapsLock)
{
    struct Case
    {
        int code;
        bool shift, caps;
        char expected;
    };
    const Case cases[] = {
        {4, true, false, 127},  {4, false, false, '3'},  {4, false, true, '3'},    {30, false, true, 'A'},
        {30, true, true, 'A'},  {30, false, false, 'a'}, {30, true, false, 'A'},   {2, true, false, '!'},
        {40, true, false, '@'}, {39, true, false, ':'},  {43, true, false, '~'},   {43, false, true, '#'},
        {86, true, false, '|'}, {57, true, true, ' '},   {145, false, false, '@'}, {181, true, false, '/'},
        {41, false, false, 0},  {28, true, false, 0},    {79, false, false, 0},    {200, false, false, 0},
        {0, false, false, 0},   {-1, false, false, 0},   {256, false, false, 0},   {1000, true, true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Char_From_Key(c.code, c.shift, c.caps), c.expected)
            << "code " << c.code << " shift " << c.shift << " caps " << c.caps;
}

TEST(KeyNamesTest, EveryTypedCharacterComesBackToAKeyThatTypesIt)
{
    for (int code = 0; code < 256; ++code)
        for (bool shift : {false, true})
        {
            char c = Char_From_Key(code, shift, false);
            if (c == 0)
                continue;
            int key = Key_From_Char(c);
            ASSERT_NE(key, 0) << "code " << code;
            // The first key that types it, plain or shifted (',' and '/' of the numeric pad go to the main
            // keys).
            EXPECT_TRUE(Char_From_Key(key, false, false) == c || Char_From_Key(key, true, false) == c)
                << "code " << code << " char " << int(c);
            EXPECT_LE(key, code);
        }
    EXPECT_EQ(Key_From_Char(0), 0);
    EXPECT_EQ(Key_From_Char('`'), 0);
    EXPECT_EQ(Key_From_Char(127), 4);
}
} // namespace
