// xm_timeline: the row timeline of the XM player beside libopenmpt's and libxmp's, to find where they
// play a song's rows in a different order or at different times.
//   xm_timeline [--verbose] [--made] [FILE.xm...]
// For each module and each reference: the rows in the order the players start them (song position and
// row; a row held by a pattern delay or repeated in place counts once), the first place where the lists
// part, and the largest difference in the time at which a row starts. --made adds the flow-control songs
// that the XM tests check (speed changes, pattern delays, loops, jumps and breaks); --verbose lists every
// row of the modules after it. All play at 44100 Hz for at most 120 s. A reference stops where it finds
// the song's end; ours loops for ever, so its timeline is compared as far as the reference's goes.
#include "engine/audio/xm_player.h"
#include "xm_flow_songs.h"

#include <libopenmpt/libopenmpt.h>
#include <xmp.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
constexpr int RATE = 44100;
constexpr int64_t LIMIT = 120LL * RATE;
// libopenmpt is asked for its row after every few frames, so its row starts are known to this many.
constexpr int STEP = 16;
bool g_verbose = false;

struct Row
{
    int position;
    int row;
    int64_t frame;
};

class Collector final : public XM_Row_Listener
{
  public:
    void On_Row(const XM_Replayer&, const XM_Row_Start& start) override
    {
        if (!rows.empty() && rows.back().position == start.position && rows.back().row == start.row)
            return;
        rows.push_back({start.position, start.row, start.frame});
    }
    std::vector<Row> rows;
};

// Our rows, past the wraps of the order list (songs loop forever), until `limit` rows or LIMIT frames.
bool Ours(const std::vector<uint8_t>& bytes, size_t limit, std::vector<Row>& rows)
{
    if (!g_xm_player.Load(bytes.data(), bytes.size()))
        return false;
    Collector collector;
    g_xm_player.Set_Row_Listener(&collector);
    g_xm_player.Play(1.0f);
    static int16_t block[XM_Player::BLOCK_FRAMES * 2];
    for (int64_t done = 0; done < LIMIT && collector.rows.size() <= limit; done += XM_Player::BLOCK_FRAMES)
        g_xm_player.Render(block, XM_Player::BLOCK_FRAMES);
    g_xm_player.Set_Row_Listener(nullptr);
    rows = collector.rows;
    if (rows.size() > limit)
        rows.resize(limit);
    return true;
}

// libxmp's rows, tick by tick, until it loops.
bool Xmp(const std::vector<uint8_t>& bytes, std::vector<Row>& rows)
{
    xmp_context ctx = xmp_create_context();
    if (xmp_load_module_from_memory(ctx, const_cast<uint8_t*>(bytes.data()),
                                    static_cast<long>(bytes.size())) != 0)
    {
        xmp_free_context(ctx);
        return false;
    }
    xmp_start_player(ctx, RATE, 0);
    rows.clear();
    int64_t done = 0;
    xmp_frame_info info;
    while (done < LIMIT && xmp_play_frame(ctx) == 0)
    {
        xmp_get_frame_info(ctx, &info);
        if (info.loop_count > 0)
            break;
        if (info.frame == 0 &&
            (rows.empty() || rows.back().position != info.pos || rows.back().row != info.row))
            rows.push_back({info.pos, info.row, done});
        done += info.buffer_size / 4;
    }
    xmp_end_player(ctx);
    xmp_release_module(ctx);
    xmp_free_context(ctx);
    return true;
}

bool Theirs(const std::vector<uint8_t>& bytes, std::vector<Row>& rows)
{
    openmpt_module* mod = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr,
                                                             nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!mod)
        return false;
    openmpt_module_set_repeat_count(mod, 0);
    rows.clear();
    static int16_t block[STEP * 2];
    for (int64_t done = 0; done < LIMIT; done += STEP)
    {
        // The song's end falls in a short read; the row libopenmpt has moved on to there is not played.
        if (openmpt_module_read_interleaved_stereo(mod, RATE, STEP, block) < static_cast<size_t>(STEP))
            break;
        int position = openmpt_module_get_current_order(mod);
        int row = openmpt_module_get_current_row(mod);
        if (rows.empty() || rows.back().position != position || rows.back().row != row)
            rows.push_back({position, row, done});
    }
    openmpt_module_destroy(mod);
    // At the song's end libopenmpt has already moved to the row the song would go on with, one it played
    // before; that row is not played again.
    if (rows.size() > 1)
        for (size_t i = 0; i + 1 < rows.size(); ++i)
            if (rows[i].position == rows.back().position && rows[i].row == rows.back().row)
            {
                rows.pop_back();
                break;
            }
    return true;
}

void Print_Rows(const char* who, const std::vector<Row>& rows, size_t from, size_t to)
{
    std::printf("    %-10s", who);
    for (size_t i = from; i < to && i < rows.size(); ++i)
        std::printf(" %d.%d@%.3f", rows[i].position, rows[i].row, static_cast<double>(rows[i].frame) / RATE);
    std::printf("\n");
}

// Prints how our timeline compares with a reference player's; true when they agree.
bool Compare_With(const char* who, const std::vector<Row>& ours, const std::vector<Row>& theirs)
{
    size_t n = std::min(ours.size(), theirs.size());
    size_t parted = n;
    double worst = 0.0; // ms
    for (size_t i = 0; i < n; ++i)
    {
        if (ours[i].position != theirs[i].position || ours[i].row != theirs[i].row)
        {
            parted = i;
            break;
        }
        // libopenmpt's row start lies within the STEP frames after the one recorded.
        double dt = static_cast<double>(ours[i].frame - theirs[i].frame);
        if (who == std::string("libopenmpt") && dt >= 0 && dt < STEP)
            dt = 0;
        else if (who == std::string("libopenmpt") && dt >= STEP)
            dt -= STEP - 1;
        worst = std::max(worst, std::abs(dt) * 1000.0 / RATE);
    }
    // The reference ends the song where it finds its end; ours plays on round it, so only a timeline
    // shorter than the reference's is a difference.
    bool agree = parted == n && ours.size() >= theirs.size() && worst < 1.0;
    std::printf("    %-10s %s: %zu rows compared, start times apart at most %.2f ms\n", who,
                agree ? "same" : "DIFFERENT", n, worst);
    if (parted < n)
    {
        size_t from = parted > 3 ? parted - 3 : 0;
        std::printf("      parted at row %zu:\n", parted);
        Print_Rows("ours", ours, from, parted + 4);
        Print_Rows(who, theirs, from, parted + 4);
    }
    else if (ours.size() < theirs.size())
    {
        std::printf("      ours ends, %s goes on:\n", who);
        Print_Rows(who, theirs, n, n + 6);
    }
    if (g_verbose)
    {
        Print_Rows("ours", ours, 0, theirs.size());
        Print_Rows(who, theirs, 0, theirs.size());
    }
    return agree;
}

// Prints the comparison of one module; true when both references agree with ours.
bool Compare(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::vector<Row> ours, openmpt, xmp;
    std::printf("%s\n", name.c_str());
    bool have_openmpt = Theirs(bytes, openmpt);
    bool have_xmp = Xmp(bytes, xmp);
    if (!Ours(bytes, std::max(openmpt.size(), xmp.size()), ours))
    {
        std::printf("    our player does not load it\n");
        return false;
    }
    bool agree = true;
    if (have_openmpt)
        agree = Compare_With("libopenmpt", ours, openmpt) && agree;
    else
        std::printf("    libopenmpt does not load it\n");
    if (have_xmp)
        agree = Compare_With("libxmp", ours, xmp) && agree;
    else
        std::printf("    libxmp does not load it\n");
    return agree;
}
} // namespace

int main(int argc, char** argv)
{
    if (!g_xm_player.Initialise(RATE, true, true, false))
        return 1;
    int compared = 0, agreed = 0;
    for (int a = 1; a < argc; ++a)
    {
        if (std::strcmp(argv[a], "--verbose") == 0)
        {
            g_verbose = true;
            continue;
        }
        if (std::strcmp(argv[a], "--made") == 0)
        {
            for (const Xm_Flow_Song& song : Xm_Flow_Songs())
            {
                agreed += Compare(std::string("made: ") + song.name, song.writer.Build()) ? 1 : 0;
                ++compared;
            }
            continue;
        }
        std::ifstream in(argv[a], std::ios::binary);
        if (!in)
        {
            std::fprintf(stderr, "xm_timeline: cannot read %s\n", argv[a]);
            continue;
        }
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        const char* slash = std::strrchr(argv[a], '/');
        agreed += Compare(slash ? slash + 1 : argv[a], bytes) ? 1 : 0;
        ++compared;
    }
    if (compared == 0)
    {
        std::fprintf(stderr, "usage: xm_timeline [--verbose] [--made] [FILE.xm...]\n");
        return 2;
    }
    std::printf("%d of %d modules play the row timeline of both references\n", agreed, compared);
    return 0;
}
