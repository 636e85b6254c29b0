// Inside the XM replayer only: note and period limits, effect numbers, and the envelope steps that the
// row logic, the effects and the per-tick channel update share.
#pragma once
#include "engine/audio/xm_replayer.h"

namespace xm_replay
{
constexpr int NOTE_OFF = 97;
constexpr int MAX_REAL_NOTE = 118; // 0-based semitone with the relative note added
constexpr int MAX_PERIOD = 31999;

// Effect numbers, XM numbering.
enum
{
    FX_ARPEGGIO = 0,
    FX_PORTA_UP = 1,
    FX_PORTA_DOWN = 2,
    FX_TONE_PORTA = 3,
    FX_VIBRATO = 4,
    FX_TONE_PORTA_VOLUME = 5,
    FX_VIBRATO_VOLUME = 6,
    FX_TREMOLO = 7,
    FX_PANNING = 8,
    FX_OFFSET = 9,
    FX_VOLUME_SLIDE = 10,
    FX_JUMP = 11,
    FX_VOLUME = 12,
    FX_BREAK = 13,
    FX_EXTENDED = 14,
    FX_SPEED = 15,
    FX_GLOBAL_VOLUME = 16,
    FX_GLOBAL_SLIDE = 17,
    FX_KEY_OFF = 20,
    FX_ENVELOPE_POSITION = 21,
    FX_PANNING_SLIDE = 25,
    FX_MULTI_RETRIG = 27,
    FX_TREMOR = 29,
    FX_EXTRA_FINE = 33,
};

inline int Clamp(int v, int lo, int hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

// Envelope state at the start of a note: before its first point.
void Envelope_Restart(XM_Envelope_State& s);
// One tick of an envelope: advance, take the point reached, loop, and start the next segment.
void Envelope_Tick(XM_Envelope_State& s, const XM_Envelope& env, bool key_on);
// Places an envelope at a tick: the level on the segment that holds it.
void Envelope_Set(XM_Envelope_State& s, const XM_Envelope& env, int tick);
// The envelope's level, 0 to 64.
inline int Envelope_Level(const XM_Envelope_State& s)
{
    return Clamp(s.value >> 8, 0, 64);
}
} // namespace xm_replay
