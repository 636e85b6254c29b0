// Loading XM modules: header checks, the three versions, patterns, instruments and sample decoding.
#include "xm_test_support.h"

namespace
{
Xm_Writer Small_Song(uint16_t version = 0x0104)
{
    Xm_Writer w;
    w.version = version;
    w.Add_Pattern(16);
    w.Cell(0, 0, 0) = {49, 1, 0, 0, 0};
    w.Cell(0, 3, 1) = {61, 1, 0x30, 0x0A, 0x04};
    w.Add_Constant_Instrument(32);
    return w;
}

struct Header_Case
{
    const char* what;
    void (*change)(Xm_Writer&, std::vector<uint8_t>&);
};

TEST_F(Xm_Test, Header_Checks_Reject_What_The_Player_Cannot_Play)
{
    const Header_Case cases[] = {
        {"ID text", [](Xm_Writer&, std::vector<uint8_t>& b) { b[16] = '!'; }},
        {"version 0x0101",
         [](Xm_Writer& w, std::vector<uint8_t>& b) { b = (w.version = 0x0101, w.Build()); }},
        {"version 0x0105",
         [](Xm_Writer& w, std::vector<uint8_t>& b) { b = (w.version = 0x0105, w.Build()); }},
        {"0 channels", [](Xm_Writer&, std::vector<uint8_t>& b) { b[68] = 0; }},
        {"128 channels", [](Xm_Writer&, std::vector<uint8_t>& b) { b[68] = 128; }},
        {"257 patterns", [](Xm_Writer&, std::vector<uint8_t>& b) { b[70] = 1, b[71] = 1; }},
        {"song length 257", [](Xm_Writer&, std::vector<uint8_t>& b) { b[64] = 1, b[65] = 1; }},
        {"shorter than the header", [](Xm_Writer&, std::vector<uint8_t>& b) { b.resize(60); }},
    };
    for (const Header_Case& c : cases)
    {
        Xm_Writer w = Small_Song();
        std::vector<uint8_t> bytes = w.Build();
        c.change(w, bytes);
        EXPECT_FALSE(g_xm_player.Load(bytes.data(), bytes.size())) << c.what;
        EXPECT_FALSE(g_xm_player.Is_Loaded()) << c.what;
    }
    Xm_Writer w = Small_Song();
    w.channels = 127;
    w.patterns.clear();
    w.Add_Pattern(4);
    EXPECT_TRUE(Load(w)) << "127 channels";
}

TEST_F(Xm_Test, All_Three_Versions_Read_The_Same_Song)
{
    for (uint16_t version : {0x0102, 0x0103, 0x0104})
    {
        ASSERT_TRUE(Load(Small_Song(static_cast<uint16_t>(version)))) << std::hex << version;
        const XM_Song& s = g_xm_player.Song();
        EXPECT_EQ(16, s.patterns[0].rows);
        const uint8_t* cell = s.Cell(0, 3, 1);
        ASSERT_NE(nullptr, cell);
        EXPECT_EQ(61, cell[0]);
        EXPECT_EQ(0x30, cell[2]);
        EXPECT_EQ(0x0A, cell[3]);
        EXPECT_EQ(0x04, cell[4]);
        ASSERT_NE(nullptr, s.instruments[1]);
        EXPECT_EQ(256, s.instruments[1]->samples[0].length);
        EXPECT_FLOAT_EQ(0.25f, s.instruments[1]->samples[0].data[255]);
    }
}

TEST_F(Xm_Test, Speed_And_Tempo_Zero_Play_At_Six_And_125)
{
    Xm_Writer w = Small_Song();
    w.speed = 0;
    w.tempo = 0;
    ASSERT_TRUE(Load(w));
    Render(100);
    EXPECT_EQ(6, g_xm_player.Replayer().Speed());
    EXPECT_EQ(125, g_xm_player.Replayer().Tempo());
    EXPECT_EQ(880, g_xm_player.Replayer().Tick_Frames());
}

TEST_F(Xm_Test, Empty_Patterns_Keep_Their_Rows_And_Header_Sizes_Are_Respected)
{
    Xm_Writer w = Small_Song();
    w.Add_Pattern(32);                 // all cells empty: written with no data
    w.Add_Pattern(8).header_size = 12; // a longer header, as some trackers write
    w.Cell(2, 7, 0) = {50, 1, 0, 0, 0};
    w.orders = {1, 2, 0};
    ASSERT_TRUE(Load(w));
    const XM_Song& s = g_xm_player.Song();
    EXPECT_EQ(nullptr, s.patterns[1].cells);
    EXPECT_EQ(32, s.patterns[1].rows);
    EXPECT_EQ(nullptr, s.Cell(1, 10, 0));
    ASSERT_NE(nullptr, s.Cell(2, 7, 0));
    EXPECT_EQ(50, s.Cell(2, 7, 0)[0]);
    // 32 empty rows, then 8 rows: the note of pattern 2, row 7 is the first sound.
    std::vector<int16_t> out = Render((32 + 8) * 6 * 880);
    EXPECT_EQ((32 + 7) * 6 * 880, First_Sound(out));
}

TEST_F(Xm_Test, Samples_Decode_From_Deltas_With_Loops_Cut_To_Fit)
{
    Xm_Writer w = Small_Song();
    Xm_Writer_Instrument ins;
    Xm_Writer_Sample narrow;
    narrow.frames = {0, 100, -100, 127, -128, 5};
    narrow.loop_type = 1;
    narrow.loop_start = 2;
    narrow.loop_length = 10; // runs past the end: cut to 4
    Xm_Writer_Sample wide;
    wide.wide = true;
    wide.frames = {1000, -32768, 32767, 0};
    wide.loop_type = 2;
    wide.loop_start = 9; // past the end: becomes the length
    wide.loop_length = 1;
    Xm_Writer_Sample stereo;
    stereo.stereo = true;
    stereo.frames = {10, 20, 30, -10, -20, -30};
    Xm_Writer_Sample none;
    ins.samples = {narrow, wide, stereo, none};
    w.instruments.push_back(ins);
    ASSERT_TRUE(Load(w));
    const XM_Instrument& i = *g_xm_player.Song().instruments[2];
    ASSERT_EQ(4, i.sample_count);

    const XM_Sample& a = i.samples[0];
    ASSERT_EQ(6, a.length);
    const float expected[] = {0, 100, -100, 127, -128, 5};
    for (int k = 0; k < 6; ++k)
        EXPECT_FLOAT_EQ(expected[k] / 128.0f, a.data[k]) << k;
    EXPECT_EQ(2, a.loop_start);
    EXPECT_EQ(4, a.loop_length);

    const XM_Sample& b = i.samples[1];
    ASSERT_EQ(4, b.length);
    EXPECT_FLOAT_EQ(-1.0f, b.data[1]);
    EXPECT_FLOAT_EQ(32767 / 32768.0f, b.data[2]);
    EXPECT_EQ(4, b.loop_start);
    EXPECT_EQ(0, b.loop_length);
    EXPECT_EQ(0, b.Loop_Mode());

    const XM_Sample& c = i.samples[2];
    ASSERT_EQ(3, c.length); // the left half plays
    EXPECT_FLOAT_EQ(30 / 128.0f, c.data[2]);

    EXPECT_EQ(nullptr, i.samples[3].data);
    EXPECT_EQ(0, i.samples[3].length);
}

TEST_F(Xm_Test, An_Instrument_With_33_Samples_Ends_Loading)
{
    for (uint16_t version : {0x0104, 0x0103})
    {
        Xm_Writer w = Small_Song(version);
        Xm_Writer_Instrument too_many;
        too_many.header_sample_count = 33;
        w.instruments.push_back(too_many);
        w.Add_Constant_Instrument(10);
        bool loaded = Load(w);
        if (version == 0x0104)
        {
            // The instruments before the broken one stay; loading stops at it.
            ASSERT_TRUE(loaded);
            EXPECT_NE(nullptr, g_xm_player.Song().instruments[1]);
            EXPECT_EQ(nullptr, g_xm_player.Song().instruments[2]);
            EXPECT_EQ(nullptr, g_xm_player.Song().instruments[3]);
        }
        else
            EXPECT_FALSE(loaded) << "version 0x0103 loads all or nothing";
    }
}

TEST_F(Xm_Test, Broken_Files_Are_Rejected_Or_Played_Safely)
{
    Xm_Writer w = Small_Song();
    w.Add_Constant_Instrument(20, 3000);
    w.instruments[0].volume_points = {{0, 64}, {0, 32}, {65535, 200}};
    w.instruments[0].volume_type = 7;
    w.instruments[0].volume_sustain = 200;
    w.instruments[0].volume_loop_end = 99;
    w.Cell(0, 1, 0) = {49, 2, 0, 0x0F, 0x00}; // F00 neither stops nor divides by zero
    w.Cell(0, 2, 1) = {49, 9, 0, 0, 0};       // an instrument the song does not have
    std::vector<uint8_t> bytes = w.Build();

    // Where the parts of the file end: the patterns, then each instrument with its sample data.
    Xm_Writer parts = w;
    parts.instruments.clear();
    const size_t patterns_end = parts.Build().size();
    size_t instrument_end[2] = {};
    for (int i = 0; i < 2; ++i)
    {
        parts.instruments.push_back(w.instruments[i]);
        instrument_end[i] = parts.Build().size();
    }
    ASSERT_EQ(instrument_end[1], bytes.size());

    // Every truncation of the file: cut in the header or the patterns it is rejected; cut later it loads
    // with the instruments that are whole (version 0x0104 keeps those before the cut), and renders, in
    // silence where the first note's instrument is gone.
    for (size_t size = 0; size <= bytes.size(); size += size < 400 ? 1 : 97)
    {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<long>(size));
        const bool loaded = g_xm_player.Load(part.data(), part.size());
        ASSERT_EQ(loaded, size >= patterns_end) << size << " bytes";
        ASSERT_EQ(g_xm_player.Is_Loaded(), loaded) << size << " bytes";
        if (!loaded)
            continue;
        const XM_Song& song = g_xm_player.Song();
        EXPECT_EQ(song.instruments[1] != nullptr, size >= instrument_end[0]) << size << " bytes";
        EXPECT_EQ(song.instruments[2] != nullptr, size >= instrument_end[1]) << size << " bytes";
        std::vector<int16_t> out = Render(2000);
        EXPECT_EQ(g_xm_player.Replayer().Frames_Mixed(), 2000) << size << " bytes";
        EXPECT_EQ(First_Sound(out) == 0, song.instruments[1] != nullptr) << size << " bytes";
    }

    // The whole file plays on past F00 at speed 6 and tempo 125; the missing instrument plays nothing and
    // leaves the channel's next note (row 3) as it was: the song sounds as it does without that note.
    ASSERT_TRUE(g_xm_player.Load(bytes.data(), bytes.size()));
    const int row_frames = 6 * 880;
    std::vector<int16_t> out = Render(5 * row_frames + row_frames / 2); // into the middle of row 5
    const XM_Replayer& replayer = g_xm_player.Replayer();
    EXPECT_EQ(replayer.Song_Position(), 0);
    EXPECT_EQ(replayer.Row(), 5);
    EXPECT_EQ(replayer.Speed(), 6);
    EXPECT_EQ(replayer.Tempo(), 125);
    EXPECT_EQ(replayer.Wrap_Count(), 0);
    EXPECT_NE(out[out.size() - 2], 0) << "the song went silent";
    Xm_Writer without = w;
    without.Cell(0, 2, 1) = {};
    ASSERT_TRUE(Load(without));
    EXPECT_TRUE(out == Render(5 * row_frames + row_frames / 2)) << "the missing instrument made a sound";

    // A pattern that claims more packed data than the file holds fails the load.
    Xm_Writer lying = Small_Song();
    lying.patterns[0].packed_size_override = 60000;
    EXPECT_FALSE(Load(lying));
    // A sample longer than the file drops its instrument (version 0x0104 keeps the ones before).
    Xm_Writer long_sample = Small_Song();
    long_sample.Add_Constant_Instrument(5);
    long_sample.instruments[1].samples[0].header_length = 1 << 30;
    ASSERT_TRUE(Load(long_sample));
    EXPECT_NE(nullptr, g_xm_player.Song().instruments[1]);
    EXPECT_EQ(nullptr, g_xm_player.Song().instruments[2]);
    EXPECT_EQ(0, g_xm_player.Load(nullptr, 0));
}
} // namespace
