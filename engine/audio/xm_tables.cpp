// The XM player's tables, computed at start-up from their closed forms.
#include "engine/audio/xm_tables.h"

#include <cmath>

XM_Tables g_xm_tables;

namespace
{
// One octave of Amiga periods at eight fine steps per semitone, from the B below C-0 upwards, at the
// scale where C-4 is 1712 (8363 Hz). Derived from the ProTracker clock, rounded as that tracker's table.
void Build_Amiga_Base(uint16_t* base)
{
    for (int i = 0; i < 96; ++i)
    {
        double semitones = (i - 8) / 8.0; // entry 8 is C with finetune 0
        base[i] = static_cast<uint16_t>(32 * std::floor(856.0 * std::pow(2.0, -semitones / 12.0) + 0.5));
    }
}
} // namespace

void XM_Tables::Build()
{
    for (int i = 0; i < LINEAR_FREQUENCIES; ++i)
        linear_frequency[i] = static_cast<uint32_t>(std::floor(2140928.0 * std::pow(2.0, i / 768.0) + 0.5));
    for (int j = 0; j < PERIODS; ++j)
        linear_period[j] = static_cast<uint16_t>(7744 - 4 * j);

    uint16_t base[104];
    Build_Amiga_Base(base);
    for (int i = 96; i < 104; ++i) // the last block reaches one semitone further: the next octave's B
        base[i] = static_cast<uint16_t>((base[i - 96] + 1) / 2);
    int out = 0;
    for (int block = 0; block < 10; ++block)
    {
        int count = block == 9 ? 104 : 96;
        for (int i = 0; i < count; ++i)
        {
            uint32_t value = base[i];
            if (block > 0)
                value = (value + (1u << (block - 1))) >> block;
            amiga_period[out] = static_cast<uint16_t>(value);
            out += 2;
        }
    }
    for (int i = 1; i + 1 < PERIODS; i += 2)
        amiga_period[i] = static_cast<uint16_t>((amiga_period[i - 1] + amiga_period[i + 1]) / 2);
    // The last odd entry has no right neighbour: continue the slope of the one before it.
    amiga_period[PERIODS - 1] = static_cast<uint16_t>(
        amiga_period[PERIODS - 2] - (amiga_period[PERIODS - 4] - amiga_period[PERIODS - 2]) / 2);

    for (int l = 0; l < 256; ++l)
        sine[l] = static_cast<int8_t>(std::floor(64.0 * std::sin(-2.0 * M_PI * l / 256.0) + 0.5));
    for (int i = 0; i < PAN_LAW; ++i)
        pan_law[i] = static_cast<uint32_t>(std::floor(65536.0 * std::sqrt(i / 256.0) + 0.5));
}

uint32_t XM_Period_To_Frequency(int period, bool linear)
{
    if (period <= 0)
        return 0;
    if (!linear)
        return static_cast<uint32_t>(14317456u / static_cast<uint32_t>(period));
    int d = 9216 - period;
    int octave = d >= 0 ? d / 768 : -((767 - d) / 768);
    int index = d - octave * 768;
    int shift = 14 - octave; // at least 3: periods start at 1
    if (shift >= 32)
        return 0;
    return g_xm_tables.linear_frequency[index] >> shift;
}
