// Data_Pack over archives made by 7z: coders, solid and non-solid blocks, lookup rules, extraction order
// and damaged archives.
#include "archive_maker.h"
#include "engine/pack/data_pack.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <filesystem>

using pack_test::Make_Archive;
using pack_test::Member_File;
using pack_test::Sample_Bytes;
using test_support::Scratch_Folder;
using test_support::Write_File;

namespace
{
std::string g_log;

void Capture_Log(const char* format, ...)
{
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    g_log += text;
}

std::string Extracted(Data_Pack& pack, const char* name)
{
    uint8_t* data = nullptr;
    uint32_t size = pack.Extract(name, &data);
    std::string bytes(reinterpret_cast<const char*>(data), size);
    EXPECT_EQ(data == nullptr, size == 0) << name;
    delete[] data;
    return bytes;
}

class DataPackTest : public ::testing::Test
{
  protected:
    void SetUp() override { g_log.clear(); }
    Scratch_Folder folder;
    Data_Pack pack{Capture_Log};
};

// Sorted as 7z stores them: a folder entry, upper-case paths, an empty member.
const std::vector<Member_File>& Game_Files()
{
    static const std::vector<Member_File> files = {
        {"DATA/Textures/Ship.DDS", Sample_Bytes(200000, 1, false)},
        {"data/empty.wav", ""},
        {"data/folder/", ""},
        {"data/levels.txt", Sample_Bytes(50000, 2, true)},
        {"data/sounds/zap.wav", Sample_Bytes(70000, 3, false)},
        {"data/sprites/ship.spr", Sample_Bytes(3000, 4, true)},
    };
    return files;
}

TEST_F(DataPackTest, EveryCoderAndBlockLayoutExtractsByteForByteDecodingInOrderOnce)
{
    const char* layouts[] = {
        "-m0=lzma2 -ms=on",         "-m0=lzma -ms=off",         "-m0=lzma -ms=on -mhc=off",
        "-m0=BCJ -m1=LZMA2 -ms=on", "-m0=BCJ2 -m1=LZMA -ms=on", "-m0=Copy",
        "-m0=lzma2 -ms=2f", // solid blocks of two members each
    };
    int number = 0;
    for (const char* layout : layouts)
    {
        SCOPED_TRACE(layout);
        std::string archive =
            Make_Archive(folder, "kind" + std::to_string(number++) + ".7z", layout, Game_Files());
        ASSERT_FALSE(archive.empty());
        ASSERT_TRUE(pack.Open(archive.c_str()));
        for (const Member_File& file : Game_Files())
        {
            std::string lower = file.path;
            for (char& c : lower)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (file.path.back() == '/')
            {
                lower.pop_back();
                EXPECT_EQ(pack.File_Size(lower.c_str()), 0u) << "a folder is never a member";
                continue;
            }
            EXPECT_EQ(pack.File_Size(lower.c_str()), file.bytes.size()) << file.path;
            EXPECT_TRUE(Extracted(pack, lower.c_str()) == file.bytes) << file.path;
        }
        EXPECT_EQ(pack.Get_Archive().Decoder_Starts(), 1u);
        // Going back starts the decoder over and still gives the right bytes.
        EXPECT_TRUE(Extracted(pack, "data/levels.txt") == Game_Files()[3].bytes);
        EXPECT_TRUE(Extracted(pack, "data/levels.txt") == Game_Files()[3].bytes);
        EXPECT_EQ(pack.Get_Archive().Decoder_Starts(), 3u);
        EXPECT_EQ(g_log, "");
        pack.Close();
        EXPECT_EQ(pack.File_Size("data/levels.txt"), 0u);
    }
}

TEST_F(DataPackTest, OutOfOrderRequestsInOneSolidBlockAllGetTheirOwnBytes)
{
    std::vector<Member_File> files;
    for (int i = 0; i < 12; ++i)
        files.push_back({"data/m" + std::to_string(10 + i), Sample_Bytes(5000 + 977 * i, 10 + i, i % 2)});
    std::string archive = Make_Archive(folder, "solid.7z", "-m0=lzma2 -ms=on", files);
    ASSERT_TRUE(pack.Open(archive.c_str()));
    for (int i : {5, 6, 2, 11, 0, 0, 7, 3, 10, 1})
        EXPECT_TRUE(Extracted(pack, files[i].path.c_str()) == files[i].bytes) << files[i].path;
    // The members passed on the way to 5 and to 11 were kept and handed out from memory; only the second
    // request for 0, already handed out, started the decoder over. 4, 8 and 9 are still kept.
    EXPECT_EQ(pack.Get_Archive().Decoder_Starts(), 2u);
    EXPECT_EQ(pack.Get_Archive().Kept_Bytes(),
              files[4].bytes.size() + files[8].bytes.size() + files[9].bytes.size());
    for (int i : {4, 8, 9})
        EXPECT_TRUE(Extracted(pack, files[i].path.c_str()) == files[i].bytes) << files[i].path;
    EXPECT_EQ(pack.Get_Archive().Kept_Bytes(), 0u);
    EXPECT_EQ(pack.Get_Archive().Decoder_Starts(), 2u);
}

TEST_F(DataPackTest, ANameOf255CharactersEndsEveryLookupThatReachesIt)
{
    std::string long_name = "data/A" + std::string(245, 'x') + ".txt";
    std::string longest_allowed = "data/B" + std::string(244, 'x') + ".txt";
    ASSERT_EQ(long_name.size(), 255u);
    std::string archive = Make_Archive(folder, "long.7z", "",
                                       {{"data/0first.txt", "first"},
                                        {long_name, "long"},
                                        {longest_allowed, "254"},
                                        {"data/later.txt", "later"}});
    ASSERT_TRUE(pack.Open(archive.c_str()));
    EXPECT_EQ(Extracted(pack, "data/0first.txt"), "first");
    EXPECT_EQ(g_log, "");
    EXPECT_EQ(pack.File_Size("data/later.txt"), 0u);
    EXPECT_EQ(g_log, "Failed: 7z - Filename to long!!!\n");
    EXPECT_EQ(Extracted(pack, longest_allowed.c_str()), "");
    EXPECT_EQ(pack.File_Size(long_name.c_str()), 0u);
    EXPECT_EQ(pack.Find_Entry("missing"), -1);
    // Each lookup that reached the long name logged it once.
    size_t lines = 0;
    for (size_t at = 0; (at = g_log.find("Filename to long", at)) != std::string::npos; ++at)
        ++lines;
    EXPECT_EQ(lines, 4u);

    // One unit shorter passes.
    Scratch_Folder other;
    std::string fine =
        Make_Archive(other, "fine.7z", "", {{longest_allowed, "254"}, {"data/later.txt", "later"}});
    ASSERT_TRUE(pack.Open(fine.c_str()));
    EXPECT_EQ(Extracted(pack, longest_allowed.c_str()), "254");
    EXPECT_EQ(Extracted(pack, "DATA/LATER.TXT"), "later");
}

TEST_F(DataPackTest, MissingGarbageTruncatedAndDamagedArchives)
{
    EXPECT_FALSE(pack.Open(folder.File("none.pak").c_str()));
    EXPECT_EQ(g_log, "Failed: 7z - Unable to open file \"" + folder.File("none.pak") + "\"\n");

    std::vector<Member_File> files = {{"data/a.bin", Sample_Bytes(150000, 7, false)},
                                      {"data/b.txt", Sample_Bytes(90000, 8, true)}};
    std::string good = Make_Archive(folder, "good.7z", "-m0=lzma2 -ms=on", files);
    std::string bytes = test_support::Read_File(good);
    ASSERT_GT(bytes.size(), 1000u);

    // A start header whose table of members lies far beyond the end of the file (its CRC made to match).
    std::string beyond = bytes;
    for (int i = 0; i < 8; ++i)
        beyond[20 + i] = static_cast<char>(i == 5 ? 0x04 : 0);
    uint32_t crc = 0xFFFFFFFFu;
    for (int i = 12; i < 32; ++i)
    {
        crc ^= static_cast<uint8_t>(beyond[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc = ~crc;
    for (int i = 0; i < 4; ++i)
        beyond[8 + i] = static_cast<char>(crc >> (8 * i));

    // Not an archive, archives cut short, a damaged start header: no table of members.
    std::vector<std::pair<std::string, std::string>> unusable = {
        {"garbage.pak", "this is not a 7z archive at all"},
        {"header.pak", bytes.substr(0, 32)},
        {"half.pak", bytes.substr(0, bytes.size() / 2)},
        {"short.pak", bytes.substr(0, bytes.size() - 1)},
        {"beyond.pak", beyond},
        {"start_crc.pak", bytes.substr(0, 9) + static_cast<char>(bytes[9] ^ 1) + bytes.substr(10)},
        // the table of members itself damaged (its last byte), the start header intact
        {"table_crc.pak", bytes.substr(0, bytes.size() - 1) + static_cast<char>(bytes.back() ^ 0x10)},
    };
    for (const auto& [name, content] : unusable)
    {
        g_log.clear();
        Write_File(folder.File(name.c_str()), content);
        EXPECT_FALSE(pack.Open(folder.File(name.c_str()).c_str())) << name;
        EXPECT_EQ(g_log, "Failed: 7z - Incompatible file \"" + folder.File(name.c_str()) + "\"\n");
        EXPECT_EQ(pack.File_Size("data/a.bin"), 0u);
    }
    g_log.clear();
    EXPECT_FALSE(pack.Open(folder.Path().c_str()));
    EXPECT_NE(g_log.find("Failed: 7z - "), std::string::npos);

    // Damaged packed data: the table opens, the extraction fails with its line and hands out nothing.
    std::string damaged = bytes;
    for (size_t i = 100; i < 400; ++i)
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    Write_File(folder.File("damaged.pak"), damaged);
    g_log.clear();
    ASSERT_TRUE(pack.Open(folder.File("damaged.pak").c_str()));
    EXPECT_EQ(pack.File_Size("data/a.bin"), 150000u);
    uint8_t* data = reinterpret_cast<uint8_t*>(1);
    EXPECT_EQ(pack.Extract("data/a.bin", &data), 0u);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(g_log, "Failed: 7z - extracting file \"data/a.bin\"???\n");
    // Asking again does not hand out bytes either.
    EXPECT_EQ(Extracted(pack, "data/b.txt"), "");
}
} // namespace
