// vorta5-xm: checks an XM module before it goes into the game.
//   vorta5-xm render IN.xm OUT.wav [--rate HZ] [--seconds N]
//       renders through the player's own mixing step to 16-bit stereo WAVE, until the order list wraps
//       for the first time or N seconds have been written (default 600)
//   vorta5-xm info IN.xm
//       prints the header, the patterns and the instruments
//   vorta5-xm trace IN.xm [--rate HZ] [--seconds N]
//       plays the song as render does, without writing it, and prints a line at the start of every row:
//       song position, pattern, row, ticks run and time in seconds, speed and tempo, then for each
//       channel the note and instrument of its cell and the channel volume the row leaves; a row held
//       by a pattern delay is marked with '*'
#include "engine/audio/xm_player.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
int Usage()
{
    std::fprintf(stderr, "usage: vorta5-xm render IN.xm OUT.wav [--rate HZ] [--seconds N]\n"
                         "       vorta5-xm info IN.xm\n"
                         "       vorta5-xm trace IN.xm [--rate HZ] [--seconds N]\n");
    return 2;
}

bool Read_All(const char* path, std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

// Reads the module and loads it into the player (without a device) at the rate. False, with the reason
// on standard error, when it cannot.
bool Load_Song(const char* in, int rate, std::vector<uint8_t>& bytes)
{
    if (!Read_All(in, bytes))
    {
        std::fprintf(stderr, "vorta5-xm: cannot read %s\n", in);
        return false;
    }
    if (!g_xm_player.Initialise(rate, true, true, false) || !g_xm_player.Load(bytes.data(), bytes.size()))
    {
        std::fprintf(stderr, "vorta5-xm: %s is not a module the player can load\n", in);
        return false;
    }
    return true;
}

void Put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool Write_Wave(FILE* f, int rate, uint32_t frames)
{
    uint8_t h[44] = {'R', 'I', 'F', 'F', 0, 0, 0,  0, 'W', 'A', 'V', 'E', 'f', 'm',
                     't', ' ', 16,  0,   0, 0, 1,  0, 2,   0,   0,   0,   0,   0,
                     0,   0,   0,   0,   4, 0, 16, 0, 'd', 'a', 't', 'a'};
    Put32(h + 4, 36 + frames * 4);
    Put32(h + 24, static_cast<uint32_t>(rate));
    Put32(h + 28, static_cast<uint32_t>(rate) * 4);
    Put32(h + 40, frames * 4);
    return std::fseek(f, 0, SEEK_SET) == 0 && std::fwrite(h, 1, sizeof h, f) == sizeof h;
}

int Render(const char* in, const char* out, int rate, double seconds)
{
    std::vector<uint8_t> bytes;
    if (!Load_Song(in, rate, bytes))
        return 1;
    FILE* f = std::fopen(out, "wb");
    if (!f || !Write_Wave(f, rate, 0))
    {
        std::fprintf(stderr, "vorta5-xm: cannot write %s\n", out);
        if (f)
            std::fclose(f);
        return 1;
    }
    g_xm_player.Play(1.0f);
    const int64_t limit = static_cast<int64_t>(seconds * rate);
    int64_t written = 0;
    int16_t block[XM_Player::BLOCK_FRAMES * 2];
    bool ok = true;
    while (ok && written < limit)
    {
        g_xm_player.Render(block, XM_Player::BLOCK_FRAMES);
        int64_t n = XM_Player::BLOCK_FRAMES;
        int64_t wrap = g_xm_player.Replayer().First_Wrap_Frame();
        if (wrap >= 0 && wrap < written + n)
            n = wrap - written;
        if (n > limit - written)
            n = limit - written;
        if (n > 0)
            ok = std::fwrite(block, 4, static_cast<size_t>(n), f) == static_cast<size_t>(n);
        written += n > 0 ? n : 0;
        if (wrap >= 0 && wrap <= written)
            break;
    }
    ok = ok && Write_Wave(f, rate, static_cast<uint32_t>(written));
    ok = std::fclose(f) == 0 && ok;
    if (!ok)
    {
        std::fprintf(stderr, "vorta5-xm: cannot write %s\n", out);
        return 1;
    }
    std::printf("%s: %lld frames (%.2f s) at %d Hz\n", out, static_cast<long long>(written),
                static_cast<double>(written) / rate, rate);
    return 0;
}

// Prints one line a row start.
class Row_Printer final : public XM_Row_Listener
{
  public:
    explicit Row_Printer(int rate) : m_rate(rate) {}
    void On_Row(const XM_Replayer& replayer, const XM_Row_Start& row) override
    {
        std::printf("%3d %3d %3d%c %8lld %10.4f %3d %3d ", row.position, row.pattern, row.row,
                    row.repeat ? '*' : ' ', static_cast<long long>(row.tick),
                    static_cast<double>(row.frame) / m_rate, row.speed, row.tempo);
        for (int c = 0; c < replayer.Channel_Count(); ++c)
        {
            const XM_Channel& ch = replayer.Channel(c);
            char note[4] = "---";
            static const char names[] = "C-C#D-D#E-F-F#G-G#A-A#B-";
            if (ch.note >= 1 && ch.note <= 96)
                std::snprintf(note, sizeof note, "%.2s%d", names + (ch.note - 1) % 12 * 2,
                              (ch.note - 1) / 12);
            else if (ch.note == 97)
                std::snprintf(note, sizeof note, "===");
            char instrument[4] = "--";
            if (ch.instrument_number)
                std::snprintf(instrument, sizeof instrument, "%02X", ch.instrument_number);
            std::printf(" |%s %s %2d", note, instrument, ch.volume);
        }
        std::printf("\n");
    }

  private:
    int m_rate;
};

int Trace(const char* in, int rate, double seconds)
{
    std::vector<uint8_t> bytes;
    if (!Load_Song(in, rate, bytes))
        return 1;
    std::printf("# pos pat row     tick       time spd bpm  channels: note instrument volume\n");
    Row_Printer printer(rate);
    g_xm_player.Set_Row_Listener(&printer);
    g_xm_player.Play(1.0f);
    const XM_Replayer& replayer = g_xm_player.Replayer();
    const int64_t limit = static_cast<int64_t>(seconds * rate);
    int16_t block[XM_Player::BLOCK_FRAMES * 2];
    int64_t done = 0;
    // Rows that start after the order list has wrapped are not printed: the first wrap ends the song.
    while (done < limit)
    {
        int64_t wrap = replayer.First_Wrap_Frame();
        if (wrap >= 0 && wrap <= done)
            break;
        int n = static_cast<int>(std::min<int64_t>(XM_Player::BLOCK_FRAMES, limit - done));
        if (wrap >= 0)
            n = static_cast<int>(std::min<int64_t>(n, wrap - done));
        g_xm_player.Render(block, n);
        done += n;
    }
    g_xm_player.Set_Row_Listener(nullptr);
    return 0;
}

int Info(const char* in)
{
    std::vector<uint8_t> bytes;
    if (!Load_Song(in, 44000, bytes))
        return 1;
    const XM_Song& s = g_xm_player.Song();
    char name[21] = {}, tracker[21] = {};
    std::memcpy(name, bytes.data() + 17, 20);
    std::memcpy(tracker, bytes.data() + 38, 20);
    std::printf("name \"%s\", tracker \"%s\", version %x.%02x\n", name, tracker, s.version >> 8,
                s.version & 255);
    std::printf("song length %d, restart %d, channels %d, patterns %d, instruments %d, %s frequencies\n",
                s.song_length, s.restart, s.channels, s.pattern_count, s.instrument_count,
                s.linear ? "linear" : "Amiga");
    std::printf("speed %d, tempo %d\norders:", s.speed, s.tempo);
    for (int i = 0; i < s.song_length; ++i)
        std::printf(" %d", s.orders[i]);
    std::printf("\n");
    for (int p = 0; p < s.pattern_count; ++p)
        std::printf("pattern %3d: %3d rows%s\n", p, s.patterns[p].rows, s.patterns[p].cells ? "" : ", empty");
    for (int i = 1; i <= s.instrument_count; ++i)
    {
        const XM_Instrument* ins = s.instruments[i];
        if (!ins)
        {
            std::printf("instrument %3d: not loaded\n", i);
            continue;
        }
        std::printf(
            "instrument %3d: %d samples, volume envelope %s (%d points), panning envelope %s (%d points), "
            "fade-out %d, vibrato type %d sweep %d depth %d rate %d\n",
            i, ins->sample_count, ins->volume_envelope.On() ? "on" : "off", ins->volume_envelope.count,
            ins->panning_envelope.On() ? "on" : "off", ins->panning_envelope.count, ins->fadeout,
            ins->vibrato_type, ins->vibrato_sweep, ins->vibrato_depth, ins->vibrato_rate);
        for (int k = 0; k < ins->sample_count; ++k)
        {
            const XM_Sample& smp = ins->samples[k];
            static const char* loops[] = {"no loop", "forward loop", "ping-pong loop"};
            std::printf("    sample %2d: %d frames, %d-bit%s, %s %d+%d, volume %d, finetune %d, panning %d, "
                        "relative note %d\n",
                        k, smp.length, smp.type & 0x10 ? 16 : 8, smp.type & 0x20 ? " stereo" : "",
                        loops[smp.Loop_Mode()], smp.loop_start, smp.loop_length, smp.volume, smp.finetune,
                        smp.panning, smp.relative_note);
        }
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "info") == 0)
        return Info(argv[2]);
    bool trace = argc >= 3 && std::strcmp(argv[1], "trace") == 0;
    if (!trace && (argc < 4 || std::strcmp(argv[1], "render") != 0))
        return Usage();
    int rate = 44000;
    double seconds = 600.0;
    for (int a = trace ? 3 : 4; a < argc; ++a)
    {
        if (std::strcmp(argv[a], "--rate") == 0 && a + 1 < argc)
            rate = std::atoi(argv[++a]);
        else if (std::strcmp(argv[a], "--seconds") == 0 && a + 1 < argc)
            seconds = std::atof(argv[++a]);
        else
            return Usage();
    }
    if (rate < 8000 || rate > 192000 || !(seconds > 0.0))
        return Usage();
    if (trace)
        return Trace(argv[2], rate, seconds);
    return Render(argv[2], argv[3], rate, seconds);
}
