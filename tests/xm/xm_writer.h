// A small XM module writer for tests: header, packed or raw patterns, instruments with envelopes and
// delta-coded samples, in any of the three versions the player reads.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct Xm_Cell
{
    uint8_t note = 0, instrument = 0, volume = 0, effect = 0, param = 0;
};

struct Xm_Writer_Sample
{
    std::vector<int16_t> frames; // values in the sample's width
    bool wide = false;
    bool stereo = false;                      // frames holds the left half then the right half
    uint32_t loop_start = 0, loop_length = 0; // in frames
    uint8_t loop_type = 0;                    // 1 forward, 2 ping-pong
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t panning = 128;
    int8_t relative_note = 0;
    int32_t header_loop_start = -1; // raw byte value written instead, when not -1
    int32_t header_loop_length = -1;
    int32_t header_length = -1;
    // 4-bit ADPCM instead of deltas (8-bit only): 16 signed deltas and one table index per frame.
    std::vector<int8_t> adpcm_table;
    std::vector<uint8_t> adpcm_nibbles;
    uint8_t reserved = 0; // the header's reserved byte; ADPCM samples get 0xAD
    bool Adpcm() const { return adpcm_table.size() == 16; }
};

struct Xm_Writer_Instrument
{
    std::vector<Xm_Writer_Sample> samples;
    int header_sample_count = -1; // written instead of samples.size() when not -1
    std::vector<std::pair<uint16_t, uint16_t>> volume_points, panning_points;
    uint8_t volume_type = 0, panning_type = 0;
    uint8_t volume_sustain = 0, volume_loop_start = 0, volume_loop_end = 0;
    uint8_t panning_sustain = 0, panning_loop_start = 0, panning_loop_end = 0;
    uint8_t vibrato_type = 0, vibrato_sweep = 0, vibrato_depth = 0, vibrato_rate = 0;
    uint16_t fadeout = 0;
    uint8_t sample_map[96] = {};
};

struct Xm_Writer_Pattern
{
    int rows = 64;
    std::vector<Xm_Cell> cells; // rows x channels, row after row; empty: written with no data
    int header_size = 9;
    int packed_size_override = -1;
    bool pack_empty = false; // an all-empty pattern is written cell by cell instead of with no data
};

struct Xm_Writer
{
    uint16_t version = 0x0104;
    int channels = 2;
    int speed = 6, tempo = 125;
    int restart = 0;
    bool linear = true;
    std::vector<uint8_t> orders{0};
    int song_length_override = -1;
    std::vector<Xm_Writer_Pattern> patterns;
    std::vector<Xm_Writer_Instrument> instruments;

    Xm_Writer_Pattern& Add_Pattern(int rows)
    {
        patterns.push_back(Xm_Writer_Pattern());
        patterns.back().rows = rows;
        patterns.back().cells.assign(static_cast<size_t>(rows) * channels, Xm_Cell());
        return patterns.back();
    }
    Xm_Cell& Cell(int pattern, int row, int channel)
    {
        return patterns[pattern].cells[static_cast<size_t>(row) * channels + channel];
    }
    // One instrument with one looped sample of constant value (8-bit), handy for level measurements.
    Xm_Writer_Instrument& Add_Constant_Instrument(int16_t value, uint32_t frames = 256)
    {
        instruments.push_back(Xm_Writer_Instrument());
        Xm_Writer_Sample s;
        s.frames.assign(frames, value);
        s.loop_type = 1;
        s.loop_length = frames;
        instruments.back().samples.push_back(s);
        return instruments.back();
    }

    std::vector<uint8_t> Build() const
    {
        std::vector<uint8_t> out;
        Put_Text(out, "Extended Module: ", 17);
        Put_Text(out, "test module", 20);
        out.push_back(0x1A);
        Put_Text(out, "xm writer", 20);
        Put16(out, version);
        Put32(out, 276);
        Put16(out, song_length_override >= 0 ? song_length_override : static_cast<int>(orders.size()));
        Put16(out, restart);
        Put16(out, channels);
        Put16(out, static_cast<int>(patterns.size()));
        Put16(out, static_cast<int>(instruments.size()));
        Put16(out, linear ? 1 : 0);
        Put16(out, speed);
        Put16(out, tempo);
        for (int i = 0; i < 256; ++i)
            out.push_back(i < static_cast<int>(orders.size()) ? orders[i] : 0);
        if (version == 0x0104)
        {
            Put_Patterns(out);
            for (const auto& ins : instruments)
            {
                Put_Instrument_Header(out, ins);
                Put_Sample_Data(out, ins);
            }
        }
        else
        {
            for (const auto& ins : instruments)
                Put_Instrument_Header(out, ins);
            Put_Patterns(out);
            for (const auto& ins : instruments)
                Put_Sample_Data(out, ins);
        }
        return out;
    }

  private:
    static void Put16(std::vector<uint8_t>& o, int v)
    {
        o.push_back(static_cast<uint8_t>(v));
        o.push_back(static_cast<uint8_t>(v >> 8));
    }
    static void Put32(std::vector<uint8_t>& o, uint32_t v)
    {
        Put16(o, static_cast<int>(v & 0xFFFF));
        Put16(o, static_cast<int>(v >> 16));
    }
    static void Put_Text(std::vector<uint8_t>& o, const char* text, size_t size)
    {
        size_t n = std::strlen(text);
        for (size_t i = 0; i < size; ++i)
            o.push_back(i < n ? static_cast<uint8_t>(text[i]) : 0);
    }

    void Put_Patterns(std::vector<uint8_t>& out) const
    {
        for (const auto& p : patterns)
        {
            std::vector<uint8_t> packed;
            bool any = false;
            for (const Xm_Cell& c : p.cells)
                any = any || c.note || c.instrument || c.volume || c.effect || c.param;
            if (any || p.pack_empty)
                for (const Xm_Cell& c : p.cells)
                {
                    uint8_t mask = 0x80 | (c.note ? 1 : 0) | (c.instrument ? 2 : 0) | (c.volume ? 4 : 0) |
                                   (c.effect ? 8 : 0) | (c.param ? 16 : 0);
                    packed.push_back(mask);
                    for (uint8_t f : {c.note, c.instrument, c.volume, c.effect, c.param})
                        if (f)
                            packed.push_back(f);
                }
            Put32(out, static_cast<uint32_t>(p.header_size));
            out.push_back(0);
            if (version == 0x0102)
                out.push_back(static_cast<uint8_t>(p.rows - 1));
            else
                Put16(out, p.rows);
            Put16(out,
                  p.packed_size_override >= 0 ? p.packed_size_override : static_cast<int>(packed.size()));
            for (int i = version == 0x0102 ? 8 : 9; i < p.header_size; ++i)
                out.push_back(0);
            out.insert(out.end(), packed.begin(), packed.end());
        }
    }

    static uint32_t Byte_Length(const Xm_Writer_Sample& s)
    {
        if (s.Adpcm())
            return static_cast<uint32_t>(s.adpcm_nibbles.size());
        return static_cast<uint32_t>(s.frames.size()) * (s.wide ? 2 : 1);
    }

    static void Put_Instrument_Header(std::vector<uint8_t>& out, const Xm_Writer_Instrument& ins)
    {
        size_t start = out.size();
        Put32(out, 263);
        Put_Text(out, "instrument", 22);
        out.push_back(0);
        int count =
            ins.header_sample_count >= 0 ? ins.header_sample_count : static_cast<int>(ins.samples.size());
        Put16(out, count);
        Put32(out, 40);
        out.insert(out.end(), ins.sample_map, ins.sample_map + 96);
        for (const auto* points : {&ins.volume_points, &ins.panning_points})
            for (int i = 0; i < 12; ++i)
            {
                Put16(out, i < static_cast<int>(points->size()) ? (*points)[i].first : 0);
                Put16(out, i < static_cast<int>(points->size()) ? (*points)[i].second : 0);
            }
        out.push_back(static_cast<uint8_t>(ins.volume_points.size()));
        out.push_back(static_cast<uint8_t>(ins.panning_points.size()));
        for (uint8_t b : {ins.volume_sustain, ins.volume_loop_start, ins.volume_loop_end, ins.panning_sustain,
                          ins.panning_loop_start, ins.panning_loop_end, ins.volume_type, ins.panning_type,
                          ins.vibrato_type, ins.vibrato_sweep, ins.vibrato_depth, ins.vibrato_rate})
            out.push_back(b);
        Put16(out, ins.fadeout);
        while (out.size() - start < 263)
            out.push_back(0);
        for (const auto& s : ins.samples)
        {
            int width = s.wide ? 2 : 1;
            Put32(out, s.header_length >= 0 ? static_cast<uint32_t>(s.header_length) : Byte_Length(s));
            Put32(out, s.header_loop_start >= 0 ? static_cast<uint32_t>(s.header_loop_start)
                                                : s.loop_start * width);
            Put32(out, s.header_loop_length >= 0 ? static_cast<uint32_t>(s.header_loop_length)
                                                 : s.loop_length * width);
            out.push_back(s.volume);
            out.push_back(static_cast<uint8_t>(s.finetune));
            out.push_back(static_cast<uint8_t>(s.loop_type | (s.wide ? 0x10 : 0) | (s.stereo ? 0x20 : 0)));
            out.push_back(s.panning);
            out.push_back(static_cast<uint8_t>(s.relative_note));
            out.push_back(s.Adpcm() ? 0xAD : s.reserved);
            Put_Text(out, "sample", 22);
        }
    }

    static void Put_Sample_Data(std::vector<uint8_t>& out, const Xm_Writer_Instrument& ins)
    {
        for (const auto& s : ins.samples)
        {
            if (s.Adpcm())
            {
                for (int8_t delta : s.adpcm_table)
                    out.push_back(static_cast<uint8_t>(delta));
                for (size_t i = 0; i < s.adpcm_nibbles.size(); i += 2)
                {
                    uint8_t high = i + 1 < s.adpcm_nibbles.size() ? s.adpcm_nibbles[i + 1] : 0;
                    out.push_back(static_cast<uint8_t>((s.adpcm_nibbles[i] & 15) | (high & 15) << 4));
                }
                continue;
            }
            int16_t previous = 0;
            size_t half = s.frames.size() / 2;
            for (size_t i = 0; i < s.frames.size(); ++i)
            {
                if (s.stereo && i == half)
                    previous = 0; // each half is coded on its own
                int16_t delta = static_cast<int16_t>(s.frames[i] - previous);
                previous = s.frames[i];
                if (s.wide)
                    Put16(out, delta);
                else
                    out.push_back(static_cast<uint8_t>(delta));
            }
        }
    }
};
