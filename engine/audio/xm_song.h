// An XM module in memory: header fields, unpacked patterns, instruments with envelopes and decoded samples.
#pragma once
#include <cstddef>
#include <cstdint>

struct XM_Sample
{
    float* data = nullptr; // decoded, -1 to 1; owned
    int32_t length = 0;    // frames
    int32_t loop_start = 0;
    int32_t loop_length = 0;
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t type = 0; // bits 0-1 loop (1 forward, 2 ping-pong), bit 4 16-bit, bit 5 stereo
    uint8_t panning = 128;
    int8_t relative_note = 0;

    int Loop_Mode() const { return loop_length > 0 ? (type & 3) == 2 ? 2 : ((type & 3) ? 1 : 0) : 0; }
};

struct XM_Envelope
{
    static constexpr int MAX_POINTS = 12;
    uint16_t tick[MAX_POINTS] = {};
    uint16_t value[MAX_POINTS] = {};
    uint8_t count = 0;
    uint8_t sustain = 0;
    uint8_t loop_start = 0;
    uint8_t loop_end = 0;
    uint8_t type = 0; // bit 0 on, bit 1 sustain, bit 2 loop

    bool On() const { return (type & 1) && count > 0; }
};

struct XM_Instrument
{
    static constexpr int MAX_SAMPLES = 32;
    uint8_t sample_map[96] = {};
    XM_Envelope volume_envelope;
    XM_Envelope panning_envelope;
    uint8_t vibrato_type = 0;
    uint8_t vibrato_sweep = 0;
    uint8_t vibrato_depth = 0;
    uint8_t vibrato_rate = 0;
    uint16_t fadeout = 0;
    int sample_count = 0;
    XM_Sample samples[MAX_SAMPLES];
};

struct XM_Pattern
{
    int rows = 64;
    uint8_t* cells = nullptr; // rows x channels x 5 bytes; null when every cell is empty (rows still count)
};

struct XM_Song
{
    static constexpr int MAX_ORDERS = 256;
    static constexpr int MAX_PATTERNS = 256;
    static constexpr int MAX_INSTRUMENTS = 128;
    static constexpr int MAX_CHANNELS = 127;

    uint16_t version = 0;
    int song_length = 0;
    int restart = 0;
    int channels = 0;
    int pattern_count = 0;
    int instrument_count = 0;
    bool linear = true;
    int speed = 6;
    int tempo = 125;
    uint8_t orders[MAX_ORDERS] = {};
    XM_Pattern patterns[MAX_PATTERNS];
    XM_Instrument* instruments[MAX_INSTRUMENTS + 1] = {}; // slot 0 unused; null when not loaded

    XM_Song() = default;
    XM_Song(const XM_Song&) = delete;
    XM_Song& operator=(const XM_Song&) = delete;
    ~XM_Song() { Free(); }

    // Releases every pattern, instrument and sample and clears the header.
    void Free();
    // Loads a module from memory. False (and an empty song) when the header is not a supported XM or a
    // part the version cannot do without is broken; a version 0x0104 file keeps the instruments before a
    // broken one.
    bool Load(const uint8_t* bytes, size_t size);

    int Pattern_Rows(int order) const;
    // The five bytes of a cell; null for an empty cell, a row past the pattern or an absent pattern.
    const uint8_t* Cell(int pattern, int row, int channel) const;
};

// The built-in empty instrument that stands for instrument numbers without a loaded instrument.
const XM_Instrument& XM_Empty_Instrument();
