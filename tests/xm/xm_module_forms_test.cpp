// Forms that modules from other trackers take: samples packed as 4-bit ADPCM, short patterns of empty
// cells, and rows that move with speed changes, pattern delays, loops, jumps and breaks, checked against
// the row timeline a tracker plays; and the row trace that vorta5-xm prints.
#include "support/test_files.h"
#include "xm_flow_songs.h"
#include "xm_test_support.h"

#include <cstdio>
#include <sstream>
#include <string>

namespace
{
constexpr int TICK = 880; // frames per tick at 44000 Hz and tempo 125
constexpr int ROW = 6 * TICK;

// Collects the row starts as a tracker's row timeline: a row held or repeated in place counts once.
class Row_Log final : public XM_Row_Listener
{
  public:
    void On_Row(const XM_Replayer&, const XM_Row_Start& start) override
    {
        if (!rows.empty() && rows.back().position == start.position && rows.back().row == start.row)
            return;
        rows.push_back({start.position, start.row, static_cast<int>(start.tick)});
        frames.push_back(start.frame);
    }
    std::vector<Xm_Flow_Row> rows;
    std::vector<int64_t> frames;
};

class Xm_Forms_Test : public Xm_Test
{
  protected:
    void TearDown() override
    {
        g_xm_player.Set_Row_Listener(nullptr);
        Xm_Test::TearDown();
    }
};

TEST_F(Xm_Forms_Test, Adpcm_Samples_Decode_Beside_Plain_Ones_And_Keep_The_Instruments_After_Them)
{
    Xm_Writer w;
    w.channels = 1;
    w.Add_Pattern(4);
    w.Cell(0, 0, 0) = {49, 2, 0, 0, 0};
    w.Add_Constant_Instrument(16, 5); // plain 8-bit before it
    Xm_Writer_Instrument packed;
    Xm_Writer_Sample adpcm;
    adpcm.adpcm_table = {0, 1, 2, 4, 8, 16, 32, 64, -1, -2, -4, -8, -16, -32, -64, -128};
    adpcm.adpcm_nibbles = {7, 7, 1, 15, 15, 9, 0}; // an odd count: the last byte's high nibble is unused
    adpcm.loop_type = 1;
    adpcm.loop_start = 2;
    adpcm.loop_length = 4;
    packed.samples.push_back(adpcm);
    w.instruments.push_back(packed);
    // After it: a plain 16-bit sample whose header byte happens to be 0xAD, and a plain 8-bit one.
    Xm_Writer_Instrument after;
    Xm_Writer_Sample wide;
    wide.wide = true;
    wide.frames = {1000, -2000, 3000};
    wide.reserved = 0xAD;
    after.samples.push_back(wide);
    w.instruments.push_back(after);
    w.Add_Constant_Instrument(-40, 3);
    ASSERT_TRUE(Load(w));
    const XM_Song& song = g_xm_player.Song();

    // The running sum of the table's deltas, wrapping as a signed byte: 64, 64+64, +1, -128, -128, -2, +0.
    const int expected[] = {64, -128, -127, 1, -127, 127, 127};
    ASSERT_NE(nullptr, song.instruments[2]);
    const XM_Sample& a = song.instruments[2]->samples[0];
    ASSERT_EQ(7, a.length);
    for (int k = 0; k < 7; ++k)
        EXPECT_FLOAT_EQ(expected[k] / 128.0f, a.data[k]) << "frame " << k;
    EXPECT_EQ(2, a.loop_start);
    EXPECT_EQ(4, a.loop_length);

    ASSERT_NE(nullptr, song.instruments[1]);
    EXPECT_FLOAT_EQ(16 / 128.0f, song.instruments[1]->samples[0].data[4]);
    ASSERT_NE(nullptr, song.instruments[3]);
    const XM_Sample& b = song.instruments[3]->samples[0];
    ASSERT_EQ(3, b.length);
    EXPECT_FLOAT_EQ(-2000 / 32768.0f, b.data[1]);
    EXPECT_FLOAT_EQ(3000 / 32768.0f, b.data[2]);
    ASSERT_NE(nullptr, song.instruments[4]);
    EXPECT_FLOAT_EQ(-40 / 128.0f, song.instruments[4]->samples[0].data[2]);

    // The packed instrument plays.
    EXPECT_EQ(0, First_Sound(Render(ROW)));

    // Packed data cut short by the end of the file drops its instrument; the ones before it stay.
    std::vector<uint8_t> bytes = w.Build();
    // The two instruments after it take a 263-byte header, a 40-byte sample header and their data.
    size_t packed_end = bytes.size() - (263 + 40 + 3 * 2) - (263 + 40 + 3);
    bytes.resize(packed_end - 3); // into the packed nibbles
    ASSERT_TRUE(g_xm_player.Load(bytes.data(), bytes.size()));
    EXPECT_NE(nullptr, g_xm_player.Song().instruments[1]);
    EXPECT_EQ(nullptr, g_xm_player.Song().instruments[2]);
    EXPECT_EQ(nullptr, g_xm_player.Song().instruments[3]);
}

TEST_F(Xm_Forms_Test, Empty_Patterns_Play_Their_Stored_Row_Count)
{
    struct Case
    {
        const char* what;
        int rows;        // in the pattern's header
        bool pack_empty; // its cells written one by one instead of no data
        int order;       // the pattern the song plays first
        int played_rows;
    } cases[] = {
        {"4 rows with no data", 4, false, 0, 4},
        {"4 rows of empty cells", 4, true, 0, 4},
        {"one row", 1, false, 0, 1},
        {"200 rows of empty cells", 200, true, 0, 200},
        {"a 0-row header", 0, false, 0, 64},
        {"a pattern number past the pattern count", 4, false, 7, 64},
    };
    for (const Case& c : cases)
    {
        Xm_Writer w;
        w.channels = 2;
        w.Add_Pattern(c.rows).pack_empty = c.pack_empty;
        w.Add_Pattern(2);
        w.Cell(1, 0, 1) = {49, 1, 0, 0, 0};
        w.Add_Constant_Instrument(64);
        w.orders = {static_cast<uint8_t>(c.order), 1};
        ASSERT_TRUE(Load(w)) << c.what;
        EXPECT_EQ(c.played_rows, g_xm_player.Song().Pattern_Rows(0)) << c.what;
        Row_Log log;
        g_xm_player.Set_Row_Listener(&log);
        std::vector<int16_t> out = Render((c.played_rows + 1) * ROW);
        g_xm_player.Set_Row_Listener(nullptr);
        // The pause lasts its rows, then the next pattern's note sounds.
        EXPECT_EQ(c.played_rows * ROW, First_Sound(out)) << c.what;
        ASSERT_EQ(static_cast<size_t>(c.played_rows + 1), log.rows.size()) << c.what;
        EXPECT_EQ(c.played_rows - 1, log.rows[c.played_rows - 1].row) << c.what;
        EXPECT_EQ(1, log.rows[c.played_rows].position) << c.what;
        EXPECT_EQ(c.played_rows * 6, log.rows[c.played_rows].tick) << c.what;
    }
}

std::string Timeline_Text(const std::vector<Xm_Flow_Row>& rows, size_t count)
{
    std::ostringstream text;
    for (size_t i = 0; i < count && i < rows.size(); ++i)
        text << rows[i].position << "." << rows[i].row << "@" << rows[i].tick << " ";
    return text.str();
}

TEST_F(Xm_Forms_Test, Rows_Follow_The_Trackers_Timeline_Through_Delays_Loops_Jumps_And_Breaks)
{
    for (const Xm_Flow_Song& song : Xm_Flow_Songs())
    {
        ASSERT_TRUE(Load(song.writer)) << song.name;
        Row_Log log;
        g_xm_player.Set_Row_Listener(&log);
        // Enough ticks for the listed rows at the slowest tempo the songs set (32).
        Render((song.timeline.back().tick + 40) * (44000 * 5 / 2 / 32));
        g_xm_player.Set_Row_Listener(nullptr);
        EXPECT_EQ(Timeline_Text(song.timeline, song.timeline.size()),
                  Timeline_Text(log.rows, song.timeline.size()))
            << song.name;
    }
}

TEST_F(Xm_Forms_Test, Row_Starts_Fall_On_Tick_Boundaries_At_The_Current_Tempo)
{
    // Speed 3; tempo 128 from row 2 (861 frames a tick at 44000 Hz), 32 from row 5 (3437).
    const Xm_Flow_Song song = Xm_Flow_Songs().front();
    ASSERT_TRUE(Load(song.writer));
    Row_Log log;
    g_xm_player.Set_Row_Listener(&log);
    Render(40 * ROW);
    ASSERT_GE(log.frames.size(), 8u);
    const int64_t at_125 = 880, at_128 = 44000 * 5 / 2 / 128, at_32 = 44000 * 5 / 2 / 32;
    const int64_t expected[8] = {0,
                                 3 * at_125,
                                 6 * at_125,
                                 6 * at_125 + 3 * at_128,
                                 6 * at_125 + 6 * at_128,
                                 6 * at_125 + 7 * at_128,
                                 6 * at_125 + 7 * at_128 + 1 * at_32,
                                 6 * at_125 + 7 * at_128 + 32 * at_32};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(expected[i], log.frames[i]) << "row " << i;
}

// The trace command prints every row start with its place, time and each channel's cell and volume.
TEST_F(Xm_Forms_Test, Trace_Prints_A_Line_Per_Row_Start)
{
    test_support::Scratch_Folder folder;
    Xm_Writer w;
    w.channels = 2;
    w.Add_Pattern(3);
    w.Cell(0, 0, 0) = {49, 1, 0x30, 0x0E, 0xE1}; // C-4, instrument 1, volume 32, pattern delay
    w.Cell(0, 1, 1) = {97, 0, 0, 0x0F, 0x03};    // key off, speed 3
    w.Add_Constant_Instrument(64);
    std::string song = folder.File("trace.xm"), listing = folder.File("trace.txt");
    std::vector<uint8_t> bytes = w.Build();
    test_support::Write_File(song, std::string(bytes.begin(), bytes.end()));
    std::string command =
        std::string(VORTA5_RUNTIME_DIR) + "/vorta5-xm trace '" + song + "' > '" + listing + "'";
    ASSERT_EQ(0, std::system(command.c_str()));
    std::istringstream text(test_support::Read_File(listing));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    // Row 0, its delayed repeat, rows 1 and 2; the trace ends where the order list wraps.
    const char* expected[] = {
        "  0   0   0         0     0.0000   6 125  |C-4 01 32 |--- --  0",
        "  0   0   0*        6     0.1200   6 125  |C-4 01 32 |--- --  0",
        "  0   0   1        12     0.2400   3 125  |--- -- 32 |=== --  0",
        "  0   0   2        15     0.3000   3 125  |--- -- 32 |--- --  0",
    };
    ASSERT_EQ(4u, lines.size()) << test_support::Read_File(listing);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(expected[i], lines[i]);
}
} // namespace
