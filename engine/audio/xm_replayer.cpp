// The XM replayer's row and flow control: start, the notes and instruments of each row, the row and
// song-position advance with breaks, jumps, loops and delays, and the mixing of output blocks tick by tick.
#include "engine/audio/xm_replayer.h"

#include "engine/audio/xm_replayer_internal.h"

#include <algorithm>
#include <cstring>

using namespace xm_replay;

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
    m_ticks = 0;
    m_tick_frame = 0;
    m_wraps = 0;
    m_first_wrap_frame = -1;
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
        // A break (or a loop row carried over) past the end of the new pattern starts it from its top.
        if (m_row >= m_rows)
            m_row = 0;
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
    if (first && m_row_listener)
    {
        XM_Row_Start start;
        start.position = m_position;
        start.pattern = pattern;
        start.row = m_row;
        start.tick = m_ticks;
        start.frame = m_tick_frame;
        start.speed = m_speed;
        start.tempo = m_tempo;
        start.repeat = !read;
        m_row_listener->On_Row(*this, start);
    }
    ++m_ticks;
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
            m_tick_frame = m_frames + done;
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
