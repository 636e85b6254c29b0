// Sound fixtures for tests: WAVE files written byte by byte, tones, Ogg Vorbis files made with oggenc,
// reading back what a sound device wrote, and capturing the log.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace test_support
{
// A RIFF WAVE file assembled chunk by chunk.
class Wave_Builder
{
  public:
    // A PCM "fmt " chunk of 16 bytes.
    Wave_Builder& Pcm_Format(uint16_t channels, uint32_t rate, uint16_t bits);
    // Any "fmt " chunk: the 16 bytes, then (when extra is not empty) its size and the extra bytes.
    Wave_Builder& Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                         const std::vector<uint8_t>& extra = {}, bool with_extra_size = false);
    Wave_Builder& Chunk(const char id[4], const std::vector<uint8_t>& body);
    // A chunk whose size field says `claimed` while `body` is what follows.
    Wave_Builder& Chunk_Claiming(const char id[4], uint32_t claimed, const std::vector<uint8_t>& body);
    Wave_Builder& Data(const std::vector<uint8_t>& samples) { return Chunk("data", samples); }
    // "RIFF", size, "WAVE" and the chunks.
    std::vector<uint8_t> Bytes() const;

  private:
    std::vector<uint8_t> m_chunks;
};

// 16-bit signed samples of a sine tone, interleaved over `channels`; with `hz_right` above 0 the second
// channel carries a tone of that frequency instead.
std::vector<uint8_t> Sine_16(double hz, uint32_t rate, double seconds, uint16_t channels = 1,
                             double level = 0.5, double hz_right = 0.0);
// A 16-bit PCM WAVE file of a sine tone.
std::vector<uint8_t> Sine_Wave_File(double hz, uint32_t rate, double seconds, uint16_t channels = 1);

void Write_Bytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> Read_Bytes(const std::string& path);

// Encodes a sine tone (see Sine_16) to Ogg Vorbis with oggenc. False when oggenc fails.
bool Make_Ogg(const std::string& path, double hz, uint32_t rate, double seconds, uint16_t channels = 1,
              double hz_right = 0.0);

// The 16-bit samples of a WAVE file as written by a sound device (PCM or extensible): the first channel,
// and the second when there is one.
struct Written_Sound
{
    uint32_t rate = 0;
    uint16_t channels = 0;
    std::vector<int16_t> samples;
    std::vector<int16_t> second;
};
bool Read_Written_Sound(const std::string& path, Written_Sound& out);
// Frequency of a tone from its rising zero crossings over samples [begin, end).
double Tone_Frequency(const std::vector<int16_t>& samples, uint32_t rate, size_t begin, size_t end);
// Index of the first sample whose magnitude exceeds the threshold; samples.size() when none does.
size_t First_Loud(const std::vector<int16_t>& samples, int threshold, size_t from = 0);
// Length of the longest run of samples with magnitude at or below the threshold within [begin, end).
size_t Longest_Quiet_Run(const std::vector<int16_t>& samples, int threshold, size_t begin, size_t end);

// Empties the process log and reads what was written since, in the working directory: give the test a
// folder of its own (Working_Folder, or the audio tests' Sound_Folder).
class Log_Capture
{
  public:
    Log_Capture();
    std::string Text() const;
    void Clear();
};
} // namespace test_support
