// The XM replayer: what happens on each tick of each channel, and the mixing of output blocks.
#include "engine/audio/xm_replayer.h"

#include "engine/audio/xm_tables.h"

#include <algorithm>
#include <cstring>

namespace
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

int Clamp(int v, int lo, int hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

void Envelope_Restart(XM_Envelope_State& s)
{
    s = XM_Envelope_State();
    s.tick = -1;
}

// One tick of an envelope: advance, take the point reached, loop, and start the next segment.
void Envelope_Tick(XM_Envelope_State& s, const XM_Envelope& env, bool key_on)
{
    if (s.hold)
    {
        if (!(s.sustained && !key_on))
            return;
        // Released from the sustain point: the envelope moves on along the segment after it.
        s.hold = s.sustained = false;
        if (s.pos + 1 >= env.count)
        {
            s.hold = true;
            return;
        }
        int dt = env.tick[s.pos + 1] - env.tick[s.pos];
        s.step = dt > 0 ? ((env.value[s.pos + 1] - env.value[s.pos]) << 8) / dt : 0;
        s.tick = env.tick[s.pos];
        ++s.pos;
    }
    ++s.tick;
    if (s.pos >= env.count || s.tick < env.tick[s.pos])
    {
        s.value += s.step;
        return;
    }
    bool sustain = (env.type & 2) && key_on;
    if ((env.type & 4) && s.pos == env.loop_end && !(sustain && env.loop_end == env.sustain))
    {
        s.pos = env.loop_start;
        s.tick = env.tick[s.pos];
        if (env.loop_start == env.loop_end)
        {
            s.value = env.value[s.pos] << 8;
            s.step = 0;
            s.hold = true;
            return;
        }
    }
    s.value = env.value[s.pos] << 8;
    if (sustain && s.pos == env.sustain)
    {
        s.step = 0;
        s.hold = s.sustained = true;
        return;
    }
    if (s.pos + 1 >= env.count)
    {
        s.step = 0;
        s.hold = true;
        return;
    }
    int dt = env.tick[s.pos + 1] - env.tick[s.pos];
    s.step = dt > 0 ? ((env.value[s.pos + 1] - env.value[s.pos]) << 8) / dt : 0;
    ++s.pos;
    if (dt <= 0) // a point at or before the one it follows is reached at once
        s.tick = env.tick[s.pos] - 1;
}

// Places an envelope at a tick: the level on the segment that holds it.
void Envelope_Set(XM_Envelope_State& s, const XM_Envelope& env, int tick)
{
    s = XM_Envelope_State();
    if (env.count == 0)
        return;
    int p = 0;
    while (p + 1 < env.count && env.tick[p + 1] <= tick)
        ++p;
    s.tick = tick;
    if (p + 1 >= env.count || tick < env.tick[0])
    {
        s.pos = p;
        s.value = env.value[p] << 8;
        s.hold = p + 1 >= env.count;
        if (!s.hold)
            s.tick = env.tick[0] - 1;
        return;
    }
    int dt = env.tick[p + 1] - env.tick[p];
    s.step = dt > 0 ? ((env.value[p + 1] - env.value[p]) << 8) / dt : 0;
    s.value = (env.value[p] << 8) + s.step * (tick - env.tick[p]);
    s.pos = p + 1;
}

int Envelope_Level(const XM_Envelope_State& s)
{
    return Clamp(s.value >> 8, 0, 64);
}

// Vibrato and tremolo wave value, -64 to 64, at an 8-bit position.
int Wave(int waveform, uint8_t pos)
{
    switch (waveform & 3)
    {
    case 0:
        return g_xm_tables.sine[pos];
    case 1: // ramp
        return pos < 128 ? -(pos >> 1) : 128 - (pos >> 1);
    default: // square (and the random wave, played as square)
        return pos < 128 ? -64 : 64;
    }
}
} // namespace

void XM_Replayer::Configure(int rate, bool interpolation, bool ramping)
{
    m_rate = rate > 0 ? rate : 44000;
    m_interpolation = interpolation;
    m_ramping = ramping;
}

void XM_Replayer::Attach(const XM_Song* song)
{
    m_song = song;
    Reset_Channels();
}

void XM_Replayer::Reset_Channels()
{
    for (XM_Channel& ch : m_channels)
    {
        ch = XM_Channel();
        ch.instrument = &XM_Empty_Instrument();
    }
}

void XM_Replayer::Start(int master_volume)
{
    Reset_Channels();
    m_master = Clamp(master_volume, 0, 64);
    m_speed = m_song ? m_song->speed : 6;
    m_tempo = m_song ? m_song->tempo : 125;
    m_tick = 0;
    m_row = 0;
    m_position = 0;
    m_rows = m_song ? m_song->Pattern_Rows(0) : 64;
    m_global_volume = 64;
    m_break_row = 0;
    m_position_jump = m_loop_jump = false;
    m_jump_position = -1;
    m_pattern_delay = m_pattern_delay_left = 0;
    m_tick_frames = m_rate * 5 / 2 / m_tempo;
    m_tick_left = 0;
    m_frames = 0;
    m_wraps = 0;
    m_first_wrap_frame = -1;
}

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

void XM_Replayer::Set_Volume(XM_Channel& ch, int volume, bool immediate)
{
    ch.volume = Clamp(volume, 0, 64);
    ch.out_volume = ch.volume;
    ch.immediate = ch.immediate || immediate;
}

void XM_Replayer::Retrigger_Envelopes(XM_Channel& ch)
{
    Envelope_Restart(ch.volume_envelope);
    Envelope_Restart(ch.panning_envelope);
    ch.auto_vibrato_pos = 0;
    const XM_Instrument& ins = *ch.instrument;
    ch.auto_vibrato_depth = ins.vibrato_sweep ? 0 : ins.vibrato_depth << 8;
}

// Instrument number present: the sample's volume and panning, envelopes and fade-out start again.
void XM_Replayer::Reset_Instrument_State(XM_Channel& ch)
{
    if (ch.sample)
    {
        Set_Volume(ch, ch.sample->volume, false);
        ch.panning = ch.sample->panning;
    }
    Retrigger_Envelopes(ch);
    ch.key_on = true;
    ch.fadeout = 32768;
    ch.tremor_started = false;
    ch.tremor_off = false;
    ch.out_volume = ch.volume;
}

void XM_Replayer::Key_Off(XM_Channel& ch)
{
    ch.key_on = false;
    if (!ch.instrument->volume_envelope.On())
        Set_Volume(ch, 0, true);
}

void XM_Replayer::Retrigger(XM_Channel& ch)
{
    ch.trigger = true;
    ch.trigger_offset = 0;
    Retrigger_Envelopes(ch);
}

// The note and instrument of a cell (on its first tick, or on the tick a note delay names).
void XM_Replayer::Take_Note(XM_Channel& ch, int note, int instrument, bool delayed)
{
    const XM_Instrument* row_instrument = nullptr;
    if (instrument)
    {
        const XM_Instrument* loaded =
            instrument <= m_song->instrument_count ? m_song->instruments[instrument] : nullptr;
        row_instrument = loaded ? loaded : &XM_Empty_Instrument();
        ch.last_instrument = instrument;
    }
    if (note > NOTE_OFF)
        note = 0;

    // The sample a note would play, and whether its real note is in range; out-of-range notes are dropped.
    const XM_Instrument* note_instrument = row_instrument;
    if (!note_instrument)
    {
        const XM_Instrument* loaded = ch.last_instrument && ch.last_instrument <= m_song->instrument_count
                                          ? m_song->instruments[ch.last_instrument]
                                          : nullptr;
        note_instrument = ch.last_instrument ? (loaded ? loaded : &XM_Empty_Instrument()) : ch.instrument;
    }
    const XM_Sample* note_sample = nullptr;
    int real_note = 0;
    if (note >= 1 && note <= 96)
    {
        uint8_t index = note_instrument->sample_map[note - 1];
        if (index < note_instrument->sample_count)
            note_sample = &note_instrument->samples[index];
        int relative = note_sample ? note_sample->relative_note : ch.relative_note;
        real_note = note - 1 + relative;
        if (real_note < 0 || real_note > MAX_REAL_NOTE)
            note = 0;
    }

    if (note == NOTE_OFF)
    {
        if (delayed)
        {
            // A delayed note-off restarts the envelopes and nothing else.
            Retrigger_Envelopes(ch);
            if (!ch.instrument->volume_envelope.On())
                Set_Volume(ch, 0, true);
        }
        else
            Key_Off(ch);
        if (instrument && ch.sample)
        {
            Set_Volume(ch, ch.sample->volume, false);
            ch.panning = ch.sample->panning;
        }
        return;
    }

    if (note)
    {
        ch.last_note = note;
        if (ch.porta_row && !delayed)
        {
            ch.target_period = Note_Period(note - 1 + ch.relative_note, ch.finetune);
            ch.porta_direction = ch.target_period > ch.period ? 1 : (ch.target_period < ch.period ? -1 : 0);
        }
        else
        {
            ch.instrument = note_instrument;
            ch.sample = note_sample;
            ch.relative_note = note_sample ? note_sample->relative_note : 0;
            ch.finetune = note_sample ? note_sample->finetune : 0;
            ch.period = Note_Period(real_note, ch.finetune);
            ch.out_period = ch.period;
            ch.target_period = ch.period;
            ch.trigger = true;
            ch.trigger_offset = 0;
            if (ch.effect == FX_OFFSET)
            {
                if (ch.param)
                    ch.sample_offset = ch.param;
                ch.trigger_offset = ch.sample_offset * 256;
            }
            Retrigger_Envelopes(ch);
            ch.key_on = true;
            ch.fadeout = 32768;
            if (!(ch.vibrato_wave & 4))
                ch.vibrato_pos = 0;
            if (!(ch.tremolo_wave & 4))
                ch.tremolo_pos = 0;
            ch.retrig_counter = 0;
        }
    }
    if (instrument)
        Reset_Instrument_State(ch);
}

void XM_Replayer::Read_Row(XM_Channel& ch, const uint8_t* cell)
{
    static const uint8_t empty[5] = {};
    if (!cell)
        cell = empty;
    int note = cell[0], instrument = cell[1];
    ch.volume_column = cell[2];
    ch.effect = cell[3] <= 35 ? cell[3] : 0;
    ch.param = cell[3] <= 35 ? cell[4] : 0;
    ch.note = static_cast<uint8_t>(note);
    ch.instrument_number = static_cast<uint8_t>(instrument);
    ch.porta_row =
        ch.effect == FX_TONE_PORTA || ch.effect == FX_TONE_PORTA_VOLUME || (ch.volume_column >> 4) == 0xF;
    ch.delay_tick = 0;

    if (ch.effect == FX_KEY_OFF && ch.param == 0)
    {
        // Key off at once: the note and instrument beside it are ignored.
        Key_Off(ch);
        ch.note = ch.instrument_number = 0;
        Volume_Column_First(ch, false);
        return;
    }
    if (ch.effect == FX_EXTENDED && (ch.param >> 4) == 0xD && (ch.param & 15))
    {
        // Note delay: the cell waits for its tick (a delay without a note replays the last note).
        ch.delay_tick = ch.param & 15;
        ch.delay_note = static_cast<uint8_t>(note ? note : ch.last_note);
        ch.delay_instrument = static_cast<uint8_t>(instrument);
        ch.delay_volume = ch.volume_column;
        return;
    }
    if (ch.effect == FX_TONE_PORTA && ch.param)
        ch.tone_speed = ch.param;
    Take_Note(ch, note, instrument, false);
    Volume_Column_First(ch, false);
    Effect_First(ch);
}

void XM_Replayer::Volume_Column_First(XM_Channel& ch, bool delayed)
{
    int v = ch.volume_column;
    int low = v & 15;
    bool slides = !(delayed && ch.delay_instrument);
    switch (v >> 4)
    {
    case 0x1:
    case 0x2:
    case 0x3:
    case 0x4:
        Set_Volume(ch, v - 0x10, true);
        break;
    case 0x5:
        if (v == 0x50)
            Set_Volume(ch, 64, true);
        break;
    case 0x8:
        if (slides)
            Set_Volume(ch, ch.volume - low, false);
        break;
    case 0x9:
        if (slides)
            Set_Volume(ch, ch.volume + low, false);
        break;
    case 0xA:
        if (low)
            ch.vibrato_speed = static_cast<uint8_t>(low * 4);
        break;
    case 0xB:
        if (low)
            ch.vibrato_depth = static_cast<uint8_t>(low);
        break;
    case 0xC:
        ch.panning = low << 4;
        break;
    case 0xF:
        if (low)
            ch.tone_speed = static_cast<uint8_t>(low << 4);
        break;
    default:
        break;
    }
}

void XM_Replayer::Volume_Column_Tick(XM_Channel& ch)
{
    int v = ch.volume_column;
    int low = v & 15;
    switch (v >> 4)
    {
    case 0x6:
        Set_Volume(ch, ch.volume - low, false);
        break;
    case 0x7:
        Set_Volume(ch, ch.volume + low, false);
        break;
    case 0xB:
        Vibrato(ch, ch.vibrato_depth);
        break;
    case 0xD: // pan slide left; without a value it moves the panning to the far left
        ch.panning = low ? Clamp(ch.panning - low, 0, 255) : 0;
        break;
    case 0xE:
        ch.panning = Clamp(ch.panning + low, 0, 255);
        break;
    case 0xF:
        Tone_Porta(ch);
        break;
    default:
        break;
    }
}

void XM_Replayer::Effect_First(XM_Channel& ch)
{
    uint8_t p = ch.param;
    switch (ch.effect)
    {
    case FX_PORTA_UP:
        if (p)
            ch.porta_up = p;
        break;
    case FX_PORTA_DOWN:
        if (p)
            ch.porta_down = p;
        break;
    case FX_VIBRATO:
        if (p >> 4)
            ch.vibrato_speed = static_cast<uint8_t>((p >> 4) * 4);
        if (p & 15)
            ch.vibrato_depth = p & 15;
        break;
    case FX_TONE_PORTA_VOLUME:
    case FX_VIBRATO_VOLUME:
    case FX_VOLUME_SLIDE:
        if (p)
            ch.volume_slide = p;
        break;
    case FX_TREMOLO:
        if (p >> 4)
            ch.tremolo_speed = static_cast<uint8_t>((p >> 4) * 4);
        if (p & 15)
            ch.tremolo_depth = p & 15;
        break;
    case FX_PANNING:
        ch.panning = p;
        break;
    case FX_JUMP:
        m_jump_position = p;
        m_break_row = 0;
        m_position_jump = true;
        break;
    case FX_VOLUME:
        Set_Volume(ch, p > 64 ? 64 : p, true);
        break;
    case FX_BREAK:
    {
        int row = (p >> 4) * 10 + (p & 15);
        m_break_row = row > 63 ? 0 : row;
        m_position_jump = true;
        break;
    }
    case FX_EXTENDED:
        Extended_First(ch);
        break;
    case FX_SPEED:
        if (p > 0 && p < 32)
            m_speed = p;
        else if (p >= 32)
            m_tempo = p;
        break;
    case FX_GLOBAL_VOLUME:
        m_global_volume = p > 64 ? 64 : p;
        break;
    case FX_GLOBAL_SLIDE:
        if (p)
            ch.global_slide = p;
        break;
    case FX_ENVELOPE_POSITION:
        Envelope_Set(ch.volume_envelope, ch.instrument->volume_envelope, p);
        if (ch.instrument->volume_envelope.type & 2)
            Envelope_Set(ch.panning_envelope, ch.instrument->panning_envelope, p);
        break;
    case FX_PANNING_SLIDE:
        if (p)
            ch.panning_slide = p;
        break;
    case FX_MULTI_RETRIG:
        if (p >> 4)
            ch.retrig_volume = p >> 4;
        if (p & 15)
            ch.retrig_interval = p & 15;
        if (!ch.note && !ch.instrument_number && !ch.volume_column)
            Multi_Retrig(ch);
        break;
    case FX_TREMOR:
        if (p)
            ch.tremor = p;
        break;
    case FX_EXTRA_FINE:
        if ((p >> 4) == 1)
        {
            if (p & 15)
                ch.extra_fine_up = p & 15;
            ch.period = Clamp(ch.period - ch.extra_fine_up, 1, MAX_PERIOD);
        }
        else if ((p >> 4) == 2)
        {
            if (p & 15)
                ch.extra_fine_down = p & 15;
            ch.period = Clamp(ch.period + ch.extra_fine_down, 1, MAX_PERIOD);
        }
        ch.out_period = ch.period;
        break;
    default:
        break;
    }
}

void XM_Replayer::Extended_First(XM_Channel& ch)
{
    int y = ch.param & 15;
    switch (ch.param >> 4)
    {
    case 0x1:
        if (y)
            ch.fine_porta_up = static_cast<uint8_t>(y);
        ch.period = Clamp(ch.period - ch.fine_porta_up * 4, 1, MAX_PERIOD);
        ch.out_period = ch.period;
        break;
    case 0x2:
        if (y)
            ch.fine_porta_down = static_cast<uint8_t>(y);
        ch.period = Clamp(ch.period + ch.fine_porta_down * 4, 1, MAX_PERIOD);
        ch.out_period = ch.period;
        break;
    case 0x3:
        ch.glissando = y != 0;
        break;
    case 0x4:
        ch.vibrato_wave = static_cast<uint8_t>(y);
        break;
    case 0x6:
        if (y == 0)
            ch.loop_row = m_row;
        else
        {
            if (ch.loop_count == 0)
                ch.loop_count = y;
            else
                --ch.loop_count;
            if (ch.loop_count)
            {
                m_break_row = ch.loop_row;
                m_loop_jump = true;
            }
        }
        break;
    case 0x7:
        ch.tremolo_wave = static_cast<uint8_t>(y);
        break;
    case 0x8:
        ch.panning = y << 4;
        break;
    case 0x9:
        if (y == 0 && !ch.note)
            Retrigger(ch);
        break;
    case 0xA:
        if (y)
            ch.fine_volume_up = static_cast<uint8_t>(y);
        Set_Volume(ch, ch.volume + ch.fine_volume_up, false);
        break;
    case 0xB:
        if (y)
            ch.fine_volume_down = static_cast<uint8_t>(y);
        Set_Volume(ch, ch.volume - ch.fine_volume_down, false);
        break;
    case 0xC:
        if (y == 0)
            Set_Volume(ch, 0, true);
        break;
    case 0xE:
        if (m_pattern_delay_left == 0)
            m_pattern_delay = y + 1;
        break;
    default: // E0y, E5y and EFy do nothing
        break;
    }
}

void XM_Replayer::Tone_Porta(XM_Channel& ch)
{
    int speed = ch.tone_speed * 4;
    if (ch.porta_direction > 0)
    {
        ch.period += speed;
        if (ch.period >= ch.target_period)
        {
            ch.period = ch.target_period;
            ch.porta_direction = -1;
        }
    }
    else if (ch.porta_direction < 0)
    {
        ch.period -= speed;
        if (ch.period <= ch.target_period)
        {
            ch.period = ch.target_period;
            ch.porta_direction = 1;
        }
    }
    ch.out_period = ch.glissando ? Note_Period(Nearest_Note(ch.period, ch.finetune), ch.finetune) : ch.period;
}

void XM_Replayer::Vibrato(XM_Channel& ch, int depth)
{
    // The sine table is inverted: with its sign turned the period rises (the pitch falls) first.
    int w = Wave(ch.vibrato_wave, ch.vibrato_pos);
    ch.out_period = Clamp(ch.period + ((-w * depth) >> 3), 1, MAX_PERIOD);
    ch.vibrato_pos = static_cast<uint8_t>(ch.vibrato_pos + ch.vibrato_speed);
}

void XM_Replayer::Tremolo(XM_Channel& ch)
{
    int w = Wave(ch.tremolo_wave, ch.tremolo_pos);
    ch.out_volume = Clamp(ch.volume - ((w * ch.tremolo_depth) >> 4), 0, 64);
    ch.tremolo_pos = static_cast<uint8_t>(ch.tremolo_pos + ch.tremolo_speed);
}

void XM_Replayer::Volume_Slide(XM_Channel& ch, uint8_t param)
{
    if (param >> 4)
        Set_Volume(ch, ch.volume + (param >> 4), false);
    else
        Set_Volume(ch, ch.volume - (param & 15), false);
}

void XM_Replayer::Multi_Retrig(XM_Channel& ch)
{
    if (++ch.retrig_counter < ch.retrig_interval || ch.retrig_interval == 0)
        return;
    ch.retrig_counter = 0;
    int v = ch.volume;
    switch (ch.retrig_volume)
    {
    case 1:
        v -= 1;
        break;
    case 2:
        v -= 2;
        break;
    case 3:
        v -= 4;
        break;
    case 4:
        v -= 8;
        break;
    case 5:
        v -= 16;
        break;
    case 6:
        v = v * 2 / 3;
        break;
    case 7:
        v >>= 1;
        break;
    case 9:
        v += 1;
        break;
    case 10:
        v += 2;
        break;
    case 11:
        v += 4;
        break;
    case 12:
        v += 8;
        break;
    case 13:
        v += 16;
        break;
    case 14:
        v = v * 3 / 2;
        break;
    case 15:
        v *= 2;
        break;
    default:
        break;
    }
    Set_Volume(ch, v, false);
    Retrigger(ch);
}

void XM_Replayer::Arpeggio(XM_Channel& ch, int tick)
{
    // The arpeggio note counts down from the row's tick count; past 16 ticks the third note holds.
    int index = m_speed - tick;
    int which = index < 16 ? index % 3 : (index == 16 ? 0 : 2);
    int add = which == 0 ? 0 : (which == 1 ? ch.param >> 4 : ch.param & 15);
    if (add == 0)
    {
        ch.out_period = ch.period;
        return;
    }
    int note = Nearest_Note(ch.period, ch.finetune) + add;
    int index_limit = 95 * 16 + 16;
    int period_index = std::min(note * 16 + (ch.finetune >> 3) + 16, index_limit);
    period_index = Clamp(period_index, 0, XM_Tables::PERIODS - 1);
    ch.out_period =
        m_song->linear ? g_xm_tables.linear_period[period_index] : g_xm_tables.amiga_period[period_index];
}

void XM_Replayer::Effect_Tick(XM_Channel& ch, int tick)
{
    if (ch.delay_tick)
    {
        if (tick == ch.delay_tick)
        {
            ch.porta_row = false;
            Take_Note(ch, ch.delay_note, ch.delay_instrument, true);
            ch.volume_column = ch.delay_volume;
            Volume_Column_First(ch, true);
        }
        if (tick > 0)
            Volume_Column_Tick(ch);
        return;
    }
    Volume_Column_Tick(ch);
    uint8_t p = ch.param;
    switch (ch.effect)
    {
    case FX_ARPEGGIO:
        if (p)
            Arpeggio(ch, tick);
        break;
    case FX_PORTA_UP:
        ch.period = Clamp(ch.period - ch.porta_up * 4, 1, MAX_PERIOD);
        ch.out_period = ch.period;
        break;
    case FX_PORTA_DOWN:
        ch.period = Clamp(ch.period + ch.porta_down * 4, 1, MAX_PERIOD);
        ch.out_period = ch.period;
        break;
    case FX_TONE_PORTA:
        Tone_Porta(ch);
        break;
    case FX_VIBRATO:
        Vibrato(ch, ch.vibrato_depth);
        break;
    case FX_TONE_PORTA_VOLUME:
        Tone_Porta(ch);
        Volume_Slide(ch, ch.volume_slide);
        break;
    case FX_VIBRATO_VOLUME:
        Vibrato(ch, ch.vibrato_depth);
        Volume_Slide(ch, ch.volume_slide);
        break;
    case FX_TREMOLO:
        Tremolo(ch);
        break;
    case FX_VOLUME_SLIDE:
        Volume_Slide(ch, ch.volume_slide);
        break;
    case FX_EXTENDED:
    {
        int y = p & 15;
        switch (p >> 4)
        {
        case 0x9:
            if (y && tick % y == 0)
                Retrigger(ch);
            break;
        case 0xC:
            if (tick == y)
                Set_Volume(ch, 0, true);
            break;
        default:
            break;
        }
        break;
    }
    case FX_GLOBAL_SLIDE:
        if (ch.global_slide >> 4)
            m_global_volume = Clamp(m_global_volume + (ch.global_slide >> 4), 0, 64);
        else
            m_global_volume = Clamp(m_global_volume - (ch.global_slide & 15), 0, 64);
        break;
    case FX_KEY_OFF:
        if (tick == p)
            Key_Off(ch);
        break;
    case FX_PANNING_SLIDE:
        if (ch.panning_slide >> 4)
            ch.panning = Clamp(ch.panning + (ch.panning_slide >> 4), 0, 255);
        else
            ch.panning = Clamp(ch.panning - (ch.panning_slide & 15), 0, 255);
        break;
    case FX_MULTI_RETRIG:
        Multi_Retrig(ch);
        break;
    case FX_TREMOR:
        // Counts down the current phase; at zero it switches to the other one (on x + 1, off y + 1 ticks).
        // A fresh tremor starts in the on phase, counting the row's first tick.
        if (!ch.tremor_started)
        {
            ch.tremor_started = true;
            ch.tremor_off = false;
            ch.tremor_counter = ch.tremor >> 4;
        }
        if (ch.tremor_counter == 0)
        {
            ch.tremor_off = !ch.tremor_off;
            ch.tremor_counter = ch.tremor_off ? (ch.tremor & 15) + 1 : (ch.tremor >> 4) + 1;
        }
        --ch.tremor_counter;
        if (ch.tremor_off)
            ch.out_volume = 0;
        break;
    default:
        break;
    }
}

// Envelopes, fade-out and auto-vibrato, then the voice targets from the final volume, pan and period.
void XM_Replayer::Update_Channel(XM_Channel& ch)
{
    const XM_Instrument& ins = *ch.instrument;
    if (!ch.key_on)
        ch.fadeout = std::max(0, ch.fadeout - ins.fadeout);

    int final_volume;
    int volume = Clamp(ch.out_volume, 0, 64);
    if (ins.volume_envelope.On())
    {
        Envelope_Tick(ch.volume_envelope, ins.volume_envelope, ch.key_on);
        int64_t v = (static_cast<int64_t>(Envelope_Level(ch.volume_envelope)) * ch.fadeout * volume) >> 18;
        final_volume = static_cast<int>(((v * m_global_volume) >> 6) * m_master >> 7);
    }
    else
    {
        int64_t v = (static_cast<int64_t>(ch.fadeout) * volume) >> 12;
        final_volume = static_cast<int>(((v * m_global_volume) >> 6) * m_master >> 7);
    }
    final_volume = Clamp(final_volume, 0, 256);

    int final_pan = ch.panning;
    if (ins.panning_envelope.On())
    {
        Envelope_Tick(ch.panning_envelope, ins.panning_envelope, ch.key_on);
        int value = Clamp(ch.panning_envelope.value, 0, 64 << 8);
        int pan = ch.panning;
        final_pan = pan + ((std::min(pan, 256 - pan) * (value - 8192)) >> 13);
        final_pan = Clamp(final_pan, 0, 255);
    }

    int period = ch.out_period;
    if (ins.vibrato_depth && period > 0)
    {
        int target = ins.vibrato_depth << 8;
        if (ch.key_on && ch.auto_vibrato_depth < target && ins.vibrato_sweep)
            ch.auto_vibrato_depth = std::min(target, ch.auto_vibrato_depth + target / ins.vibrato_sweep);
        uint8_t pos = static_cast<uint8_t>(ch.auto_vibrato_pos);
        int w;
        switch (ins.vibrato_type & 3)
        {
        case 0:
            w = g_xm_tables.sine[pos];
            break;
        case 1:
            w = pos < 128 ? -64 : 64;
            break;
        case 2:
            w = static_cast<int8_t>(pos) >> 1;
            break;
        default:
        {
            int t = -(static_cast<int8_t>(pos) >> 1);
            w = static_cast<int8_t>(static_cast<uint8_t>(t << 1)) >> 1;
            break;
        }
        }
        period += ((w * 4) * ch.auto_vibrato_depth) >> 16;
        ch.auto_vibrato_pos = (ch.auto_vibrato_pos + ins.vibrato_rate) & 255;
        if (period >= 32000)
            period = 0;
    }

    float step =
        static_cast<float>(XM_Period_To_Frequency(period, m_song->linear)) / static_cast<float>(m_rate);
    float left = final_volume / 256.0f * g_xm_tables.pan_law[256 - final_pan] / 65536.0f;
    float right = final_volume / 256.0f * g_xm_tables.pan_law[final_pan] / 65536.0f;
    int click = m_rate / 200;

    if (ch.trigger)
    {
        ch.trigger = false;
        XM_Voice& old = ch.voices[1];
        if (m_ramping && ch.voices[0].active)
        {
            old = ch.voices[0];
            old.Ramp_Gain(old.gain, 0.0f, click, true);
        }
        else
            old.Stop();
        XM_Voice& v = ch.voices[0];
        v.Stop();
        if (ch.sample && v.Start(*ch.sample, ch.trigger_offset))
        {
            v.Ramp_Gain(m_ramping ? 0.0f : 1.0f, 1.0f, m_ramping ? click : 0, false);
            v.Set_Volume(left, right, 0);
        }
        ch.left_target = left;
        ch.right_target = right;
    }
    else if (left != ch.left_target || right != ch.right_target)
    {
        ch.voices[0].Set_Volume(left, right, !m_ramping ? 0 : (ch.immediate ? click : m_tick_frames));
        ch.left_target = left;
        ch.right_target = right;
    }
    ch.immediate = false;
    ch.voices[0].step = step;
}

void XM_Replayer::Next_Row()
{
    ++m_row;
    if (m_pattern_delay)
    {
        m_pattern_delay_left = m_pattern_delay;
        m_pattern_delay = 0;
    }
    if (m_pattern_delay_left)
    {
        if (--m_pattern_delay_left)
            --m_row;
    }
    if (m_loop_jump)
    {
        m_loop_jump = false;
        m_row = m_break_row;
    }
    if (m_row >= m_rows || m_position_jump)
    {
        m_row = m_break_row;
        m_break_row = 0;
        m_position_jump = false;
        int next = m_jump_position >= 0 ? m_jump_position : m_position + 1;
        m_jump_position = -1;
        if (next >= m_song->song_length)
        {
            next = m_song->restart;
            if (m_wraps++ == 0)
                m_wrapped_in_tick = true;
        }
        m_position = next;
        m_rows = m_song->Pattern_Rows(m_position);
    }
}

void XM_Replayer::Run_Tick()
{
    bool first = m_tick == 0;
    bool read = first && m_pattern_delay_left == 0;
    int pattern = m_song->orders[m_position];
    for (int c = 0; c < m_song->channels; ++c)
    {
        XM_Channel& ch = m_channels[c];
        ch.out_period = ch.period;
        ch.out_volume = ch.volume;
        if (read)
            Read_Row(ch, m_song->Cell(pattern, m_row, c));
        else
            Effect_Tick(ch, m_tick);
        if (ch.tremor_off && ch.effect == FX_TREMOR)
            ch.out_volume = 0;
        Update_Channel(ch);
    }
    if (++m_tick >= m_speed)
    {
        m_tick = 0;
        Next_Row();
    }
    m_tick_frames = m_rate * 5 / 2 / m_tempo;
}

void XM_Replayer::Mix(int16_t* out, int frames)
{
    frames = Clamp(frames, 0, MAX_BLOCK);
    if (!m_song)
    {
        std::memset(out, 0, sizeof(int16_t) * 2 * frames);
        return;
    }
    std::memset(m_left, 0, sizeof(float) * frames);
    std::memset(m_right, 0, sizeof(float) * frames);
    int done = 0;
    while (done < frames)
    {
        if (m_tick_left <= 0)
        {
            m_wrapped_in_tick = false;
            Run_Tick();
            m_tick_left = m_tick_frames;
            if (m_wrapped_in_tick)
                m_first_wrap_frame = m_frames + done + m_tick_left;
        }
        int n = std::min(m_tick_left, frames - done);
        for (int c = 0; c < m_song->channels; ++c)
            for (XM_Voice& v : m_channels[c].voices)
                if (v.active)
                    XM_Mix_Voice(v, m_left + done, m_right + done, n, m_interpolation);
        done += n;
        m_tick_left -= n;
    }
    m_frames += frames;
    for (int i = 0; i < frames; ++i)
    {
        float l = m_left[i] * 10922.667f, r = m_right[i] * 10922.667f;
        out[2 * i] =
            static_cast<int16_t>(l > 32767.0f ? 32767 : (l < -32768.0f ? -32768 : static_cast<int>(l)));
        out[2 * i + 1] =
            static_cast<int16_t>(r > 32767.0f ? 32767 : (r < -32768.0f ? -32768 : static_cast<int>(r)));
    }
}
