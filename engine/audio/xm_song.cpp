// Reading an XM module from memory: header checks, pattern unpacking, instruments, and samples that are
// delta-coded or packed as 4-bit ADPCM.
#include "engine/audio/xm_song.h"

#include <cstring>
#include <new>

namespace
{
// A bounds-checked cursor over the file bytes: reads past the end give zeros and mark the reader as short.
struct Reader
{
    const uint8_t* data;
    size_t size;

    bool Has(size_t offset, size_t count) const { return offset <= size && count <= size - offset; }
    uint8_t U8(size_t at) const { return at < size ? data[at] : 0; }
    uint16_t U16(size_t at) const { return static_cast<uint16_t>(U8(at) | U8(at + 1) << 8); }
    uint32_t U32(size_t at) const { return U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16; }
};

// What a sample header says about the data that follows the instrument.
struct Sample_Header
{
    uint32_t length_bytes = 0;
    bool adpcm = false; // 4-bit ADPCM: a 16-byte delta table, then two nibbles a byte
};

// The reserved byte of a sample header that marks 8-bit data packed as 4-bit ADPCM.
constexpr uint8_t ADPCM_MARK = 0xAD;
constexpr uint32_t ADPCM_TABLE_BYTES = 16;

void Read_Envelope(const uint8_t* h, int points_at, int count_at, int sustain_at, int loop_at, int type_at,
                   XM_Envelope& env)
{
    int count = h[count_at];
    env.count = static_cast<uint8_t>(count > XM_Envelope::MAX_POINTS ? XM_Envelope::MAX_POINTS : count);
    for (int p = 0; p < XM_Envelope::MAX_POINTS; ++p)
    {
        const uint8_t* point = h + points_at + p * 4;
        env.tick[p] = static_cast<uint16_t>(point[0] | point[1] << 8);
        env.value[p] = static_cast<uint16_t>(point[2] | point[3] << 8);
        if (env.value[p] > 64)
            env.value[p] = 64;
    }
    int last = env.count > 0 ? env.count - 1 : 0;
    env.sustain = static_cast<uint8_t>(h[sustain_at] > last ? last : h[sustain_at]);
    env.loop_start = static_cast<uint8_t>(h[loop_at] > last ? last : h[loop_at]);
    env.loop_end = static_cast<uint8_t>(h[loop_at + 1] > last ? last : h[loop_at + 1]);
    if (env.loop_start > env.loop_end)
        env.loop_start = env.loop_end;
    env.type = h[type_at];
}

// Reads the instrument header and its sample headers at offset. Returns the offset after them, or 0 when
// the instrument cannot be read (too many samples, or headers past the end of the file).
size_t Read_Instrument(const Reader& r, size_t offset, XM_Instrument& ins, Sample_Header* sample_headers)
{
    if (!r.Has(offset, 4))
        return 0;
    uint32_t header_size = r.U32(offset);
    uint8_t h[263] = {};
    size_t take = header_size < sizeof h ? header_size : sizeof h;
    if (take < 4)
        take = 4;
    if (!r.Has(offset, take))
        return 0;
    std::memcpy(h, r.data + offset, take);
    int samples = h[27] | h[28] << 8;
    if (samples > XM_Instrument::MAX_SAMPLES)
        return 0;
    ins.sample_count = samples;
    size_t next = offset + (header_size < 4 ? 4 : header_size);
    if (samples == 0)
        return next;

    std::memcpy(ins.sample_map, h + 33, 96);
    Read_Envelope(h, 129, 225, 227, 228, 233, ins.volume_envelope);
    Read_Envelope(h, 177, 226, 230, 231, 234, ins.panning_envelope);
    ins.vibrato_type = h[235];
    ins.vibrato_sweep = h[236];
    ins.vibrato_depth = h[237];
    ins.vibrato_rate = h[238];
    ins.fadeout = static_cast<uint16_t>(h[239] | h[240] << 8);

    for (int s = 0; s < samples; ++s)
    {
        if (!r.Has(next, 40))
            return 0;
        XM_Sample& smp = ins.samples[s];
        sample_headers[s].length_bytes = r.U32(next);
        smp.loop_start = static_cast<int32_t>(r.U32(next + 4));
        smp.loop_length = static_cast<int32_t>(r.U32(next + 8));
        smp.volume = r.U8(next + 12) > 64 ? 64 : r.U8(next + 12);
        smp.finetune = static_cast<int8_t>(r.U8(next + 13));
        smp.type = r.U8(next + 14);
        smp.panning = r.U8(next + 15);
        smp.relative_note = static_cast<int8_t>(r.U8(next + 16));
        // Only 8-bit data is ever packed; in a 16-bit sample the byte is left over from elsewhere.
        sample_headers[s].adpcm = r.U8(next + 17) == ADPCM_MARK && !(smp.type & 0x10);
        next += 40;
    }
    return next;
}

// Decodes 8-bit ADPCM data into count values: each nibble of the packed bytes (low nibble first) picks a
// signed delta from the 16-byte table before them, and the running sum is the next sample value.
void Decode_Adpcm(const uint8_t* p, uint32_t count, float* out)
{
    const uint8_t* table = p;
    const uint8_t* nibbles = p + ADPCM_TABLE_BYTES;
    int8_t sum = 0;
    for (uint32_t i = 0; i < count; ++i)
    {
        uint8_t byte = nibbles[i / 2];
        int index = i % 2 ? byte >> 4 : byte & 15;
        sum = static_cast<int8_t>(sum + static_cast<int8_t>(table[index]));
        out[i] = sum * (1.0f / 128.0f);
    }
}

// Decodes one sample's data at offset: delta-coded, or 8-bit ADPCM. Returns the offset after it, or 0 when
// the data runs past the end of the file or memory runs out.
size_t Read_Sample_Data(const Reader& r, size_t offset, const Sample_Header& header, XM_Sample& smp)
{
    uint32_t bytes = header.length_bytes;
    // Packed data is the table and one nibble a sample frame, rounded up to whole bytes.
    uint64_t stored = header.adpcm ? ADPCM_TABLE_BYTES + (static_cast<uint64_t>(bytes) + 1) / 2 : bytes;
    if (!r.Has(offset, stored))
        return 0;
    bool wide = smp.type & 0x10;
    bool stereo = smp.type & 0x20;
    uint32_t frames = wide ? bytes / 2 : bytes;
    uint32_t playable = stereo ? frames / 2 : frames;
    int32_t loop_start = smp.loop_start, loop_length = smp.loop_length;
    if (wide)
    {
        loop_start /= 2;
        loop_length /= 2;
    }
    smp.length = static_cast<int32_t>(playable);
    if (playable > 0)
    {
        smp.data = new (std::nothrow) float[playable];
        if (!smp.data)
            return 0;
        // Decode the first (left) half; a stereo sample's right half is decoded and dropped.
        const uint8_t* p = r.data + offset;
        if (header.adpcm)
            Decode_Adpcm(p, playable, smp.data);
        else if (wide)
        {
            int16_t sum = 0;
            for (uint32_t i = 0; i < playable; ++i)
            {
                sum = static_cast<int16_t>(sum + static_cast<int16_t>(p[2 * i] | p[2 * i + 1] << 8));
                smp.data[i] = sum * (1.0f / 32768.0f);
            }
        }
        else
        {
            int8_t sum = 0;
            for (uint32_t i = 0; i < playable; ++i)
            {
                sum = static_cast<int8_t>(sum + static_cast<int8_t>(p[i]));
                smp.data[i] = sum * (1.0f / 128.0f);
            }
        }
    }
    if (loop_start < 0)
        loop_start = 0;
    if (loop_length < 0)
        loop_length = 0;
    if (loop_start > smp.length)
        loop_start = smp.length;
    if (static_cast<int64_t>(loop_start) + loop_length > smp.length)
        loop_length = smp.length - loop_start;
    smp.loop_start = loop_start;
    smp.loop_length = loop_length;
    if (smp.length == 0)
        smp.loop_start = smp.loop_length = 0;
    return offset + static_cast<size_t>(stored);
}

void Free_Instrument(XM_Instrument* ins)
{
    if (!ins)
        return;
    for (XM_Sample& s : ins->samples)
        delete[] s.data;
    delete ins;
}

// Reads one pattern at offset into pat. Returns the offset after it, or 0 on a broken pattern.
size_t Read_Pattern(const Reader& r, size_t offset, uint16_t version, int channels, XM_Pattern& pat)
{
    size_t fields = version == 0x0102 ? 8 : 9;
    if (!r.Has(offset, fields))
        return 0;
    uint32_t header_size = r.U32(offset);
    int rows;
    uint16_t packed;
    if (version == 0x0102)
    {
        rows = r.U8(offset + 5) + 1;
        packed = r.U16(offset + 6);
    }
    else
    {
        rows = r.U16(offset + 5);
        packed = r.U16(offset + 7);
    }
    // A 0-row header stands for an absent pattern of 64 rows. Any other row count is kept, even for a
    // pattern with no notes: a short empty pattern is a pause of its own length.
    if (rows <= 0 || rows > 256)
        rows = rows <= 0 ? 64 : 256;
    size_t data = offset + header_size;
    if (data < offset || !r.Has(data, packed))
        return 0;
    pat.rows = rows;
    pat.cells = nullptr;
    if (packed == 0)
        return data;

    size_t cell_bytes = static_cast<size_t>(rows) * channels * 5;
    uint8_t* cells = new (std::nothrow) uint8_t[cell_bytes];
    if (!cells)
        return 0;
    std::memset(cells, 0, cell_bytes);
    const uint8_t* p = r.data + data;
    const uint8_t* end = p + packed;
    uint8_t* out = cells;
    uint8_t* out_end = cells + cell_bytes;
    bool any = false;
    while (p < end && out < out_end)
    {
        uint8_t b = *p++;
        if (b & 0x80)
        {
            for (int f = 0; f < 5; ++f)
                if ((b & (1 << f)) && p < end)
                    out[f] = *p++;
        }
        else
        {
            out[0] = b;
            for (int f = 1; f < 5 && p < end; ++f)
                out[f] = *p++;
        }
        any = any || out[0] || out[1] || out[2] || out[3] || out[4];
        out += 5;
    }
    if (!any)
    {
        delete[] cells;
        return data + packed;
    }
    pat.cells = cells;
    return data + packed;
}

XM_Instrument g_empty_instrument = []
{
    XM_Instrument ins;
    ins.sample_count = 0;
    for (XM_Sample& s : ins.samples)
    {
        s.volume = 64;
        s.panning = 128;
    }
    return ins;
}();
} // namespace

const XM_Instrument& XM_Empty_Instrument()
{
    return g_empty_instrument;
}

void XM_Song::Free()
{
    for (XM_Pattern& p : patterns)
    {
        delete[] p.cells;
        p = XM_Pattern();
    }
    for (XM_Instrument*& ins : instruments)
    {
        Free_Instrument(ins);
        ins = nullptr;
    }
    version = 0;
    song_length = restart = channels = pattern_count = instrument_count = 0;
    linear = true;
    speed = 6;
    tempo = 125;
    std::memset(orders, 0, sizeof orders);
}

bool XM_Song::Load(const uint8_t* bytes, size_t size)
{
    Free();
    if (!bytes)
        return false;
    Reader r{bytes, size};
    if (size < 80 || std::memcmp(bytes, "Extended Module: ", 17) != 0)
        return false;
    uint16_t v = r.U16(58);
    int length = r.U16(64), chans = r.U16(68), pats = r.U16(70);
    if (v < 0x0102 || v > 0x0104 || chans < 1 || chans > MAX_CHANNELS || pats > MAX_PATTERNS ||
        length > MAX_ORDERS)
        return false;
    version = v;
    song_length = length;
    restart = r.U16(66);
    channels = chans;
    pattern_count = pats;
    int ins_count = r.U16(72);
    instrument_count = ins_count > MAX_INSTRUMENTS ? MAX_INSTRUMENTS : ins_count;
    linear = r.U16(74) & 1;
    speed = r.U16(76) ? r.U16(76) : 6;
    tempo = r.U16(78) ? r.U16(78) : 125;
    if (speed > 255)
        speed = 255;
    if (tempo > 255)
        tempo = 255;
    for (int i = 0; i < MAX_ORDERS; ++i)
        orders[i] = r.U8(80 + i);
    if (song_length == 0) // nothing to play: one position of pattern 0 keeps the replayer well defined
        song_length = 1;
    if (restart >= song_length)
        restart = 0;

    size_t offset = 60 + static_cast<size_t>(r.U32(60));
    auto read_patterns = [&]()
    {
        for (int p = 0; p < pattern_count; ++p)
        {
            offset = Read_Pattern(r, offset, version, channels, patterns[p]);
            if (!offset)
                return false;
        }
        return true;
    };
    Sample_Header sample_headers[MAX_INSTRUMENTS + 1][XM_Instrument::MAX_SAMPLES] = {};
    auto read_header = [&](int i)
    {
        XM_Instrument* ins = new (std::nothrow) XM_Instrument;
        if (!ins)
            return false;
        size_t next = Read_Instrument(r, offset, *ins, sample_headers[i]);
        if (!next)
        {
            Free_Instrument(ins);
            return false;
        }
        instruments[i] = ins;
        offset = next;
        return true;
    };
    auto read_samples = [&](int i)
    {
        XM_Instrument* ins = instruments[i];
        for (int s = 0; s < ins->sample_count; ++s)
        {
            offset = Read_Sample_Data(r, offset, sample_headers[i][s], ins->samples[s]);
            if (!offset)
                return false;
        }
        return true;
    };

    if (version == 0x0104)
    {
        if (!read_patterns())
        {
            Free();
            return false;
        }
        for (int i = 1; i <= instrument_count; ++i)
        {
            if (!read_header(i))
                break;
            if (!read_samples(i))
            {
                Free_Instrument(instruments[i]);
                instruments[i] = nullptr;
                break;
            }
        }
    }
    else
    {
        bool ok = true;
        for (int i = 1; ok && i <= instrument_count; ++i)
            ok = read_header(i);
        ok = ok && read_patterns();
        for (int i = 1; ok && i <= instrument_count; ++i)
            ok = read_samples(i);
        if (!ok)
        {
            Free();
            return false;
        }
    }
    return true;
}

int XM_Song::Pattern_Rows(int order) const
{
    if (order < 0 || order >= song_length)
        return 64;
    int p = orders[order];
    return p < pattern_count ? patterns[p].rows : 64;
}

const uint8_t* XM_Song::Cell(int pattern, int row, int channel) const
{
    if (pattern < 0 || pattern >= pattern_count || channel < 0 || channel >= channels)
        return nullptr;
    const XM_Pattern& p = patterns[pattern];
    if (!p.cells || row < 0 || row >= p.rows)
        return nullptr;
    return p.cells + (static_cast<size_t>(row) * channels + channel) * 5;
}
