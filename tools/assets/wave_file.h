// RIFF WAVE output: 16-bit PCM.
#pragma once
#include <vector>

namespace assets
{
// Samples from -1 to 1 (interleaved when there are two channels), saturated to 16 bits.
std::vector<unsigned char> Encode_Wave(const std::vector<float>& samples, int channels, int rate);
// Scales the samples so that the loudest one reaches `peak` (silence stays silence) and fades `fade`
// seconds in at the start and out at the end so that the sound never starts or ends on a click (0: no
// fades, for sounds that repeat without a seam).
void Normalise(std::vector<float>& samples, double peak, int rate, double fade = 0.005);
} // namespace assets
