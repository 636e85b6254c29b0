// Lookup tables of the XM player: note periods, period-to-frequency, the vibrato sine and the pan law.
#pragma once
#include <cstdint>

struct XM_Tables
{
    static constexpr int LINEAR_FREQUENCIES = 768;
    static constexpr int PERIODS = 1936; // 121 semitones of 16 fine steps
    static constexpr int PAN_LAW = 257;

    uint32_t linear_frequency[LINEAR_FREQUENCIES];
    uint16_t linear_period[PERIODS];
    uint16_t amiga_period[PERIODS];
    int8_t sine[256];
    uint32_t pan_law[PAN_LAW];

    void Build();
};

// Built once by the player at initialisation (and by anything that renders without it).
extern XM_Tables g_xm_tables;

// Frequency in Hz of a period on the linear or the Amiga scale; 0 for period 0 or one too low to hear.
uint32_t XM_Period_To_Frequency(int period, bool linear);
