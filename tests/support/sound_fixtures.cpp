// Sound fixtures for tests.
#include "support/sound_fixtures.h"

#include "engine/audio/wave_file.h"
#include "engine/core/vorta_log.h"
#include "support/test_files.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace test_support
{
namespace
{
void Put_16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put_32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
} // namespace

Wave_Builder& Wave_Builder::Pcm_Format(uint16_t channels, uint32_t rate, uint16_t bits)
{
    return Format(1, channels, rate, bits);
}

Wave_Builder& Wave_Builder::Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                                   const std::vector<uint8_t>& extra, bool with_extra_size)
{
    std::vector<uint8_t> body;
    uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    Put_16(body, tag);
    Put_16(body, channels);
    Put_32(body, rate);
    Put_32(body, rate * align);
    Put_16(body, align);
    Put_16(body, bits);
    if (with_extra_size || !extra.empty())
    {
        Put_16(body, static_cast<uint16_t>(extra.size()));
        body.insert(body.end(), extra.begin(), extra.end());
    }
    return Chunk("fmt ", body);
}

Wave_Builder& Wave_Builder::Chunk(const char id[4], const std::vector<uint8_t>& body)
{
    return Chunk_Claiming(id, static_cast<uint32_t>(body.size()), body);
}

Wave_Builder& Wave_Builder::Chunk_Claiming(const char id[4], uint32_t claimed,
                                           const std::vector<uint8_t>& body)
{
    m_chunks.insert(m_chunks.end(), id, id + 4);
    Put_32(m_chunks, claimed);
    m_chunks.insert(m_chunks.end(), body.begin(), body.end());
    if (body.size() & 1)
        m_chunks.push_back(0);
    return *this;
}

std::vector<uint8_t> Wave_Builder::Bytes() const
{
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    Put_32(out, static_cast<uint32_t>(4 + m_chunks.size()));
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), m_chunks.begin(), m_chunks.end());
    return out;
}

std::vector<uint8_t> Sine_16(double hz, uint32_t rate, double seconds, uint16_t channels, double level,
                             double hz_right)
{
    std::vector<uint8_t> out;
    auto frames = static_cast<size_t>(seconds * rate);
    for (size_t i = 0; i < frames; ++i)
    {
        for (uint16_t c = 0; c < channels; ++c)
        {
            double tone = c == 1 && hz_right > 0.0 ? hz_right : hz;
            auto value =
                static_cast<int16_t>(std::lround(level * 32767.0 * std::sin(2.0 * M_PI * tone * i / rate)));
            Put_16(out, static_cast<uint16_t>(value));
        }
    }
    return out;
}

std::vector<uint8_t> Sine_Wave_File(double hz, uint32_t rate, double seconds, uint16_t channels)
{
    return Wave_Builder().Pcm_Format(channels, rate, 16).Data(Sine_16(hz, rate, seconds, channels)).Bytes();
}

void Write_Bytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> Read_Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Make_Ogg(const std::string& path, double hz, uint32_t rate, double seconds, uint16_t channels,
              double hz_right)
{
    std::string source = path + ".source.wav";
    Write_Bytes(source, Wave_Builder()
                            .Pcm_Format(channels, rate, 16)
                            .Data(Sine_16(hz, rate, seconds, channels, 0.5, hz_right))
                            .Bytes());
    std::string command = "oggenc -Q -o '" + path + "' '" + source + "'";
    int status = std::system(command.c_str());
    std::remove(source.c_str());
    return status == 0;
}

bool Read_Written_Sound(const std::string& path, Written_Sound& out)
{
    std::vector<uint8_t> bytes = Read_Bytes(path);
    CWaveFile wave;
    if (!wave.Open_Memory(bytes.data(), static_cast<uint32_t>(bytes.size())))
        return false;
    const platform::Wave_Format& format = *wave.Get_Format();
    if (format.bits_per_sample != 16 || format.channels == 0)
        return false;
    std::vector<uint8_t> data(wave.Get_Size());
    uint32_t read = 0;
    if (!wave.Read(data.data(), static_cast<uint32_t>(data.size()), &read))
        return false;
    out.rate = format.samples_per_sec;
    out.channels = format.channels;
    out.samples.clear();
    out.second.clear();
    size_t frame = size_t{2} * format.channels;
    for (size_t at = 0; at + frame <= read; at += frame)
    {
        out.samples.push_back(static_cast<int16_t>(data[at] | data[at + 1] << 8));
        if (format.channels > 1)
            out.second.push_back(static_cast<int16_t>(data[at + 2] | data[at + 3] << 8));
    }
    return true;
}

double Tone_Frequency(const std::vector<int16_t>& samples, uint32_t rate, size_t begin, size_t end)
{
    size_t first = 0, last = 0;
    int crossings = 0;
    for (size_t i = begin + 1; i < end && i < samples.size(); ++i)
    {
        if (samples[i - 1] < 0 && samples[i] >= 0)
        {
            if (crossings == 0)
                first = i;
            last = i;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0.0;
    return (crossings - 1) * static_cast<double>(rate) / static_cast<double>(last - first);
}

size_t First_Loud(const std::vector<int16_t>& samples, int threshold, size_t from)
{
    for (size_t i = from; i < samples.size(); ++i)
        if (std::abs(samples[i]) > threshold)
            return i;
    return samples.size();
}

size_t Longest_Quiet_Run(const std::vector<int16_t>& samples, int threshold, size_t begin, size_t end)
{
    size_t longest = 0, run = 0;
    for (size_t i = begin; i < end && i < samples.size(); ++i)
    {
        run = std::abs(samples[i]) <= threshold ? run + 1 : 0;
        if (run > longest)
            longest = run;
    }
    return longest;
}

Log_Capture::Log_Capture()
{
    g_vorta_log.Set_Flags(LOG_FILE);
    Clear();
}

std::string Log_Capture::Text() const
{
    return Read_File(g_vorta_log.Get_File_Name());
}

void Log_Capture::Clear()
{
    Write_File(g_vorta_log.Get_File_Name(), "");
}
} // namespace test_support
