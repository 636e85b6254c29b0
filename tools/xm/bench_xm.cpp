// bench_xm: how fast the XM player mixes, beside libxmp and libopenmpt on the same modules.
//   bench_xm [SUITE_FOLDER] [SECONDS]
// Renders the three longest-playing modules of the folder and two large multi-channel songs made
// here, each for SECONDS (default 60) of 44100 Hz 16-bit stereo, and prints the time each library took:
// the best of three runs, the libraries taking turns, so that other work on a shared machine counts less.
// Every library mixes with linear interpolation.
#include "engine/audio/xm_player.h"
#include "xm_writer.h"

#include <libopenmpt/libopenmpt.h>
#include <xmp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
constexpr int RATE = 44100;
constexpr int BLOCK = 1024;
constexpr int RUNS = 3;

struct Module
{
    std::string name;
    std::vector<uint8_t> bytes;
};

// A dense song: every channel plays a note each few rows with vibrato, slides and envelopes.
Module Make_Song(const char* name, int channels, int patterns)
{
    Xm_Writer w;
    w.channels = channels;
    w.speed = 4;
    w.tempo = 140;
    w.orders.clear();
    for (int p = 0; p < patterns; ++p)
    {
        w.Add_Pattern(64);
        w.orders.push_back(static_cast<uint8_t>(p));
        for (int r = 0; r < 64; ++r)
            for (int c = 0; c < channels; ++c)
            {
                if ((r + c + p) % 4 == 0)
                    w.Cell(p, r, c) = {static_cast<uint8_t>(25 + (r * 5 + c * 7 + p) % 48),
                                       static_cast<uint8_t>(1 + c % 3), 0, 0x04, 0x36};
                else if ((r + c) % 4 == 2)
                    w.Cell(p, r, c) = {0, 0, static_cast<uint8_t>(0x62), 0x01, 0x02};
            }
    }
    for (int i = 0; i < 3; ++i)
    {
        Xm_Writer_Instrument ins;
        Xm_Writer_Sample s;
        s.wide = i == 1;
        int length = 2000 + 3000 * i;
        for (int k = 0; k < length; ++k)
            s.frames.push_back(static_cast<int16_t>((s.wide ? 9000 : 35) * ((k * (i + 3)) % 97 - 48) / 48));
        s.loop_type = i == 2 ? 2 : 1;
        s.loop_start = 500;
        s.loop_length = static_cast<uint32_t>(length - 500);
        s.panning = static_cast<uint8_t>(60 + 60 * i);
        ins.samples.push_back(s);
        ins.volume_points = {{0, 64}, {10, 40}, {40, 50}};
        ins.volume_type = 3;
        ins.volume_sustain = 2;
        ins.vibrato_depth = 3;
        ins.vibrato_rate = 30;
        ins.fadeout = 500;
        w.instruments.push_back(ins);
    }
    return {name, w.Build()};
}

double Seconds_Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Time_Vorta5(const Module& m, long frames)
{
    if (!g_xm_player.Load(m.bytes.data(), m.bytes.size()))
        return -1;
    g_xm_player.Play(1.0f);
    static int16_t out[BLOCK * 2];
    auto start = std::chrono::steady_clock::now();
    for (long done = 0; done < frames; done += BLOCK)
        g_xm_player.Render(out, BLOCK);
    return Seconds_Since(start);
}

double Time_Xmp(const Module& m, long frames)
{
    xmp_context ctx = xmp_create_context();
    if (xmp_load_module_from_memory(ctx, m.bytes.data(), static_cast<long>(m.bytes.size())) != 0)
    {
        xmp_free_context(ctx);
        return -1;
    }
    xmp_start_player(ctx, RATE, 0);
    xmp_set_player(ctx, XMP_PLAYER_INTERP, XMP_INTERP_LINEAR);
    static int16_t out[BLOCK * 2];
    auto start = std::chrono::steady_clock::now();
    for (long done = 0; done < frames; done += BLOCK)
        xmp_play_buffer(ctx, out, sizeof out, 0);
    double t = Seconds_Since(start);
    xmp_end_player(ctx);
    xmp_release_module(ctx);
    xmp_free_context(ctx);
    return t;
}

double Time_Openmpt(const Module& m, long frames)
{
    openmpt_module* mod = openmpt_module_create_from_memory2(m.bytes.data(), m.bytes.size(), nullptr, nullptr,
                                                             nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!mod)
        return -1;
    openmpt_module_set_repeat_count(mod, -1);
    openmpt_module_set_render_param(mod, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH, 2);
    static int16_t out[BLOCK * 2];
    auto start = std::chrono::steady_clock::now();
    for (long done = 0; done < frames; done += BLOCK)
        openmpt_module_read_interleaved_stereo(mod, RATE, BLOCK, out);
    double t = Seconds_Since(start);
    openmpt_module_destroy(mod);
    return t;
}
} // namespace

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : "../shared/xm-conformance";
    double seconds = argc > 2 ? std::atof(argv[2]) : 60.0;
    long frames = static_cast<long>(seconds * RATE);

    // The suite's longest modules by playing time, as libopenmpt measures it.
    std::vector<std::pair<double, Module>> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    {
        if (entry.path().extension() != ".xm")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        Module m{entry.path().filename().string(),
                 std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {})};
        openmpt_module* mod = openmpt_module_create_from_memory2(
            m.bytes.data(), m.bytes.size(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        if (!mod)
            continue;
        found.push_back({openmpt_module_get_duration_seconds(mod), std::move(m)});
        openmpt_module_destroy(mod);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<Module> modules;
    for (size_t i = 0; i < found.size() && i < 3; ++i)
        modules.push_back(found[i].second);
    if (modules.empty())
        std::fprintf(stderr, "bench_xm: no modules in %s; only the made songs are timed\n", folder.c_str());
    modules.push_back(Make_Song("made: 32 channels", 32, 8));
    modules.push_back(Make_Song("made: 64 channels", 64, 8));

    if (!g_xm_player.Initialise(RATE, true, true, false))
        return 1;
    std::printf("%.0f s of 44100 Hz stereo per module, linear interpolation, best of %d runs\n", seconds,
                RUNS);
    std::printf("%-34s %12s %12s %12s\n", "module", "vorta5-xm", "libxmp", "libopenmpt");
    double total[3] = {};
    for (const Module& m : modules)
    {
        double t[3] = {-1, -1, -1};
        for (int run = 0; run < RUNS; ++run)
        {
            double now[3] = {Time_Vorta5(m, frames), Time_Xmp(m, frames), Time_Openmpt(m, frames)};
            for (int i = 0; i < 3; ++i)
                if (now[i] >= 0 && (t[i] < 0 || now[i] < t[i]))
                    t[i] = now[i];
        }
        std::printf("%-34s", m.name.c_str());
        for (int i = 0; i < 3; ++i)
        {
            if (t[i] < 0)
                std::printf(" %12s", "no load");
            else
                std::printf(" %10.3f s", t[i]);
            total[i] += t[i] > 0 ? t[i] : 0;
        }
        std::printf("\n");
    }
    std::printf("%-34s %10.3f s %10.3f s %10.3f s\n", "total", total[0], total[1], total[2]);
    return 0;
}
