// The word rule and Text_File: words, lines, numbers, loading and buffers.
#include "engine/core/get_word.h"
#include "engine/core/text_file.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using test_support::Scratch_Folder;
using test_support::Write_File;

namespace
{
struct Word_Case
{
    std::string text;
    int n;
    int mode;
    const char* word;
    uint32_t next; // 0: no such word
};

TEST(GetWordTest, SplitsTextAsEachModeSays)
{
    const Word_Case cases[] = {
        {"  alpha\tbeta\r\n", 0, WORD_BLANKS, "alpha", 8},
        {"  alpha\tbeta\r\n", 1, WORD_BLANKS, "beta", 14},
        {"  alpha\tbeta\r\n", 2, WORD_BLANKS, "", 0},
        {std::string("a\0b", 3), 1, WORD_BLANKS, "b", 3},             // zero bytes separate words
        {"a\x01\x7f b", 0, WORD_BLANKS, "a\x01\x7f", 4},              // other control bytes belong to words
        {"key \"two words\"  next", 1, WORD_BLANKS, "two words", 17}, // quotes dropped, blanks after skipped
        {"key \"two words\"  next", 2, WORD_BLANKS, "next", 21},
        {"\"\" x", 0, WORD_BLANKS, "", 3}, // an empty quoted word is still a word
        {"key \"open to the end", 1, WORD_BLANKS, "\"open to the end", 20}, // unclosed: keeps its quote
        {"last", 0, WORD_BLANKS, "last", 4},                                // no line end after the last word
        {"", 0, WORD_BLANKS, "", 0},
        {"a,,b\nc", 1, WORD_FIELDS, "", 3}, // empty fields exist
        {"a,,b\nc", 2, WORD_FIELDS, "b", 5},
        {"a,,b\nc", 3, WORD_FIELDS, "c", 6},
        {"x <one two> <three", 0, WORD_ANGLES, "one two", 12},
        {"x <one two> <three", 1, WORD_ANGLES, "three", 18},
        {"no angles", 0, WORD_ANGLES, "", 0},
    };
    for (const Word_Case& c : cases)
    {
        char buffer[64];
        std::memset(buffer, '#', sizeof(buffer));
        uint32_t next = Get_Word(c.text.data(), static_cast<uint32_t>(c.text.size()), c.n, buffer,
                                 sizeof(buffer), c.mode);
        EXPECT_EQ(next, c.next) << "text \"" << c.text << "\" word " << c.n << " mode " << c.mode;
        EXPECT_STREQ(buffer, c.word) << "text \"" << c.text << "\" word " << c.n << " mode " << c.mode;
    }
}

TEST(GetWordTest, LongWordsAreCutToTheBufferAndSkippedWhole)
{
    const char text[] = "abcdefghij next";
    char buffer[5] = {'#', '#', '#', '#', '#'};
    EXPECT_EQ(Get_Word(text, 15, 0, buffer, sizeof(buffer), WORD_BLANKS), 11u);
    EXPECT_STREQ(buffer, "abcd");
    // Only `length` bytes are looked at: the word stops there even without a blank.
    EXPECT_EQ(Get_Word(text, 3, 0, buffer, sizeof(buffer), WORD_BLANKS), 3u);
    EXPECT_STREQ(buffer, "abc");
}

// A reader over a text of the test's own (borrowed, so the string keeps it).
struct Reader
{
    explicit Reader(std::string content) : text(std::move(content))
    {
        file.Set_Data(reinterpret_cast<uint8_t*>(text.data()), static_cast<uint32_t>(text.size()), true);
    }
    std::string text;
    Text_File file;
};

TEST(TextFileTest, WordsAndLinesMoveOneCursor)
{
    Reader r(std::string("first second\r\n\r\n\0third line\nlast", 32));
    char word[32];
    EXPECT_EQ(r.file.Read_Word(word, sizeof(word)), 6u);
    EXPECT_STREQ(word, "first");
    char line[32];
    // The rest of the line, then every line end and zero byte after it.
    EXPECT_EQ(r.file.Read_Line(line, sizeof(line)), 6u);
    EXPECT_STREQ(line, "second");
    EXPECT_EQ(r.file.Get_Position(), 17u);
    EXPECT_EQ(r.file.Read_Line(line, 4), 3u); // cut, but the whole line is passed
    EXPECT_STREQ(line, "thi");
    EXPECT_EQ(r.file.Read_Word(word, sizeof(word)), 4u);
    EXPECT_STREQ(word, "last");
    EXPECT_EQ(r.file.Get_Position(), r.file.Get_Size());
    EXPECT_EQ(r.file.Read_Word(word, sizeof(word)), 0u);
    EXPECT_EQ(r.file.Read_Line(line, sizeof(line)), 0u);
    EXPECT_STREQ(line, "");

    r.file.Set_Position(6);
    EXPECT_EQ(r.file.Read_Word(word, sizeof(word)), 11u);
    EXPECT_STREQ(word, "second");
    r.file.Set_Position(1000); // past the end reads nothing
    EXPECT_EQ(r.file.Read_Word(word, sizeof(word)), 0u);
    EXPECT_EQ(r.file.Read_Line(line, sizeof(line)), 0u);
}

TEST(TextFileTest, NumberReads)
{
    Reader r("0x10 0x10 010 -1 99999999999 -99999999999 99999999999 2.5 -0.25 1e2 7");
    int32_t i = -5;
    uint32_t u = 5;
    EXPECT_TRUE(r.file.Read_Unsigned(u));
    EXPECT_EQ(u, 16u);
    EXPECT_TRUE(r.file.Read_Int(i));
    EXPECT_EQ(i, 0); // decimal only: "0x10" reads as 0
    EXPECT_TRUE(r.file.Read_Unsigned(u));
    EXPECT_EQ(u, 8u); // leading zero: octal
    EXPECT_TRUE(r.file.Read_Unsigned(u));
    EXPECT_EQ(u, 0xFFFFFFFFu);
    EXPECT_TRUE(r.file.Read_Int(i));
    EXPECT_EQ(i, INT32_MAX); // saturates instead of wrapping
    EXPECT_TRUE(r.file.Read_Int(i));
    EXPECT_EQ(i, INT32_MIN);
    EXPECT_TRUE(r.file.Read_Unsigned(u));
    EXPECT_EQ(u, 0xFFFFFFFFu);
    float f = 0;
    EXPECT_TRUE(r.file.Read_Float(f));
    EXPECT_FLOAT_EQ(f, 2.5f);
    float pair[2] = {};
    EXPECT_TRUE(r.file.Read_Float2(pair));
    EXPECT_FLOAT_EQ(pair[0], -0.25f);
    EXPECT_FLOAT_EQ(pair[1], 100.0f);
    EXPECT_FALSE(r.file.Read_Float2(pair)); // only one word left
    uint32_t at = r.file.Get_Position();
    EXPECT_FALSE(r.file.Read_Int(i));
    EXPECT_FALSE(r.file.Read_Unsigned(u));
    EXPECT_FALSE(r.file.Read_Float(f));
    EXPECT_EQ(r.file.Get_Position(), at);
}

TEST(TextFileTest, LoadsFromDiskAndRefusesWhatItCannotRead)
{
    Scratch_Folder folder;
    std::string name = folder.File("script.txt");
    Write_File(name, "one two");
    Write_File(folder.File("empty.txt"), "");

    Text_File file;
    EXPECT_FALSE(file.Load(nullptr, WORD_BLANKS));
    EXPECT_FALSE(file.Load(folder.File("missing.txt").c_str(), WORD_BLANKS));
    EXPECT_FALSE(file.Load(folder.File("empty.txt").c_str(), WORD_BLANKS));
    EXPECT_FALSE(file.Load(folder.Path().c_str(), WORD_BLANKS)); // a folder is no text

    ASSERT_TRUE(file.Load(name.c_str(), WORD_FIELDS));
    EXPECT_EQ(file.Get_Size(), 7u);
    EXPECT_EQ(file.Get_Mode(), WORD_FIELDS);
    EXPECT_STREQ(file.Get_Name(), name.c_str());
    char word[16];
    file.Set_Mode(WORD_BLANKS);
    file.Read_Word(word, sizeof(word));
    // Loading again starts over.
    ASSERT_TRUE(file.Load(name.c_str(), WORD_BLANKS));
    EXPECT_EQ(file.Get_Position(), 0u);
    EXPECT_EQ(file.Read_Word(word, sizeof(word)), 4u);
    EXPECT_STREQ(word, "one");
    file.Close();
    EXPECT_EQ(file.Get_Size(), 0u);
    EXPECT_EQ(file.Read_Word(word, sizeof(word)), 0u);
}

TEST(TextFileTest, ABorrowedBufferIsNeverFreed)
{
    // A buffer on the stack: freeing it would crash or be caught by the sanitizers.
    char text[] = "alpha beta";
    {
        Text_File file;
        file.Set_Data(reinterpret_cast<uint8_t*>(text), sizeof(text) - 1, false);
        file.Set_Borrowed(true);
        char word[16];
        EXPECT_EQ(file.Read_Word(word, sizeof(word)), 6u);
        file.Close();
        EXPECT_EQ(file.Get_Position(), 0u);
        file.Set_Data(reinterpret_cast<uint8_t*>(text), sizeof(text) - 1, true);
    }
    EXPECT_STREQ(text, "alpha beta");
}
} // namespace
