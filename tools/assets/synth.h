// The builder's synthesiser: one voice is an oscillator (sine, square, saw, triangle or noise) with a
// pitch glide, vibrato and an optional sine modulator (FM), an attack-decay-sustain-release envelope,
// tremolo, a resonant filter whose cutoff glides, and a soft-clipping drive; sounds and instruments mix
// several voices. Everything is deterministic: noise comes from a seeded generator.
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
    double tremolo_rate = 0, tremolo_depth = 0; // Hz, fraction of the level
    double attack = 0.002, decay = 0, sustain = 1, release = 0.01; // seconds, seconds, level, seconds
    bool exponential = false;        // decay and release fall exponentially (-60 dB over their time)
    double start = 0, length = 0.25; // seconds: when the note begins and how long it is held
    Filter filter = Filter::None;
    double cutoff_start = 1000, cutoff_end = 1000, resonance = 0.707;
    double cutoff_glide = -1; // seconds; below 0: over the whole note and its release
    // Phase modulation by a sine at fm_ratio times the pitch, its index gliding over the held note.
    double fm_ratio = 0, fm_index_start = 0, fm_index_end = 0;
    double drive = 0; // above 0: soft clipping, tanh(drive x) / tanh(drive)
    double gain = 1;
    unsigned seed = 1; // noise: a new random value each time the pitch's phase turns over
};

// Reads one voice setting ("wave", "pitch", ...) into the voice. False when the command is not a voice
// setting; a malformed one fails the source.
bool Read_Voice_Setting(Word_Reader& words, const std::string& command, Voice& voice);

// Adds the voice into the buffer (samples at `rate` Hz, from sample 0 = time 0), growing the buffer to
// hold the note's release.
void Render_Voice(const Voice& voice, double rate, std::vector<float>& buffer);

// Rounds the voice's steady pitch, vibrato and tremolo to whole cycles in `frames` samples at `rate`, so
// that a sound of that length repeats without a seam.
void Fit_To_Loop(Voice& voice, double rate, double frames);

// Makes the first `frames` samples repeat without a seam: what lies past them is faded into their start
// over `crossfade` samples (equal power), and the buffer is cut to `frames`.
void Wrap_Loop(std::vector<float>& buffer, size_t frames, size_t crossfade);
} // namespace assets
