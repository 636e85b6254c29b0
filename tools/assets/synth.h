// The builder's synthesiser: one voice is an oscillator (sine, square, saw, triangle or noise) with a
// pitch glide and vibrato, an attack-decay-sustain-release envelope and a resonant filter whose cutoff
// glides; sounds mix several voices. Everything is deterministic: noise comes from a seeded generator.
#pragma once
#include "source_file.h"

#include <string>
#include <vector>

namespace assets
{
enum class Wave
{
    Sine,
    Square,
    Saw,
    Triangle,
    Noise
};

enum class Filter
{
    None,
    Low_Pass,
    High_Pass,
    Band_Pass
};

struct Voice
{
    Wave wave = Wave::Sine;
    double pitch_start = 440, pitch_end = 440;  // Hz
    double glide = -1;                          // seconds from start to end pitch; below 0: the whole note
    double duty = 0.5;                          // square waves
    double vibrato_rate = 0, vibrato_depth = 0; // Hz, fraction of the pitch
    double attack = 0.002, decay = 0, sustain = 1, release = 0.01; // seconds, seconds, level, seconds
    double start = 0, length = 0.25; // seconds: when the note begins and how long it is held
    Filter filter = Filter::None;
    double cutoff_start = 1000, cutoff_end = 1000, resonance = 0.707;
    double gain = 1;
    unsigned seed = 1; // noise: a new random value each time the pitch's phase turns over
};

// Reads one voice setting ("wave", "pitch", ...) into the voice. False when the command is not a voice
// setting; a malformed one fails the source.
bool Read_Voice_Setting(Word_Reader& words, const std::string& command, Voice& voice);

// Adds the voice into the buffer (samples at `rate` Hz, from sample 0 = time 0), growing the buffer to
// hold the note's release.
void Render_Voice(const Voice& voice, double rate, std::vector<float>& buffer);
} // namespace assets
