// RIFF WAVE output: 16-bit PCM.
#pragma once
#include <vector>

namespace assets
{
// Samples from -1 to 1 (interleaved when there are two channels), saturated to 16 bits.
std::vector<unsigned char> Encode_Wave(const std::vector<float>& samples, int channels, int rate);
// Scales the samples so that the loudest one reaches `peak` (silence stays silence) and fades the last
// few milliseconds out so that the sound never ends on a click.
void Normalise(std::vector<float>& samples, double peak, int rate);
} // namespace assets
