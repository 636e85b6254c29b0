// The XM layout: a 60-byte preamble, a 276-byte song header with the order table, the patterns (each a
// 9-byte header and packed cells), then each instrument (a 263-byte header, 40-byte sample headers and
// the sample data as deltas).
#include "xm_writer.h"

#include <algorithm>

namespace assets
{
namespace
{
struct Writer
{
    std::vector<unsigned char> out;
    void U8(uint32_t v) { out.push_back(static_cast<unsigned char>(v)); }
    void U16(uint32_t v) { U8(v & 0xFF), U8(v >> 8); }
    void U32(uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
    void Text(const std::string& text, size_t size, char fill = 0)
    {
        for (size_t i = 0; i < size; ++i)
            U8(i < text.size() ? static_cast<unsigned char>(text[i]) : static_cast<unsigned char>(fill));
    }
    void Zeros(size_t n) { out.insert(out.end(), n, 0); }
};

void Write_Pattern(Writer& w, const Xm_Pattern& pattern)
{
    Writer data;
    for (const Xm_Cell& c : pattern.cells)
    {
        const uint8_t fields[5] = {c.note, c.instrument, c.volume, c.effect, c.parameter};
        uint8_t mask = 0;
        for (int i = 0; i < 5; ++i)
            if (fields[i])
                mask |= 1 << i;
        if (mask == 0x1F)
        {
            for (uint8_t f : fields)
                data.U8(f);
            continue;
        }
        data.U8(0x80 | mask);
        for (int i = 0; i < 5; ++i)
            if (fields[i])
                data.U8(fields[i]);
    }
    w.U32(9);
    w.U8(0);
    w.U16(pattern.rows);
    w.U16(static_cast<uint32_t>(data.out.size()));
    w.out.insert(w.out.end(), data.out.begin(), data.out.end());
}

void Write_Instrument(Writer& w, const Xm_Instrument& in)
{
    const size_t header_start = w.out.size();
    w.U32(263);
    w.Text(in.name, 22);
    w.U8(0);
    w.U16(1);    // one sample
    w.U32(40);   // sample header size
    w.Zeros(96); // every note plays sample 0
    size_t points = std::min<size_t>(in.volume_envelope.size(), 12);
    size_t pan_points = std::min<size_t>(in.panning_envelope.size(), 12);
    for (const auto* envelope : {&in.volume_envelope, &in.panning_envelope})
        for (size_t i = 0; i < 12; ++i)
        {
            w.U16(i < envelope->size() ? (*envelope)[i].tick : 0);
            w.U16(i < envelope->size() ? (*envelope)[i].value : 0);
        }
    w.U8(static_cast<uint32_t>(points));
    w.U8(static_cast<uint32_t>(pan_points));
    bool sustain = in.sustain_point >= 0 && in.sustain_point < static_cast<int>(points);
    bool loop = in.loop_start_point >= 0 && in.loop_start_point <= in.loop_end_point &&
                in.loop_end_point < static_cast<int>(points);
    bool pan_sustain =
        in.panning_sustain_point >= 0 && in.panning_sustain_point < static_cast<int>(pan_points);
    w.U8(sustain ? in.sustain_point : 0);
    w.U8(loop ? in.loop_start_point : 0), w.U8(loop ? in.loop_end_point : 0);
    w.U8(pan_sustain ? in.panning_sustain_point : 0);
    w.U8(0), w.U8(0); // panning loop start and end
    w.U8((points > 0 ? 1 : 0) | (sustain ? 2 : 0) | (loop ? 4 : 0));
    w.U8((pan_points > 0 ? 1 : 0) | (pan_sustain ? 2 : 0));
    w.U8(in.vibrato_type), w.U8(in.vibrato_sweep), w.U8(in.vibrato_depth), w.U8(in.vibrato_rate);
    w.U16(in.fadeout);
    w.Zeros(263 - (w.out.size() - header_start));

    uint32_t length = static_cast<uint32_t>(in.sample.size());
    uint32_t loop_start = std::min(in.loop_start, length);
    uint32_t loop_length = std::min(in.loop_length, length - loop_start);
    w.U32(length * 2);
    w.U32(loop_start * 2);
    w.U32(loop_length * 2);
    w.U8(in.volume);
    w.U8(static_cast<uint8_t>(in.finetune));
    w.U8((loop_length > 0 ? 1 : 0) | 0x10); // forward loop, 16-bit
    w.U8(in.panning);
    w.U8(static_cast<uint8_t>(in.relative_note));
    w.U8(0);
    w.Text(in.name, 22);
    int16_t previous = 0;
    for (int16_t s : in.sample)
    {
        w.U16(static_cast<uint16_t>(s - previous));
        previous = s;
    }
}
} // namespace

std::vector<unsigned char> Encode_Xm(const Xm_Song& song)
{
    Writer w;
    w.Text("Extended Module: ", 17);
    w.Text(song.name, 20);
    w.U8(0x1A);
    w.Text("Vorta5 asset builder", 20);
    w.U16(0x0104);
    w.U32(276);
    w.U16(static_cast<uint32_t>(song.order.size()));
    w.U16(song.restart);
    w.U16(song.channels);
    w.U16(static_cast<uint32_t>(song.patterns.size()));
    w.U16(static_cast<uint32_t>(song.instruments.size()));
    w.U16(1); // linear frequency table
    w.U16(song.speed);
    w.U16(song.tempo);
    for (size_t i = 0; i < 256; ++i)
        w.U8(i < song.order.size() ? song.order[i] : 0);
    for (const Xm_Pattern& pattern : song.patterns)
        Write_Pattern(w, pattern);
    for (const Xm_Instrument& instrument : song.instruments)
        Write_Instrument(w, instrument);
    return w.out;
}
} // namespace assets
