// The XM replayer's effects: the volume column and the effect column, on the first tick of a row and on
// the ticks after it.
#include "engine/audio/xm_replayer.h"

#include "engine/audio/xm_replayer_internal.h"
#include "engine/audio/xm_tables.h"

#include <algorithm>

using namespace xm_replay;

namespace
{
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
