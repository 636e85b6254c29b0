// Writing extended modules (XM, version 0x0104): header, packed patterns, instruments with one
// 16-bit delta-coded sample each.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assets
{
struct Xm_Cell
{
    uint8_t note = 0;       // 1 to 96 (C-0 to B-7), 97 key off, 0 none
    uint8_t instrument = 0; // 1 to 128, 0 none
    uint8_t volume = 0;     // the volume column byte (0x10 to 0x50 sets 0 to 64), 0 none
    uint8_t effect = 0;
    uint8_t parameter = 0;
};

struct Xm_Pattern
{
    int rows = 64;
    std::vector<Xm_Cell> cells; // rows x channels, row after row
};

struct Xm_Envelope_Point
{
    uint16_t tick = 0;
    uint16_t value = 0; // 0 to 64
};

struct Xm_Instrument
{
    std::string name;
    std::vector<int16_t> sample;
    uint32_t loop_start = 0, loop_length = 0; // sample frames; a loop length of 0 plays once
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t panning = 128;
    int8_t relative_note = 0;
    uint16_t fadeout = 0;
    std::vector<Xm_Envelope_Point> volume_envelope;  // empty: none
    int sustain_point = -1;                          // index into the envelope; below 0: none
    int loop_start_point = -1, loop_end_point = -1;  // envelope points the envelope loops between; -1: none
    std::vector<Xm_Envelope_Point> panning_envelope; // values 0 to 64, 32 the centre; empty: none
    int panning_sustain_point = -1;
    uint8_t vibrato_type = 0, vibrato_sweep = 0, vibrato_depth = 0, vibrato_rate = 0;
};

struct Xm_Song
{
    std::string name;
    int channels = 4;
    int speed = 6;
    int tempo = 125;
    int restart = 0;
    std::vector<uint8_t> order;
    std::vector<Xm_Pattern> patterns;
    std::vector<Xm_Instrument> instruments;
};

std::vector<unsigned char> Encode_Xm(const Xm_Song& song);
} // namespace assets
