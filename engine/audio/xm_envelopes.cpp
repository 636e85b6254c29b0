// The XM replayer's per-tick channel update: fade-out, volume and panning envelopes, auto-vibrato, and
// the voice targets made from the final volume, pan and period.
#include "engine/audio/xm_replayer.h"

#include "engine/audio/xm_replayer_internal.h"
#include "engine/audio/xm_tables.h"

#include <algorithm>

namespace xm_replay
{
void Envelope_Restart(XM_Envelope_State& s)
{
    s = XM_Envelope_State();
    s.tick = -1;
}

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
} // namespace xm_replay

using namespace xm_replay;

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
