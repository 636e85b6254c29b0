// "controls.txt": the exact layout written with the defaults, key names that read back for every key that
// can be bound, damaged and hand-edited files (defaults where a value is unusable), and the App's load and
// save at start and exit.
#include "engine/input/key_names.h"
#include "game/app/app.h"
#include "game/menus/controls.h"
#include "menu_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>
#include <set>
#include <string>

namespace fs = std::filesystem;
using menu_test::Working_Folder;
using test_support::Read_File;
using test_support::Write_File;

namespace
{
const char* const k_default_file = "key_left   \"a\"\r\n"
                                   "key_right  \"d\"\r\n"
                                   "key_thrust \"w\"\r\n"
                                   "key_down   \"s\"\r\n"
                                   "key_pickup \"Right Shift\"\r\n"
                                   "key_fire   \"Return\"\r\n"
                                   "\r\n"
                                   "pad_index   0\r\n"
                                   "pad_vx      0\r\n"
                                   "pad_vy      -1\r\n"
                                   "pad_pickup  1\r\n"
                                   "pad_fire    0\r\n"
                                   "\r\n"
                                   "visible     true\r\n";

// A file with nul bytes (blanks to the reader) and other control characters (parts of words).
const char k_control_bytes[] = "key_left\0\0\"d\"\x01\x02\r\nkey_right \x7f\xff\r\npad_vx \x03";

const int32_t k_defaults[BIND_COUNT] = {30, 32, 17, 31, 28, 54, 0, -1, 0, 1};

class ControlsFileTest : public ::testing::Test
{
  protected:
    Working_Folder folder;
};

std::string Key_Name(int code)
{
    char text[64] = "";
    Append_Key_Name(text, sizeof text, code);
    return text;
}

TEST_F(ControlsFileTest, TheDefaultsAreWrittenLineForLine)
{
    Controls controls;
    ASSERT_TRUE(Save_Controls(controls, "controls.txt"));
    EXPECT_EQ(Read_File("controls.txt"), k_default_file);
    // Written through a temporary file renamed over the old one: nothing else is left in the folder.
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.Path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1);

    controls.bindings[BIND_FIRE] = 57;
    controls.bindings[BIND_PAD_FIRE] = 7;
    controls.bindings[BIND_PAD_USE] = 3;
    controls.bindings[BIND_PAD_X] = -4;
    controls.pad_index = 2;
    controls.touch_visible = false;
    ASSERT_TRUE(Save_Controls(controls, "controls.txt"));
    std::string text = Read_File("controls.txt");
    EXPECT_NE(text.find("key_fire   \" \"\r\n\r\npad_index   2\r\npad_vx      -4\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("pad_pickup  3\r\npad_fire    7\r\n\r\nvisible     false\r\n"), std::string::npos)
        << text;
}

TEST_F(ControlsFileTest, KeysAreShownByNameOrCharacterInQuotes)
{
    struct Case
    {
        int code;
        const char* shown;
    };
    const Case cases[] = {
        {30, "\"a\""},
        {44, "\"z\""},
        {2, "\"1\""},
        {11, "\"0\""},
        {57, "\" \""},
        {28, "\"Return\""},
        {29, "\"Left Control\""},
        {157, "\"Right Control\""},
        {54, "\"Right Shift\""},
        {59, "\"F1\""},
        {68, "\"F10\""},
        {200, "\"Up\""},
        {219, "\"Left Windows\""},
        {15, "\"Tab\""},
        {201, "\"Page Up\""},
        {209, "\"Page Down\""},
        // Keys without a name or a character of their own get the reader's name for them.
        {41, "\"grave\""},
        {1, "\"escape\""},
        {87, "\"f11\""},
        {79, "\"np1\""},
        // The numeric pad's '*' also comes from shift+8: its character would read back as 8.
        {55, "\"npstar\""},
        {181, "\"npslash\""},
        {43, "\"#\""},
        {0, "\"\""},
        {300, "\"\""},
        {-5, "\"\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Key_Name(c.code), c.shown) << c.code;

    char text[8] = "ab";
    Append_Key_Name(text, sizeof text, 30);
    EXPECT_STREQ(text, "ab\"a\"");
    Append_Key_Name(text, sizeof text, 28); // no room: cut, still terminated
    EXPECT_EQ(std::strlen(text), 7u);
    Append_Key_Name(nullptr, 8, 30);
}

// Every key a binding can hold after a load (any name or character the reader takes) and every key of the
// capture list comes back from a save and a load as the same key.
TEST_F(ControlsFileTest, EveryBindableKeySurvivesASaveAndALoad)
{
    std::set<int> codes(k_capture_keys, k_capture_keys + CAPTURE_KEY_COUNT);
    for (int code = 0; code < 256; ++code)
    {
        if (const char* name = Name_From_Key(code))
            codes.insert(Key_From_Name(name));
        for (bool shift : {false, true})
            if (char c = Char_From_Key(code, shift, false))
                codes.insert(Key_From_Char(c));
    }
    codes.erase(0);
    ASSERT_EQ(codes.size(), 94u); // the 64 of the capture list and 30 more
    const std::vector<int> list(codes.begin(), codes.end());
    for (size_t first = 0; first < list.size(); first += 6)
    {
        Controls saved;
        for (int slot = 0; slot < 6; ++slot)
            saved.bindings[slot] = list[(first + slot) % list.size()];
        ASSERT_TRUE(Save_Controls(saved, "controls.txt"));
        Controls loaded;
        for (int slot = 0; slot < 6; ++slot)
            loaded.bindings[slot] = 0;
        int32_t pad_index = -1;
        ASSERT_TRUE(Read_Controls(loaded, "controls.txt", pad_index));
        for (int slot = 0; slot < BIND_COUNT; ++slot)
            EXPECT_EQ(loaded.bindings[slot], saved.bindings[slot]) << "slot " << slot << "\n"
                                                                   << Read_File("controls.txt");
        EXPECT_EQ(pad_index, 0);
    }
}

struct File_Case
{
    const char* what;
    std::string text;
    int32_t bindings[BIND_COUNT];
    int32_t pad_index; // 99: left alone
    bool visible;
};

TEST_F(ControlsFileTest, DamagedAndHandEditedFilesKeepDefaultsWhereAValueIsUnusable)
{
    const File_Case cases[] = {
        {"unknown settings and key names",
         "key_left \"Banana\"\r\nkey_sideways \"q\"\r\nkey_fire q\r\nspeed 9\r\nkey_down \"Page Down\"\r\n",
         {30, 32, 17, 209, 16, 54, 0, -1, 0, 1},
         99,
         true},
        {"empty values",
         "key_left \"\"\r\npad_vx \"\"\r\npad_index \"\"\r\nvisible \"\"\r\nkey_fire",
         {30, 32, 17, 31, 28, 54, 0, -1, 0, 1},
         99,
         true},
        {"numbers that are no whole numbers",
         "pad_vx 1.5\r\npad_vy 2x\r\npad_fire 0x10\r\npad_pickup 99999999999\r\npad_index -\r\n",
         {30, 32, 17, 31, 28, 54, 0, -1, 0, 1},
         99,
         true},
        {"whole numbers far out of range are kept (they name no axis or button)",
         "pad_index -7\r\npad_vx 8\r\npad_vy -2147483648\r\npad_fire 40\r\npad_pickup -1\r\n",
         {30, 32, 17, 31, 28, 54, 8, INT_MIN, 40, -1},
         -7,
         true},
        {"an earlier writer's lone double quote and Page Up",
         "key_left   \"\r\nkey_right  \"Page Up\"\r\nkey_thrust \"w\"\r\nkey_down   \"s\"\r\n"
         "key_pickup \"Right Shift\"\r\nkey_fire   \"Return\"\r\n\r\npad_index   1\r\nvisible     false\r\n",
         {30, 32, 17, 31, 28, 54, 0, -1, 0, 1},
         1,
         false},
        {"a key given twice, and a block",
         "key_fire \"x\"\r\nkey_fire \"y\"\r\nkey_left { \"j\" k }\r\nkey_right \"page up\"\r\n",
         {36, 201, 17, 31, 45, 54, 0, -1, 0, 1},
         99,
         true},
        {"visible as 0", "visible 0\r\n", {30, 32, 17, 31, 28, 54, 0, -1, 0, 1}, 99, false},
        {"visible as yes", "visible yes\r\n", {30, 32, 17, 31, 28, 54, 0, -1, 0, 1}, 99, false},
        {"visible as TRUE", "visible TRUE\r\n", {30, 32, 17, 31, 28, 54, 0, -1, 0, 1}, 99, true},
        {"visible given twice: the first counts",
         "visible false\r\nvisible TRUE\r\n",
         {30, 32, 17, 31, 28, 54, 0, -1, 0, 1},
         99,
         false},
        {"nul bytes and control characters",
         std::string(k_control_bytes, sizeof k_control_bytes - 1),
         {32, 32, 17, 31, 28, 54, 0, -1, 0, 1},
         99,
         true},
    };
    for (const File_Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Write_File("controls.txt", c.text);
        Controls controls;
        int32_t pad_index = 99;
        ASSERT_TRUE(Read_Controls(controls, "controls.txt", pad_index));
        for (int slot = 0; slot < BIND_COUNT; ++slot)
            EXPECT_EQ(controls.bindings[slot], c.bindings[slot]) << "slot " << slot;
        EXPECT_EQ(pad_index, c.pad_index);
        EXPECT_EQ(controls.touch_visible, c.visible);
    }
}

TEST_F(ControlsFileTest, GarbageAndMissingFilesLeaveUsableBindings)
{
    Controls controls;
    int32_t pad_index = 99;
    EXPECT_FALSE(Read_Controls(controls, "missing.txt", pad_index));
    Write_File("empty.txt", "");
    EXPECT_FALSE(Read_Controls(controls, "empty.txt", pad_index));
    EXPECT_EQ(pad_index, 99);
    for (int slot = 0; slot < BIND_COUNT; ++slot)
        EXPECT_EQ(controls.bindings[slot], k_defaults[slot]);

    std::mt19937 random(19);
    for (int round = 0; round < 200; ++round)
    {
        std::string bytes(1 + random() % 400, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random());
        if (round % 2)
            bytes = "key_fire " + bytes + "\r\npad_vx " + bytes;
        Write_File("garbage.txt", bytes);
        Controls read;
        Read_Controls(read, "garbage.txt", pad_index);
        for (int slot = BIND_LEFT; slot <= BIND_USE; ++slot)
        {
            EXPECT_GT(read.bindings[slot], 0);
            EXPECT_LT(read.bindings[slot], 256);
        }
    }
}

// The App reads the file at start (writing the defaults first when there is none) and writes it at exit.
TEST_F(ControlsFileTest, TheAppWritesDefaultsWhenThereIsNoFileAndKeepsARebindingAcrossRuns)
{
    {
        App app;
        app.Load_Controls();
        EXPECT_EQ(Read_File("controls.txt"), k_default_file);
        for (int slot = 0; slot < BIND_COUNT; ++slot)
            EXPECT_EQ(app.controls.bindings[slot], k_defaults[slot]);
        EXPECT_EQ(app.controls.touch_sprite, nullptr); // no window to make it on
        app.controls.bindings[BIND_UP] = 201;
        app.controls.bindings[BIND_LEFT] = 41;
        app.controls.bindings[BIND_PAD_USE] = 5;
        app.controls.touch_visible = false;
    }
    std::string saved = Read_File("controls.txt");
    EXPECT_NE(saved.find("key_left   \"grave\"\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("key_thrust \"Page Up\"\r\n"), std::string::npos) << saved;
    {
        App app;
        app.Load_Controls();
        EXPECT_EQ(app.controls.bindings[BIND_UP], 201);
        EXPECT_EQ(app.controls.bindings[BIND_LEFT], 41);
        EXPECT_EQ(app.controls.bindings[BIND_PAD_USE], 5);
        EXPECT_FALSE(app.controls.touch_visible);
    }
    EXPECT_EQ(Read_File("controls.txt"), saved);
}
} // namespace
