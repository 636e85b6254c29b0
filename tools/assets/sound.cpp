// Sound effects (".sfx"): voices of the synthesiser mixed into a mono 16-bit WAVE file.
//
//   rate HZ          sample rate (default 22050)
//   volume PEAK      the loudest sample, 0 to 1 (default 0.9)
//   fade SECONDS     fade in at the start and out at the end (default 0.005; 0 with a loop)
//   loop SECONDS [CROSSFADE]   the sound repeats without a seam every SECONDS: steady pitches, vibrato
//                    and tremolo are rounded to whole cycles, what sounds past the end is crossfaded
//                    into the start (default the shorter of 0.05 s and a quarter of the loop) and the
//                    loop starts where the wave is nearest to rest
//   voice            starts a voice; the voice settings that follow belong to it:
//     wave sine|square|saw|triangle|noise     pitch START [END [GLIDE_SECONDS]]     duty D
//     vibrato RATE DEPTH     tremolo RATE DEPTH     envelope ATTACK DECAY SUSTAIN [RELEASE]
//     curve linear|exponential     start SECONDS     length SECONDS
//     filter lowpass|highpass|bandpass CUTOFF [END_CUTOFF [Q [GLIDE_SECONDS]]]
//     fm RATIO INDEX [END_INDEX]     drive D     gain G     seed N
#include "builders.h"
#include "synth.h"
#include "wave_file.h"

#include <cmath>

namespace assets
{
namespace
{
// The index from which a repeating sound should start: where it is nearest to rest and moving slowest,
// so that starting it does not click.
size_t Quietest_Start(const std::vector<float>& samples)
{
    size_t best = 0;
    double best_score = 1e9;
    for (size_t i = 0; i < samples.size(); ++i)
    {
        double before = samples[(i + samples.size() - 1) % samples.size()];
        double score = std::fabs(samples[i]) + std::fabs(samples[i] - before);
        if (score < best_score)
            best = i, best_score = score;
    }
    return best;
}
} // namespace

void Build_Sound(Source_File& source, const std::string& name, Outputs& outputs)
{
    int rate = 22050;
    double volume = 0.9, fade = -1, loop = 0, crossfade = -1;
    std::vector<Voice> voices;
    for (const Source_Line& line : source.Lines())
    {
        Word_Reader words(source, line);
        const std::string& command = line.words[0];
        if (command == "rate")
        {
            rate = words.Integer("a sample rate");
            if (words.Ok() && (rate < 4000 || rate > 96000))
                words.Fail("the sample rate lies from 4000 to 96000 Hz");
        }
        else if (command == "volume")
        {
            volume = words.Number("a peak level");
            if (words.Ok() && (volume <= 0 || volume > 1))
                words.Fail("the peak level lies above 0 and at most 1");
        }
        else if (command == "fade")
        {
            fade = words.Number("a fade time");
            if (words.Ok() && (fade < 0 || fade > 1))
                words.Fail("the fade lasts from 0 to 1 second");
        }
        else if (command == "loop")
        {
            loop = words.Number("a loop length in seconds");
            crossfade = words.Number_Or(-1);
            if (words.Ok() && (loop < 0.01 || loop > 60 || crossfade > loop))
                words.Fail("a loop lasts from 0.01 to 60 seconds and crossfades over at most its length");
        }
        else if (command == "voice")
            voices.emplace_back();
        else if (voices.empty())
            words.Fail("'" + command +
                       "' is not a sound setting (a voice setting needs a 'voice' line first)");
        else if (!Read_Voice_Setting(words, command, voices.back()))
            words.Fail("'" + command + "' is not a voice setting");
        words.End();
        if (source.Failed())
            return;
    }
    if (voices.empty())
    {
        source.Fail(1, "a sound needs at least one 'voice'");
        return;
    }
    std::vector<float> samples;
    size_t frames = static_cast<size_t>(std::lround(loop * rate));
    for (Voice& voice : voices)
    {
        if (frames > 0)
            Fit_To_Loop(voice, rate, static_cast<double>(frames));
        Render_Voice(voice, rate, samples);
    }
    if (frames > 0)
    {
        double fade_over = crossfade >= 0 ? crossfade : std::min(0.05, loop / 4);
        size_t overlap = static_cast<size_t>(std::lround(fade_over * rate));
        if (samples.size() < frames + overlap)
        {
            source.Fail(1, "the voices end before the loop and its crossfade are over");
            return;
        }
        Wrap_Loop(samples, frames, overlap);
        std::vector<float> turned(samples.size());
        size_t first = Quietest_Start(samples);
        for (size_t i = 0; i < samples.size(); ++i)
            turned[i] = samples[(first + i) % samples.size()];
        samples.swap(turned);
    }
    Normalise(samples, volume, rate, fade >= 0 ? fade : (frames > 0 ? 0.0 : 0.005));
    outputs[name + ".wav"] = Encode_Wave(samples, 1, rate);
}
} // namespace assets
