// Sound effects (".sfx"): voices of the synthesiser mixed into a mono 16-bit WAVE file.
//
//   rate HZ          sample rate (default 22050)
//   volume PEAK      the loudest sample, 0 to 1 (default 0.9)
//   voice            starts a voice; the voice settings that follow belong to it:
//     wave sine|square|saw|triangle|noise     pitch START [END [GLIDE_SECONDS]]     duty D
//     vibrato RATE DEPTH     envelope ATTACK DECAY SUSTAIN [RELEASE]     start SECONDS
//     length SECONDS     filter lowpass|highpass|bandpass CUTOFF [END_CUTOFF [Q]]     gain G     seed N
#include "builders.h"
#include "synth.h"
#include "wave_file.h"

namespace assets
{
void Build_Sound(Source_File& source, const std::string& name, Outputs& outputs)
{
    int rate = 22050;
    double volume = 0.9;
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
    for (const Voice& voice : voices)
        Render_Voice(voice, rate, samples);
    Normalise(samples, volume, rate);
    outputs[name + ".wav"] = Encode_Wave(samples, 1, rate);
}
} // namespace assets
