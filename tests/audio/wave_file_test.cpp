// CWaveFile: formats, chunk walking, and every way a file can be bad, from memory and from disk.
#include "engine/audio/wave_file.h"
#include "support/sound_fixtures.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace
{
std::vector<uint8_t> Samples(size_t count, uint8_t first = 1)
{
    std::vector<uint8_t> out(count);
    for (size_t i = 0; i < count; ++i)
        out[i] = static_cast<uint8_t>(first + i);
    return out;
}

struct Good_Case
{
    const char* name;
    std::vector<uint8_t> file;
    uint16_t tag, channels, bits;
    uint32_t rate;
    uint32_t data_size;
    uint16_t extra_size;
};

TEST(WaveFileTest, ReadsFormatAndDataOfEveryLayout)
{
    Working_Folder folder; // for the log, which Log_Capture reads back
    const std::vector<uint8_t> list_body = {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T',
                                            3,   0,   0,   0,   'a', 'b', 'c', 0};
    const Good_Case cases[] = {
        {"8-bit mono", Wave_Builder().Pcm_Format(1, 11025, 8).Data(Samples(100)).Bytes(), 1, 1, 8, 11025, 100,
         0},
        {"16-bit stereo", Wave_Builder().Pcm_Format(2, 44100, 16).Data(Samples(64)).Bytes(), 1, 2, 16, 44100,
         64, 0},
        {"LIST before fmt and between fmt and data",
         Wave_Builder()
             .Chunk("LIST", list_body)
             .Pcm_Format(1, 22050, 16)
             .Chunk("LIST", list_body)
             .Data(Samples(10))
             .Bytes(),
         1, 1, 16, 22050, 10, 0},
        {"odd-sized unknown chunk is padded",
         Wave_Builder().Pcm_Format(1, 8000, 8).Chunk("junk", Samples(3)).Data(Samples(5)).Bytes(), 1, 1, 8,
         8000, 5, 0},
        {"non-PCM with extra bytes",
         Wave_Builder().Format(2, 1, 22050, 4, {1, 2, 3, 4, 5, 6}).Data(Samples(20)).Bytes(), 2, 1, 4, 22050,
         20, 6},
        {"non-PCM with a bare 16-byte format",
         Wave_Builder().Format(3, 1, 48000, 32).Data(Samples(8)).Bytes(), 3, 1, 32, 48000, 8, 0},
        {"PCM whose fmt carries an extra-size field",
         Wave_Builder().Format(1, 1, 8000, 8, {}, true).Data(Samples(4)).Bytes(), 1, 1, 8, 8000, 4, 0},
    };
    for (const Good_Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Log_Capture log;
        CWaveFile wave;
        ASSERT_TRUE(wave.Open_Memory(c.file.data(), static_cast<uint32_t>(c.file.size())));
        const platform::Wave_Format* format = wave.Get_Format();
        ASSERT_NE(format, nullptr);
        EXPECT_EQ(format->format_tag, c.tag);
        EXPECT_EQ(format->channels, c.channels);
        EXPECT_EQ(format->samples_per_sec, c.rate);
        EXPECT_EQ(format->bits_per_sample, c.bits);
        EXPECT_EQ(format->extra_size, c.extra_size);
        EXPECT_EQ(wave.Get_Size(), c.data_size);
        if (c.extra_size)
        {
            EXPECT_EQ(wave.Get_Format_Extra()[5], 6);
        }

        std::vector<uint8_t> data(c.data_size + 16, 0xEE);
        uint32_t read = 0;
        ASSERT_TRUE(wave.Read(data.data(), static_cast<uint32_t>(data.size()), &read));
        EXPECT_EQ(read, c.data_size);
        EXPECT_EQ(data[0], 1);
        EXPECT_EQ(data[c.data_size - 1], static_cast<uint8_t>(c.data_size));
        EXPECT_EQ(data[c.data_size], 0xEE); // nothing past the chunk
        EXPECT_EQ(log.Text(), "");
    }
}

TEST(WaveFileTest, ReadsInPiecesAndStopsAtTheEndOfTheChunk)
{
    std::vector<uint8_t> file =
        Wave_Builder().Pcm_Format(1, 8000, 8).Data(Samples(10)).Chunk("LIST", Samples(8, 100)).Bytes();
    CWaveFile wave;
    ASSERT_TRUE(wave.Open_Memory(file.data(), static_cast<uint32_t>(file.size())));
    uint8_t part[4];
    uint32_t read = 0, total = 0;
    while (wave.Read(part, sizeof(part), &read) && read > 0)
    {
        EXPECT_EQ(part[0], 1 + total);
        total += read;
    }
    EXPECT_EQ(total, 10u);
    EXPECT_FALSE(wave.Read(nullptr, 4, &read));
    EXPECT_FALSE(wave.Read(part, 4, nullptr));
}

struct Bad_Case
{
    const char* name;
    std::vector<uint8_t> file;
    const char* log;
};

TEST(WaveFileTest, BadFilesFailWithTheirLogLines)
{
    Working_Folder folder; // for the log, which Log_Capture reads back
    const char* read_fails =
        "Error!!! - CWaveFile::ReadMMIO - mmioRead\nError!!! - CWaveFile::Open - ReadMMIO\n";
    const char* no_chunk =
        "Error!!! - CWaveFile::ReadMMIO - mmioDescend\nError!!! - CWaveFile::Open - ReadMMIO\n";
    std::vector<uint8_t> good = Wave_Builder().Pcm_Format(1, 8000, 8).Data(Samples(4)).Bytes();
    std::vector<uint8_t> not_riff = good;
    not_riff[0] = 'X';
    std::vector<uint8_t> not_wave = good;
    not_wave[8] = 'A';
    std::vector<uint8_t> fourteen_byte_format(16);
    std::vector<uint8_t> cut_format =
        Wave_Builder().Chunk_Claiming("fmt ", 16, {1, 0, 1, 0, 0x40, 0x1F}).Bytes();
    std::vector<uint8_t> riff_cut_short = good;
    riff_cut_short[4] = 4; // the RIFF chunk claims to end right after "WAVE"

    const Bad_Case cases[] = {
        {"empty", {}, no_chunk},
        {"shorter than a RIFF header", {'R', 'I', 'F', 'F', 4, 0, 0, 0}, no_chunk},
        {"not RIFF", not_riff,
         "Error!!! - CWaveFile::ReadMMIO - mmioFOURCC\nError!!! - CWaveFile::Open - ReadMMIO\n"},
        {"not WAVE", not_wave,
         "Error!!! - CWaveFile::ReadMMIO - mmioFOURCC\nError!!! - CWaveFile::Open - ReadMMIO\n"},
        {"no fmt chunk", Wave_Builder().Data(Samples(4)).Bytes(), no_chunk},
        {"fmt past the RIFF chunk's end", riff_cut_short, no_chunk},
        {"a 14-byte fmt chunk",
         Wave_Builder().Chunk("fmt ", std::vector<uint8_t>(14, 1)).Data(Samples(4)).Bytes(),
         "Error!!! - CWaveFile::ReadMMIO - sizeof(PCMWAVEFORMAT\nError!!! - CWaveFile::Open - ReadMMIO\n"},
        {"fmt cut off by the end of the file", cut_format, read_fails},
        {"extra size larger than the chunk",
         Wave_Builder()
             .Chunk("fmt ", {2, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 4, 0, 200, 0})
             .Data(Samples(4))
             .Bytes(),
         read_fails},
        {"fmt of 17 bytes for a non-PCM tag",
         Wave_Builder()
             .Chunk("fmt ", {2, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 4, 0, 0})
             .Data(Samples(4))
             .Bytes(),
         read_fails},
        {"fmt claims more than the file holds",
         Wave_Builder()
             .Chunk_Claiming("fmt ", 4000, {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0})
             .Bytes(),
         "Error!!! - CWaveFile::ReadMMIO - mmioAscend\nError!!! - CWaveFile::Open - ReadMMIO\n"},
        {"no data chunk", Wave_Builder().Pcm_Format(1, 8000, 8).Chunk("LIST", Samples(4)).Bytes(),
         "Error!!! - CWaveFile::ResetFile - mmioDescend\nError!!! - CWaveFile::Open - ResetFile\n"},
        {"a chunk whose size runs past the end hides the data",
         Wave_Builder()
             .Pcm_Format(1, 8000, 8)
             .Chunk_Claiming("LIST", 0xFFFFFFF0u, Samples(4))
             .Data(Samples(4))
             .Bytes(),
         "Error!!! - CWaveFile::ResetFile - mmioDescend\nError!!! - CWaveFile::Open - ResetFile\n"},
    };
    for (const Bad_Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Log_Capture log;
        CWaveFile wave;
        EXPECT_FALSE(wave.Open_Memory(c.file.data(), static_cast<uint32_t>(c.file.size())));
        EXPECT_EQ(wave.Get_Format(), nullptr);
        EXPECT_EQ(log.Text(), c.log);
    }
}

TEST(WaveFileTest, DataChunkThatClaimsMoreThanTheFileHoldsIsCutAtTheEnd)
{
    std::vector<uint8_t> file =
        Wave_Builder().Pcm_Format(1, 8000, 8).Chunk_Claiming("data", 0x7FFFFFFF, Samples(6)).Bytes();
    CWaveFile wave;
    ASSERT_TRUE(wave.Open_Memory(file.data(), static_cast<uint32_t>(file.size())));
    EXPECT_EQ(wave.Get_Size(), 6u);
    std::vector<uint8_t> data(64);
    uint32_t read = 0;
    ASSERT_TRUE(wave.Read(data.data(), 64, &read));
    EXPECT_EQ(read, 6u);
}

TEST(WaveFileTest, OpensFromDiskWhenThePackDoesNotHoldIt)
{
    Working_Folder folder; // for the log too
    std::string path = folder.File("tone.wav");
    Write_Bytes(path, Sine_Wave_File(440, 22050, 0.1));
    Log_Capture log;
    CWaveFile wave;
    ASSERT_TRUE(wave.Open(path.c_str()));
    EXPECT_EQ(wave.Get_Size(), 2205u * 2);
    EXPECT_EQ(log.Text(), "from disk... ");
    log.Clear();
    EXPECT_FALSE(wave.Open(folder.File("missing.wav").c_str()));
    EXPECT_EQ(log.Text(), "from disk... ");
}
} // namespace
