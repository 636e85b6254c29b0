// Song texts: each written cell becomes the XM cell it names, packed as the format packs it.
#include "asset_files.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <array>

using asset_test::Run_Builder;
using test_support::Read_File;
using test_support::Scratch_Folder;
using test_support::Write_File;

namespace
{
// Unpacks the cells of the first pattern of a module (one channel).
std::vector<std::array<int, 5>> First_Pattern(const std::string& xm)
{
    auto u8 = [&](size_t at) { return static_cast<int>(static_cast<unsigned char>(xm[at])); };
    auto u16 = [&](size_t at) { return u8(at) | u8(at + 1) << 8; };
    size_t header = 60 + static_cast<size_t>(u16(60) | u16(62) << 16);
    int rows = u16(header + 5);
    size_t at = header + static_cast<size_t>(u16(header) | u16(header + 2) << 16), end = at + u16(header + 7);
    std::vector<std::array<int, 5>> cells;
    while (at < end && static_cast<int>(cells.size()) < rows)
    {
        std::array<int, 5> cell{};
        int b = u8(at++);
        for (int i = 0; i < 5; ++i)
            if (!(b & 0x80) || (b & (1 << i)))
                cell[i] = (!(b & 0x80) && i == 0) ? b : u8(at++);
        cells.push_back(cell);
    }
    return cells;
}
} // namespace

TEST(SongText, CellsBecomeTheXmCellsTheyName)
{
    struct Case
    {
        const char* row;
        std::array<int, 5> cell; // note, instrument, volume column, effect, parameter
    };
    const Case cases[] = {
        {"C-0 01 .. ...", {1, 1, 0, 0, 0}},         // the lowest note
        {"C-4 .. .. ...", {49, 0, 0, 0, 0}},        // middle C
        {"C#4 02 40 A0F", {50, 2, 0x50, 10, 0x0F}}, // every field: a full cell is stored unpacked
        {"B-7 .. 00 ...", {96, 0, 0x10, 0, 0}},     // the highest note, volume 0
        {"=== .. .. ...", {97, 0, 0, 0, 0}},        // key off
        {"--- .. .. F06", {0, 0, 0, 15, 6}},        // speed
        {"... .. .. Z00", {0, 0, 0, 35, 0}},        // the last effect letter
        {"--- .. 2a ...", {0, 0, 0x3A, 0, 0}},      // lower-case hex
        {"--- .. -3 ...", {0, 0, 0x63, 0, 0}},      // volume column commands: slide down
        {"--- .. +f ...", {0, 0, 0x7F, 0, 0}},      // slide up
        {"--- .. d2 ...", {0, 0, 0x82, 0, 0}},      // fine down ("d2" reads past 40 as a volume)
        {"--- .. v4 ...", {0, 0, 0xB4, 0, 0}},      // vibrato depth
        {"--- .. m8 ...", {0, 0, 0xF8, 0, 0}},      // tone portamento
        {"--- .. .. ...", {0, 0, 0, 0, 0}},         // empty
    };
    std::string text = "channels 1\ninstrument 1 a\n  length 0.05\nend\ninstrument 2 b\n  length 0.05\nend\n"
                       "pattern 0\n";
    for (const Case& c : cases)
        text += std::string(c.row) + "\n";
    text += "end\norder 0\n";

    Scratch_Folder sources, data;
    Write_File(sources.File("song.song"), text);
    auto result = Run_Builder(sources.Path(), data.Path());
    ASSERT_EQ(result.exit_code, 0) << result.output;
    std::string xm = Read_File(data.File("song.xm"));
    ASSERT_GT(xm.size(), 400u);
    EXPECT_EQ(xm.compare(0, 17, "Extended Module: "), 0);
    EXPECT_EQ(static_cast<unsigned char>(xm[58]) | static_cast<unsigned char>(xm[59]) << 8, 0x0104);

    auto cells = First_Pattern(xm);
    ASSERT_EQ(cells.size(), std::size(cases));
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(cells[i], cases[i].cell) << cases[i].row;
}

// A pattern built from tracks: each track repeats to fill the rows, takes its default instrument and its
// transposition; the order repeats a pattern with P*N.
TEST(SongText, TracksFillPatternsAndTheOrderRepeats)
{
    const std::string text =
        "channels 1\ninstrument 1 a\n  length 0.05\nend\ninstrument 2 b\n  length 0.05\nend\n"
        "track riff 2\n  C-4v20x037 .*2\n  =i1 D#3i1vm4\nend\n"
        "pattern 0\n  rows 8\n  1 riff 12\nend\norder 0*3\n";
    Scratch_Folder sources, data;
    Write_File(sources.File("song.song"), text);
    auto result = Run_Builder(sources.Path(), data.Path());
    ASSERT_EQ(result.exit_code, 0) << result.output;
    std::string xm = Read_File(data.File("song.xm"));
    EXPECT_EQ(static_cast<unsigned char>(xm[64]), 3) << "song length";
    using Cell = std::array<int, 5>;
    const Cell riff[5] = {{61, 2, 0x30, 0, 0x37}, {}, {}, {97, 1, 0, 0, 0}, {52, 1, 0xF4, 0, 0}};
    auto cells = First_Pattern(xm);
    ASSERT_EQ(cells.size(), 8u);
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(cells[i], riff[i % 5]) << "row " << i;

    // A channel line's options: delayed a row (the last step comes round to the start), at half volume
    // (of the step's own or of the instrument's), on another instrument, panned left of centre.
    Write_File(sources.File("song.song"), "channels 1\ninstrument 1 a\n  length 0.05\nend\ninstrument 2 b\n"
                                          "  length 0.05\nend\ntrack t 1\n  C-4v40 D-4 .\nend\n"
                                          "pattern 0\n  1 t >1 %50 @2 ~64\nend\norder 0\n");
    result = Run_Builder(sources.Path(), data.Path());
    ASSERT_EQ(result.exit_code, 0) << result.output;
    cells = First_Pattern(Read_File(data.File("song.xm")));
    const Cell shifted[3] = {{}, {49, 2, 0x30, 8, 0x40}, {51, 2, 0x30, 8, 0x40}};
    ASSERT_EQ(cells.size(), 3u);
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(cells[i], shifted[i]) << "row " << i;

    // Mistakes name the line and the reason.
    Write_File(sources.File("song.song"), "channels 1\ntrack t\n  C-4 .x4\nend\n");
    result = Run_Builder(sources.Path(), data.Path());
    EXPECT_NE(result.exit_code, 0);
    EXPECT_NE(result.output.find("song.song:3: '.x4'"), std::string::npos) << result.output;
}
