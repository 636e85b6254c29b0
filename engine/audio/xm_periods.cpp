// The XM replayer's periods: the period of a note with its finetune, and the note nearest a period.
#include "engine/audio/xm_replayer.h"

#include "engine/audio/xm_replayer_internal.h"
#include "engine/audio/xm_tables.h"

#include <cstdlib>

using namespace xm_replay;

int XM_Replayer::Note_Period(int real_note, int finetune) const
{
    // The table has 16 steps a semitone; the finetune's low three bits fall between two of them.
    int index = Clamp(real_note, 0, MAX_REAL_NOTE) * 16 + (finetune >> 3) + 16;
    index = Clamp(index, 0, XM_Tables::PERIODS - 2);
    const uint16_t* table = m_song && !m_song->linear ? g_xm_tables.amiga_period : g_xm_tables.linear_period;
    return table[index] + (static_cast<int>(table[index + 1]) - table[index]) * (finetune & 7) / 8;
}

int XM_Replayer::Nearest_Note(int period, int finetune) const
{
    int best = 0, best_distance = 1 << 30;
    for (int n = 0; n <= MAX_REAL_NOTE; ++n)
    {
        int d = std::abs(Note_Period(n, finetune) - period);
        if (d < best_distance)
        {
            best_distance = d;
            best = n;
        }
    }
    return best;
}
