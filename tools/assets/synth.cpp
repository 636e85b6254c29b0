// Oscillators with band-limited edges (polyBLEP), phase modulation, envelopes, tremolo, a biquad filter
// and soft clipping; the loop helpers that make sounds repeat without a seam.
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace assets
{
namespace
{
constexpr double PI = 3.14159265358979323846;

// The polyBLEP correction of a unit step at phase 0, for a phase advancing by dt per sample.
double Blep(double t, double dt)
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt)
    {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

struct Biquad
{
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    void Set(Filter type, double cutoff, double q, double rate)
    {
        double w = 2 * PI * std::clamp(cutoff, 10.0, rate * 0.45) / rate;
        double alpha = std::sin(w) / (2 * std::max(q, 0.1)), c = std::cos(w), a0 = 1 + alpha;
        switch (type)
        {
        case Filter::Low_Pass:
            b0 = (1 - c) / 2, b1 = 1 - c, b2 = (1 - c) / 2;
            break;
        case Filter::High_Pass:
            b0 = (1 + c) / 2, b1 = -(1 + c), b2 = (1 + c) / 2;
            break;
        default:
            b0 = alpha, b1 = 0, b2 = -alpha;
            break;
        }
        b0 /= a0, b1 /= a0, b2 /= a0;
        a1 = -2 * c / a0, a2 = (1 - alpha) / a0;
    }

    double Run(double x)
    {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1, x1 = x, y2 = y1, y1 = y;
        return y;
    }
};

// ln(1000): an exponential segment falls by 60 dB over its time.
constexpr double FALL = 6.907755278982137;

double Envelope(const Voice& v, double t)
{
    auto held = [&](double time)
    {
        if (time < v.attack)
            return v.attack > 0 ? time / v.attack : 1.0;
        time -= v.attack;
        if (time < v.decay)
            return v.exponential ? v.sustain + (1.0 - v.sustain) * std::exp(-FALL * time / v.decay)
                                 : 1.0 - (1.0 - v.sustain) * time / v.decay;
        return v.sustain;
    };
    if (t < v.length)
        return held(t);
    double level = held(v.length);
    if (v.release <= 0 || t - v.length >= v.release)
        return 0.0;
    double r = (t - v.length) / v.release;
    return v.exponential ? level * std::exp(-FALL * r) * (1.0 - r) : level * (1.0 - r);
}

// Glides exponentially from a to b over `time` seconds, then holds b.
double Glide(double a, double b, double t, double time)
{
    if (a <= 0 || b <= 0 || time <= 0)
        return b;
    return a * std::pow(b / a, std::min(t / time, 1.0));
}
} // namespace

bool Read_Voice_Setting(Word_Reader& words, const std::string& command, Voice& v)
{
    if (command == "wave")
    {
        std::string kind = words.Word("a wave");
        if (kind == "sine")
            v.wave = Wave::Sine;
        else if (kind == "square")
            v.wave = Wave::Square;
        else if (kind == "saw")
            v.wave = Wave::Saw;
        else if (kind == "triangle")
            v.wave = Wave::Triangle;
        else if (kind == "noise")
            v.wave = Wave::Noise;
        else if (words.Ok())
            words.Fail("'" + kind + "' is not a wave (sine, square, saw, triangle, noise)");
    }
    else if (command == "pitch")
    {
        v.pitch_start = words.Number("a pitch in Hz");
        v.pitch_end = words.Number_Or(v.pitch_start);
        v.glide = words.Number_Or(-1);
        if (words.Ok() && (v.pitch_start <= 0 || v.pitch_end <= 0))
            words.Fail("pitches must be above 0 Hz");
    }
    else if (command == "duty")
        v.duty = std::clamp(words.Number("a duty cycle"), 0.01, 0.99);
    else if (command == "vibrato")
    {
        v.vibrato_rate = words.Number("a rate in Hz");
        v.vibrato_depth = words.Number("a depth");
    }
    else if (command == "tremolo")
    {
        v.tremolo_rate = words.Number("a rate in Hz");
        v.tremolo_depth = words.Number("a depth");
        if (words.Ok() && (v.tremolo_depth < 0 || v.tremolo_depth > 1))
            words.Fail("the tremolo depth lies from 0 to 1");
    }
    else if (command == "curve")
    {
        std::string kind = words.Word("a curve");
        if (kind == "exponential" || kind == "linear")
            v.exponential = kind == "exponential";
        else if (words.Ok())
            words.Fail("'" + kind + "' is not a curve (linear, exponential)");
    }
    else if (command == "fm")
    {
        v.fm_ratio = words.Number("a frequency ratio");
        v.fm_index_start = words.Number("a modulation index");
        v.fm_index_end = words.Number_Or(v.fm_index_start);
        if (words.Ok() && (v.fm_ratio <= 0 || v.fm_index_start < 0 || v.fm_index_end < 0))
            words.Fail("the ratio lies above 0 and the indices are not negative");
    }
    else if (command == "drive")
    {
        v.drive = words.Number("a drive");
        if (words.Ok() && (v.drive < 0 || v.drive > 100))
            words.Fail("the drive lies from 0 to 100");
    }
    else if (command == "envelope")
    {
        v.attack = words.Number("an attack time");
        v.decay = words.Number("a decay time");
        v.sustain = words.Number("a sustain level");
        v.release = words.Number_Or(v.release);
        if (words.Ok() && (v.attack < 0 || v.decay < 0 || v.release < 0 || v.release > 60 || v.sustain < 0 ||
                           v.sustain > 1))
            words.Fail("envelope times must not be negative and the sustain level lies from 0 to 1");
    }
    else if (command == "start")
    {
        v.start = words.Number("a start time");
        if (words.Ok() && (v.start < 0 || v.start > 60))
            words.Fail("a voice starts from 0 to 60 seconds in");
    }
    else if (command == "length")
    {
        v.length = words.Number("a length in seconds");
        if (words.Ok() && (v.length <= 0 || v.length > 60))
            words.Fail("a note lasts more than 0 and at most 60 seconds");
    }
    else if (command == "filter")
    {
        std::string kind = words.Word("a filter");
        if (kind == "lowpass")
            v.filter = Filter::Low_Pass;
        else if (kind == "highpass")
            v.filter = Filter::High_Pass;
        else if (kind == "bandpass")
            v.filter = Filter::Band_Pass;
        else if (words.Ok())
            words.Fail("'" + kind + "' is not a filter (lowpass, highpass, bandpass)");
        v.cutoff_start = words.Number("a cutoff in Hz");
        v.cutoff_end = words.Number_Or(v.cutoff_start);
        v.resonance = words.Number_Or(0.707);
        v.cutoff_glide = words.Number_Or(-1);
        if (words.Ok() && (v.cutoff_start <= 0 || v.cutoff_end <= 0 || v.resonance <= 0))
            words.Fail("cutoffs and the Q lie above 0");
    }
    else if (command == "gain")
        v.gain = words.Number("a gain");
    else if (command == "seed")
        v.seed = static_cast<unsigned>(words.Integer("a seed"));
    else
        return false;
    return true;
}

void Render_Voice(const Voice& v, double rate, std::vector<float>& buffer)
{
    size_t first = static_cast<size_t>(std::llround(v.start * rate));
    size_t count = static_cast<size_t>(std::ceil((v.length + v.release) * rate));
    if (buffer.size() < first + count)
        buffer.resize(first + count, 0.0f);
    double glide = v.glide < 0 ? v.length : v.glide;
    double total = v.length + v.release;
    double cutoff_glide = v.cutoff_glide < 0 ? total : v.cutoff_glide;
    uint32_t state = v.seed * 747796405u + 2891336453u;
    auto random = [&state]
    {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    };
    double phase = 0, fm_phase = 0, noise = random(), triangle = -1;
    double drive_scale = v.drive > 0 ? 1.0 / std::tanh(v.drive) : 1.0;
    Biquad filter;
    for (size_t i = 0; i < count; ++i)
    {
        double t = i / rate;
        double f = Glide(v.pitch_start, v.pitch_end, t, glide);
        if (v.vibrato_depth != 0)
            f *= 1 + v.vibrato_depth * std::sin(2 * PI * v.vibrato_rate * t);
        double dt = std::min(f / rate, 1.0);
        // The oscillator reads its shape at the phase moved by the modulator.
        double p = phase;
        if (v.fm_ratio > 0)
        {
            double index =
                v.fm_index_start + (v.fm_index_end - v.fm_index_start) * std::min(t / v.length, 1.0);
            p += index * std::sin(2 * PI * fm_phase) / (2 * PI);
            p -= std::floor(p);
            fm_phase += f * v.fm_ratio / rate;
            fm_phase -= std::floor(fm_phase);
        }
        double s = 0;
        switch (v.wave)
        {
        case Wave::Sine:
            s = std::sin(2 * PI * p);
            break;
        case Wave::Saw:
            s = 2 * p - 1 - Blep(p, dt);
            break;
        case Wave::Square:
        case Wave::Triangle:
        {
            double falling = std::fmod(p + 1 - v.duty, 1.0);
            s = (p < v.duty ? 1.0 : -1.0) + Blep(p, dt) - Blep(falling, dt);
            if (v.wave == Wave::Triangle)
            {
                // A leaky integral of the band-limited square.
                triangle = dt * s * 4 + (1 - dt * 0.05) * triangle;
                s = triangle;
            }
            break;
        }
        case Wave::Noise:
            s = noise;
            break;
        }
        phase += dt;
        if (phase >= 1.0)
        {
            phase -= std::floor(phase);
            noise = random();
        }
        if (v.filter != Filter::None)
        {
            if (i % 16 == 0)
                filter.Set(v.filter, Glide(v.cutoff_start, v.cutoff_end, t, cutoff_glide), v.resonance, rate);
            s = filter.Run(s);
        }
        s *= Envelope(v, t);
        if (v.tremolo_depth > 0)
            s *= 1.0 - v.tremolo_depth * (0.5 - 0.5 * std::cos(2 * PI * v.tremolo_rate * t));
        if (v.drive > 0)
            s = std::tanh(v.drive * s) * drive_scale;
        buffer[first + i] += static_cast<float>(s * v.gain);
    }
}

void Fit_To_Loop(Voice& v, double rate, double frames)
{
    double seconds = frames / rate;
    auto whole = [seconds](double hz) { return std::max(1.0, std::round(hz * seconds)) / seconds; };
    if (v.pitch_start == v.pitch_end && v.wave != Wave::Noise)
        v.pitch_start = v.pitch_end = whole(v.pitch_start);
    if (v.vibrato_depth != 0)
        v.vibrato_rate = whole(v.vibrato_rate);
    if (v.tremolo_depth != 0)
        v.tremolo_rate = whole(v.tremolo_rate);
}

void Wrap_Loop(std::vector<float>& buffer, size_t frames, size_t crossfade)
{
    if (buffer.size() < frames)
        buffer.resize(frames, 0.0f);
    crossfade = std::min({crossfade, frames, buffer.size() - frames});
    // Sample i of the start hears the sound's own start fading in and its continuation past the end
    // fading out, so the last sample leads into the first as the sound went on.
    for (size_t i = 0; i < crossfade; ++i)
    {
        double x = (i + 0.5) / crossfade;
        buffer[i] =
            static_cast<float>(buffer[i] * std::sin(x * PI / 2) + buffer[frames + i] * std::cos(x * PI / 2));
    }
    buffer.resize(frames);
}
} // namespace assets
