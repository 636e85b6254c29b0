// Mixing one voice into float buffers: position stepping over forward and ping-pong loops, linear
// interpolation between neighbouring sample frames, and per-frame gain and volume ramps.
#include "engine/audio/xm_mixer.h"

#include "engine/audio/xm_song.h"

bool XM_Voice::Start(const XM_Sample& sample, int32_t offset)
{
    active = false;
    if (!sample.data || sample.length <= 0 || offset >= sample.length || offset < 0)
        return false;
    data = sample.data;
    length = sample.length;
    loop_mode = sample.Loop_Mode();
    loop_start = sample.loop_start;
    loop_end = loop_mode ? sample.loop_start + sample.loop_length : sample.length;
    position = offset;
    fraction = 0.0f;
    backwards = false;
    fetched = -1;
    ending = false;
    gain = gain_target = 1.0f;
    gain_ramp = 0;
    active = true;
    return true;
}

void XM_Voice::Set_Volume(float new_left, float new_right, int frames)
{
    left_target = new_left;
    right_target = new_right;
    if (frames <= 0)
    {
        left = new_left;
        right = new_right;
        volume_ramp = 0;
        return;
    }
    left_step = (new_left - left) / frames;
    right_step = (new_right - right) / frames;
    volume_ramp = frames;
}

void XM_Voice::Ramp_Gain(float from, float to, int frames, bool end)
{
    gain = from;
    gain_target = to;
    ending = end;
    if (frames <= 0)
    {
        gain = to;
        gain_ramp = 0;
        if (end)
            active = false;
        return;
    }
    gain_step = (to - from) / frames;
    gain_ramp = frames;
}

namespace
{
// The sample frame after pos in the direction of play, or -1 when the sample ends there.
inline int32_t Following(const XM_Voice& v, int32_t pos)
{
    if (v.backwards)
        return pos - 1 >= v.loop_start ? pos - 1 : pos;
    if (pos + 1 < v.loop_end)
        return pos + 1;
    if (v.loop_mode == 1)
        return v.loop_start;
    if (v.loop_mode == 2)
        return pos;
    return -1;
}

// Moves the position by n frames in the direction of play, folding it back into the loop. False when a
// voice without a loop runs off its end.
inline bool Advance(XM_Voice& v, int32_t n)
{
    if (v.loop_mode == 0)
    {
        v.position += n;
        return v.position < v.length;
    }
    int32_t span = v.loop_end - v.loop_start;
    if (v.loop_mode == 1)
    {
        v.position += n;
        if (v.position >= v.loop_end)
            v.position = v.loop_start + (v.position - v.loop_end) % span;
        return true;
    }
    // Ping-pong: unfold the loop into a cycle of twice its length; each end frame plays twice.
    int64_t p = v.position + static_cast<int64_t>(v.backwards ? -n : n);
    if (!v.backwards && p < v.loop_end)
    {
        v.position = static_cast<int32_t>(p);
        return true;
    }
    if (v.backwards && p >= v.loop_start)
    {
        v.position = static_cast<int32_t>(p);
        return true;
    }
    // Cycle coordinate c in [0, 2 span): forward from loop start for c < span, backward after.
    int64_t c = v.backwards ? 2 * static_cast<int64_t>(span) - 1 - (v.position - v.loop_start)
                            : v.position - v.loop_start;
    c += n;
    c %= 2 * static_cast<int64_t>(span);
    if (c < span)
    {
        v.backwards = false;
        v.position = static_cast<int32_t>(v.loop_start + c);
    }
    else
    {
        v.backwards = true;
        v.position = static_cast<int32_t>(v.loop_start + (2 * span - 1 - c));
    }
    return true;
}
} // namespace

namespace
{
// One frame the careful way: fetches at loop ends, one ramp step, one position step.
inline void Mix_Frame(XM_Voice& v, float* left, float* right, bool interpolate)
{
    if (v.fetched != v.position)
    {
        v.current = v.data[v.position];
        int32_t f = Following(v, v.position);
        v.next = f >= 0 ? v.data[f] : v.current;
        v.fetched = v.position;
    }
    float value = interpolate ? v.current + (v.next - v.current) * v.fraction : v.current;
    if (v.gain_ramp > 0)
    {
        v.gain += v.gain_step;
        if (--v.gain_ramp == 0)
        {
            v.gain = v.gain_target;
            if (v.ending)
                v.active = false;
        }
    }
    value *= v.gain;
    *left += value * v.left;
    *right += value * v.right;
    if (v.volume_ramp > 0)
    {
        v.left += v.left_step;
        v.right += v.right_step;
        if (--v.volume_ramp == 0)
        {
            v.left = v.left_target;
            v.right = v.right_target;
        }
    }
    v.fraction += v.step;
    if (v.fraction >= 1.0f)
    {
        int32_t n = static_cast<int32_t>(v.fraction);
        v.fraction -= static_cast<float>(n);
        if (!Advance(v, n))
            v.active = false;
    }
}

// Frames that can be mixed from here without meeting a loop or sample end (both the frame played and the
// one after it stay inside), at most limit.
inline int Clear_Run(const XM_Voice& v, int limit)
{
    float room = v.backwards ? static_cast<float>(v.position - v.loop_start - 1)
                             : static_cast<float>(v.loop_end - 2 - v.position);
    room -= v.fraction;
    if (room < 0.0f)
        return 0;
    if (v.step <= 0.0f)
        return limit;
    float frames = room / v.step; // positions stay inside for this many further steps
    if (frames >= static_cast<float>(limit))
        return limit;
    int n = static_cast<int>(frames); // a frame is mixed before each step: n + 1 frames, less one to be safe
    return n < limit ? n : limit;
}

// The common case in one tight loop: no loop end in reach, ramps applied as plain adds. Inside the run the
// position is kept in 32.32 fixed point, so that each frame's step is a single integer add.
template <int DIR, bool INTERPOLATE> inline void Mix_Run(XM_Voice& v, float* left, float* right, int n)
{
    const float* d = v.data + v.position;
    uint64_t acc = static_cast<uint64_t>(static_cast<double>(v.fraction) * 4294967296.0);
    const uint64_t step = static_cast<uint64_t>(static_cast<double>(v.step) * 4294967296.0);
    float gain = v.gain;
    const float gain_step = v.gain_ramp > 0 ? v.gain_step : 0.0f;
    float vl = v.left, vr = v.right;
    const float sl = v.volume_ramp > 0 ? v.left_step : 0.0f, sr = v.volume_ramp > 0 ? v.right_step : 0.0f;
    for (int i = 0; i < n; ++i)
    {
        const float* p = d + DIR * static_cast<int64_t>(acc >> 32);
        float value = p[0];
        if (INTERPOLATE)
            value +=
                (p[DIR] - value) * (static_cast<float>(static_cast<uint32_t>(acc)) * (1.0f / 4294967296.0f));
        gain += gain_step;
        value *= gain;
        left[i] += value * vl;
        right[i] += value * vr;
        vl += sl;
        vr += sr;
        acc += step;
    }
    v.position += DIR * static_cast<int32_t>(acc >> 32);
    v.fraction = static_cast<float>(static_cast<uint32_t>(acc)) * (1.0f / 4294967296.0f);
    v.fetched = -1;
    v.left = vl;
    v.right = vr;
    if (v.volume_ramp > 0 && (v.volume_ramp -= n) == 0)
    {
        v.left = v.left_target;
        v.right = v.right_target;
    }
    v.gain = gain;
    if (v.gain_ramp > 0 && (v.gain_ramp -= n) == 0)
    {
        v.gain = v.gain_target;
        if (v.ending)
            v.active = false;
    }
}
} // namespace

void XM_Mix_Voice(XM_Voice& v, float* left, float* right, int frames, bool interpolate)
{
    int i = 0;
    while (i < frames && v.active)
    {
        int limit = frames - i;
        if (v.gain_ramp > 0 && v.gain_ramp < limit)
            limit = v.gain_ramp;
        if (v.volume_ramp > 0 && v.volume_ramp < limit)
            limit = v.volume_ramp;
        int n = Clear_Run(v, limit);
        if (n > 0)
        {
            if (v.backwards)
                interpolate ? Mix_Run<-1, true>(v, left + i, right + i, n)
                            : Mix_Run<-1, false>(v, left + i, right + i, n);
            else
                interpolate ? Mix_Run<1, true>(v, left + i, right + i, n)
                            : Mix_Run<1, false>(v, left + i, right + i, n);
            i += n;
        }
        else
        {
            Mix_Frame(v, left + i, right + i, interpolate);
            ++i;
        }
    }
}
