// RIFF WAVE writing: "RIFF" "WAVE", a 16-byte "fmt " chunk and the "data" chunk.
#include "wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace assets
{
namespace
{
void Put16(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(v & 0xFF), out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<unsigned char>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF), Put16(out, v >> 16);
}
void Tag(std::vector<unsigned char>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(tag[i]));
}
} // namespace

std::vector<unsigned char> Encode_Wave(const std::vector<float>& samples, int channels, int rate)
{
    uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<unsigned char> out;
    out.reserve(44 + data_bytes);
    Tag(out, "RIFF");
    Put32(out, 36 + data_bytes);
    Tag(out, "WAVE");
    Tag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, rate * channels * 2);
    Put16(out, channels * 2);
    Put16(out, 16);
    Tag(out, "data");
    Put32(out, data_bytes);
    for (float s : samples)
        Put16(out, static_cast<uint16_t>(
                       static_cast<int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f))));
    return out;
}

void Normalise(std::vector<float>& samples, double peak, int rate, double fade_seconds)
{
    // Fades first, so that the loudest sample left reaches the peak exactly.
    size_t fade = std::min(samples.size() / 2, static_cast<size_t>(std::lround(fade_seconds * rate)));
    for (size_t i = 0; i < fade; ++i)
    {
        float level = static_cast<float>(i) / fade;
        samples[i] *= level;
        samples[samples.size() - 1 - i] *= level;
    }
    float loudest = 0;
    for (float s : samples)
        loudest = std::max(loudest, std::fabs(s));
    if (loudest > 0)
        for (float& s : samples)
            s = static_cast<float>(s * peak / loudest);
}
} // namespace assets
