// Small songs that move through their rows with speed and tempo changes, pattern delays (EEx), pattern
// loops (E6x), position jumps (Bxx) and pattern breaks (Dxx), each with the row timeline a tracker plays:
// the rows in the order they start, each with the tick at which it starts. Shared by the XM tests and the
// timeline comparison tool.
#pragma once
#include "xm_writer.h"

#include <vector>

struct Xm_Flow_Row
{
    int position, row, tick;
};

struct Xm_Flow_Song
{
    const char* name;
    Xm_Writer writer;
    std::vector<Xm_Flow_Row> timeline; // the first rows; a row repeated in place is listed once
};

namespace xm_flow
{
// A song of `patterns` empty patterns of `rows` rows on `channels` channels, played in that order. Every
// cell gets a volume so that no pattern is empty.
inline Xm_Writer Plain(int patterns, int rows, int channels = 2)
{
    Xm_Writer w;
    w.channels = channels;
    w.orders.clear();
    for (int p = 0; p < patterns; ++p)
    {
        w.Add_Pattern(rows);
        w.orders.push_back(static_cast<uint8_t>(p));
        w.Cell(p, 0, 0).volume = 0x50;
    }
    return w;
}

// Rows of one pattern position, each `ticks` long, from a starting tick.
inline void Rows(std::vector<Xm_Flow_Row>& out, int position, int first, int last, int& tick, int ticks)
{
    for (int r = first; r <= last; ++r, tick += ticks)
        out.push_back({position, r, tick});
}
} // namespace xm_flow

inline std::vector<Xm_Flow_Song> Xm_Flow_Songs()
{
    using namespace xm_flow;
    std::vector<Xm_Flow_Song> songs;

    {
        // Speed 3 from row 0, speed 1 from row 4, speed 31 on row 6; tempo changes on row 2 and 5 change
        // only the tick length.
        Xm_Writer w = Plain(1, 8);
        w.Cell(0, 0, 1) = {0, 0, 0, 0x0F, 0x03};
        w.Cell(0, 2, 1) = {0, 0, 0, 0x0F, 0x80};
        w.Cell(0, 4, 1) = {0, 0, 0, 0x0F, 0x01};
        w.Cell(0, 5, 0) = {0, 0, 0, 0x0F, 0x20};
        w.Cell(0, 6, 1) = {0, 0, 0, 0x0F, 0x1F};
        std::vector<Xm_Flow_Row> t;
        int tick = 0;
        Rows(t, 0, 0, 3, tick, 3);
        Rows(t, 0, 4, 5, tick, 1);
        Rows(t, 0, 6, 7, tick, 31);
        songs.push_back({"speed and tempo changes", w, t});
    }
    {
        // EE2 holds row 1 for three rows, EE1 on row 3 for two; the second delay beside the first on row 3's
        // other channel does not add to it.
        Xm_Writer w = Plain(2, 6);
        w.Cell(0, 1, 0) = {0, 0, 0, 0x0E, 0xE2};
        w.Cell(0, 3, 0) = {0, 0, 0, 0x0E, 0xE1};
        w.Cell(0, 3, 1) = {0, 0, 0, 0x0E, 0xE3};
        std::vector<Xm_Flow_Row> t;
        int tick = 0;
        Rows(t, 0, 0, 0, tick, 6);
        Rows(t, 0, 1, 1, tick, 18);
        Rows(t, 0, 2, 2, tick, 6);
        Rows(t, 0, 3, 3, tick, 6 * 4); // the right-most delay of the row counts: E3 holds it for four
        Rows(t, 0, 4, 5, tick, 6);
        Rows(t, 1, 0, 5, tick, 6);
        songs.push_back({"pattern delays", w, t});
    }
    {
        // A pattern delay and a break on the same row: the break is taken at the end of the row's first
        // pass, and the delay goes on over the row it leads to, which plays without its cells being read
        // (as FastTracker 2 does; libopenmpt and libxmp hold the row first and then break).
        Xm_Writer w = Plain(3, 4);
        w.Cell(0, 1, 0) = {0, 0, 0, 0x0E, 0xE1};
        w.Cell(0, 1, 1) = {0, 0, 0, 0x0D, 0x02};
        std::vector<Xm_Flow_Row> t;
        int tick = 0;
        Rows(t, 0, 0, 1, tick, 6);
        Rows(t, 1, 2, 3, tick, 6);
        Rows(t, 2, 0, 3, tick, 6);
        songs.push_back({"pattern delay with a break", w, t});
    }
    {
        // E60 on row 1 and E62 on row 2: rows 1 and 2 three times, then the rest.
        Xm_Writer w = Plain(1, 5);
        w.Cell(0, 1, 0) = {0, 0, 0, 0x0E, 0x60};
        w.Cell(0, 2, 0) = {0, 0, 0, 0x0E, 0x62};
        std::vector<Xm_Flow_Row> t;
        int tick = 0;
        Rows(t, 0, 0, 2, tick, 6);
        Rows(t, 0, 1, 2, tick, 6);
        Rows(t, 0, 1, 2, tick, 6);
        Rows(t, 0, 3, 4, tick, 6);
        songs.push_back({"pattern loop", w, t});
    }
    {
        // After a loop the next pattern starts at the loop's first row, as FastTracker 2 plays it (a break
        // row left over from the loop; libxmp starts at row 0).
        Xm_Writer w = Plain(3, 4);
        w.Cell(0, 1, 0) = {0, 0, 0, 0x0E, 0x60};
        w.Cell(0, 2, 0) = {0, 0, 0, 0x0E, 0x61};
        std::vector<Xm_Flow_Row> t;
        int tick = 0;
        Rows(t, 0, 0, 2, tick, 6);
        Rows(t, 0, 1, 3, tick, 6);
        Rows(t, 1, 1, 3, tick, 6);
        Rows(t, 2, 0, 3, tick, 6);
        songs.push_back({"loop row carried into the next pattern", w, t});
    }
    {
        // Two channels loop on their own: channel 1 loops rows 1-2 once inside each pass of channel 0's
        // loop of rows 0-3.
        Xm_Writer w = Plain(1, 5);
        w.Cell(0, 0, 0) = {0, 0, 0, 0x0E, 0x60};
        w.Cell(0, 3, 0) = {0, 0, 0, 0x0E, 0x61};
        w.Cell(0, 1, 1) = {0, 0, 0, 0x0E, 0x60};
        w.Cell(0, 2, 1) = {0, 0, 0, 0x0E, 0x61};
        std::vector<Xm_Flow_Row> t;
        int tick = 0;
        for (int pass = 0; pass < 2; ++pass)
        {
            Rows(t, 0, 0, 2, tick, 6);
            Rows(t, 0, 1, 3, tick, 6);
        }
        Rows(t, 0, 4, 4, tick, 6);
        songs.push_back({"loops on two channels", w, t});
    }
    {
        // A loop end with a pattern delay on the same row: the loop goes back at the end of the row's first
        // pass and the delay holds the loop's first row instead; the second pass plays the row with its
        // delay, and the loop is done (as FastTracker 2 does; libxmp holds the row first).
        Xm_Writer w = Plain(1, 4);
        w.Cell(0, 1, 0) = {0, 0, 0, 0x0E, 0x60};
        w.Cell(0, 2, 0) = {0, 0, 0, 0x0E, 0x61};
        w.Cell(0, 2, 1) = {0, 0, 0, 0x0E, 0xE1};
        std::vector<Xm_Flow_Row> t;
        int tick = 0;
        Rows(t, 0, 0, 2, tick, 6);
        Rows(t, 0, 1, 1, tick, 6);
        Rows(t, 0, 2, 2, tick, 12);
        Rows(t, 0, 3, 3, tick, 6);
        songs.push_back({"loop with a pattern delay", w, t});
    }
    {
        // Jumps and breaks through five positions: B03 from position 0, D02 from position 3 into
        // position 4, B01 back to position 1 from there, then D00 at the end of position 1 and on to the
        // end of the order list.
        Xm_Writer w = Plain(5, 4);
        w.Cell(0, 1, 1) = {0, 0, 0, 0x0B, 0x03};
        w.Cell(3, 0, 1) = {0, 0, 0, 0x0D, 0x02};
        w.Cell(4, 3, 1) = {0, 0, 0, 0x0B, 0x01};
        w.Cell(1, 1, 1) = {0, 0, 0, 0x0D, 0x00};
        std::vector<Xm_Flow_Row> t;
        int tick = 0;
        Rows(t, 0, 0, 1, tick, 6);
        Rows(t, 3, 0, 0, tick, 6);
        Rows(t, 4, 2, 3, tick, 6);
        Rows(t, 1, 0, 1, tick, 6);
        Rows(t, 2, 0, 3, tick, 6);
        Rows(t, 3, 0, 0, tick, 6);
        songs.push_back({"jumps and breaks", w, t});
    }
    {
        // A jump and a break on the same row (the break in the later channel) go to that row of the
        // jump's position; a break alone to a row beyond the next pattern's end goes to its row 0.
        Xm_Writer w = Plain(4, 6);
        w.Cell(0, 1, 0) = {0, 0, 0, 0x0B, 0x02};
        w.Cell(0, 1, 1) = {0, 0, 0, 0x0D, 0x04};
        w.Cell(2, 5, 1) = {0, 0, 0, 0x0D, 0x09};
        std::vector<Xm_Flow_Row> t;
        int tick = 0;
        Rows(t, 0, 0, 1, tick, 6);
        Rows(t, 2, 4, 5, tick, 6);
        Rows(t, 3, 0, 5, tick, 6);
        songs.push_back({"jump and break on one row", w, t});
    }
    return songs;
}
