// Songs (".song"): a tracker module written as text, with instruments made by the synthesiser,
// written out as an XM module.
//
//   title TEXT | channels N | speed TICKS | tempo BPM | restart POSITION | order P P P ...
//   instrument N NAME ... end     the voice settings of a sound effect (the note is heard as C-4), and:
//     loop CYCLES                 hold the note by looping its last CYCLES periods (tonal sounds)
//     volume 0-64 | panning 0-255 | fadeout N | envelope_points TICK VALUE ... | sustain POINT
//     autovibrato TYPE SWEEP DEPTH RATE
//   pattern N ... end             one row a line: for each channel NOTE INSTRUMENT VOLUME EFFECT,
//                                 e.g. "C#4 01 40 A0F"; "---" or "..." for no note, "===" key off,
//                                 ".." and "..." for empty fields; "|" between channels is allowed.
#include "builders.h"
#include "synth.h"
#include "xm_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace assets
{
namespace
{
// Every sample is rendered at this rate, which makes one period of C-4 exactly 128 samples.
constexpr double C4_HZ = 261.6255653005986;
constexpr int C4_PERIOD = 128;
constexpr double SAMPLE_RATE = C4_HZ * C4_PERIOD;

int Parse_Note(const std::string& word)
{
    if (word == "---" || word == "...")
        return 0;
    if (word == "===" || word == "OFF")
        return 97;
    static const char* names[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
    if (word.size() != 3 || word[2] < '0' || word[2] > '7')
        return -1;
    for (int i = 0; i < 12; ++i)
        if (word.compare(0, 2, names[i]) == 0)
            return (word[2] - '0') * 12 + i + 1;
    return -1;
}

int Parse_Hex(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return -1;
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 16));
}

bool Parse_Cell(const std::vector<std::string>& w, Xm_Cell& cell, std::string& error)
{
    int note = Parse_Note(w[0]);
    if (note < 0)
        return error = "'" + w[0] + "' is not a note (C-4, C#4, ---, ===)", false;
    cell.note = static_cast<uint8_t>(note);
    if (w[1] != "..")
    {
        char* end = nullptr;
        long instrument = std::strtol(w[1].c_str(), &end, 10);
        if (*end || instrument < 1 || instrument > 128)
            return error = "'" + w[1] + "' is not an instrument (01 to 128, or ..)", false;
        cell.instrument = static_cast<uint8_t>(instrument);
    }
    if (w[2] != "..")
    {
        int volume = w[2].size() == 2 ? Parse_Hex(w[2]) : -1;
        if (volume < 0 || volume > 0x40)
            return error = "'" + w[2] + "' is not a volume (00 to 40 hex, or ..)", false;
        cell.volume = static_cast<uint8_t>(0x10 + volume);
    }
    if (w[3] != "...")
    {
        const std::string digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        size_t effect = w[3].size() == 3 ? digits.find(w[3][0]) : std::string::npos;
        int parameter = w[3].size() == 3 ? Parse_Hex(w[3].substr(1)) : -1;
        if (effect == std::string::npos || parameter < 0)
            return error = "'" + w[3] + "' is not an effect (letter or digit and two hex digits, or ...)",
                   false;
        cell.effect = static_cast<uint8_t>(effect);
        cell.parameter = static_cast<uint8_t>(parameter);
    }
    return true;
}

struct Instrument_Source
{
    Voice voice;
    int loop_cycles = 0;
    Xm_Instrument xm;
    int line = 0; // where the instrument begins in the source
};

bool Read_Instrument_Setting(Word_Reader& words, const std::string& command, Instrument_Source& in)
{
    if (command == "loop")
        in.loop_cycles = words.Integer("a number of periods");
    else if (command == "volume")
        in.xm.volume = static_cast<uint8_t>(std::clamp(words.Integer("a volume"), 0, 64));
    else if (command == "panning")
        in.xm.panning = static_cast<uint8_t>(std::clamp(words.Integer("a panning"), 0, 255));
    else if (command == "fadeout")
        in.xm.fadeout = static_cast<uint16_t>(std::clamp(words.Integer("a fade-out"), 0, 4095));
    else if (command == "envelope_points")
    {
        in.xm.volume_envelope.clear();
        while (words.More() && words.Ok())
        {
            int tick = words.Integer("a tick"), value = words.Integer("a value");
            if (words.Ok() && (tick < 0 || value < 0 || value > 64 ||
                               (!in.xm.volume_envelope.empty() && tick <= in.xm.volume_envelope.back().tick)))
                words.Fail("envelope ticks rise and values lie from 0 to 64");
            in.xm.volume_envelope.push_back({static_cast<uint16_t>(tick), static_cast<uint16_t>(value)});
        }
        if (words.Ok() && (in.xm.volume_envelope.empty() || in.xm.volume_envelope.size() > 12))
            words.Fail("an envelope has 1 to 12 points");
    }
    else if (command == "sustain")
        in.xm.sustain_point = words.Integer("an envelope point");
    else if (command == "autovibrato")
    {
        in.xm.vibrato_type = static_cast<uint8_t>(std::clamp(words.Integer("a type"), 0, 3));
        in.xm.vibrato_sweep = static_cast<uint8_t>(std::clamp(words.Integer("a sweep"), 0, 255));
        in.xm.vibrato_depth = static_cast<uint8_t>(std::clamp(words.Integer("a depth"), 0, 15));
        in.xm.vibrato_rate = static_cast<uint8_t>(std::clamp(words.Integer("a rate"), 0, 63));
    }
    else
        return Read_Voice_Setting(words, command, in.voice);
    return true;
}

bool Make_Sample(Instrument_Source& in, std::string& error)
{
    Voice voice = in.voice;
    voice.start = 0;
    if (in.loop_cycles > 0)
    {
        // A steady note: exactly 128 samples a period, held at the sustain level to the end.
        voice.pitch_start = voice.pitch_end = C4_HZ;
        voice.vibrato_depth = 0;
        voice.release = 0;
    }
    std::vector<float> samples;
    Render_Voice(voice, SAMPLE_RATE, samples);
    if (in.loop_cycles > 0)
    {
        size_t loop = static_cast<size_t>(in.loop_cycles) * C4_PERIOD;
        size_t whole = samples.size() / C4_PERIOD * C4_PERIOD;
        if (loop > whole)
            return error = "the note is shorter than its loop", false;
        samples.resize(whole);
        in.xm.loop_start = static_cast<uint32_t>(whole - loop);
        in.xm.loop_length = static_cast<uint32_t>(loop);
    }
    float loudest = 0;
    for (float s : samples)
        loudest = std::max(loudest, std::fabs(s));
    in.xm.sample.clear();
    for (float s : samples)
        in.xm.sample.push_back(
            static_cast<int16_t>(std::lround((loudest > 0 ? s / loudest : 0.0f) * 0.95f * 32767)));
    // C-4 plays the sample at 8363 Hz x 2^((relative note + finetune / 128) / 12).
    double semitones = 12.0 * std::log2(SAMPLE_RATE / 8363.0);
    int relative = static_cast<int>(std::floor(semitones));
    in.xm.relative_note = static_cast<int8_t>(relative);
    in.xm.finetune = static_cast<int8_t>(std::lround((semitones - relative) * 128));
    return true;
}
} // namespace

void Build_Song(Source_File& source, const std::string& name, Outputs& outputs)
{
    Xm_Song song;
    song.name = name.substr(name.find_last_of('/') + 1);
    std::vector<Instrument_Source> instruments;
    enum class Block
    {
        None,
        Instrument,
        Pattern
    } block = Block::None;
    int current = -1;
    for (const Source_Line& line : source.Lines())
    {
        Word_Reader words(source, line);
        const std::string& command = line.words[0];
        if (command == "end" && block != Block::None)
        {
            if (block == Block::Pattern && song.patterns[current].rows == 0)
                words.Fail("pattern " + std::to_string(current) + " has no rows");
            block = Block::None;
        }
        else if (block == Block::Pattern)
        {
            std::vector<std::string> fields;
            for (const std::string& w : line.words)
                if (w != "|")
                    fields.push_back(w);
            Xm_Pattern& pattern = song.patterns[current];
            if (fields.size() % 4 != 0 || fields.size() / 4 > static_cast<size_t>(song.channels))
                words.Fail("a row holds up to " + std::to_string(song.channels) +
                           " channels of 4 fields each");
            else if (pattern.rows == 256)
                words.Fail("a pattern has at most 256 rows");
            else
            {
                pattern.cells.resize(pattern.cells.size() + song.channels);
                Xm_Cell* row = &pattern.cells[pattern.cells.size() - song.channels];
                for (size_t c = 0; c * 4 < fields.size(); ++c)
                {
                    std::string error;
                    if (!Parse_Cell({fields.begin() + c * 4, fields.begin() + c * 4 + 4}, row[c], error))
                        words.Fail(error);
                }
                ++pattern.rows;
            }
            continue;
        }
        else if (block == Block::Instrument)
        {
            if (!Read_Instrument_Setting(words, command, instruments[current]))
                words.Fail("'" + command + "' is not an instrument setting");
        }
        else if (command == "title")
            song.name = words.Word("a title");
        else if (command == "channels")
        {
            song.channels = words.Integer("a channel count");
            if (words.Ok() && (song.channels < 1 || song.channels > 32))
                words.Fail("a song has 1 to 32 channels");
            if (words.Ok() && !song.patterns.empty())
                words.Fail("'channels' must come before the first pattern");
        }
        else if (command == "speed" || command == "tempo")
        {
            int value = words.Integer(command == "speed" ? "ticks per row" : "beats per minute");
            if (words.Ok() && (command == "speed" ? (value < 1 || value > 31) : (value < 32 || value > 255)))
                words.Fail(command == "speed" ? "the speed lies from 1 to 31"
                                              : "the tempo lies from 32 to 255");
            (command == "speed" ? song.speed : song.tempo) = value;
        }
        else if (command == "restart")
            song.restart = words.Integer("a song position");
        else if (command == "order")
        {
            while (words.More() && words.Ok())
            {
                int pattern = words.Integer("a pattern number");
                if (words.Ok() && (pattern < 0 || pattern > 255))
                    words.Fail("patterns are numbered 0 to 255");
                song.order.push_back(static_cast<uint8_t>(pattern));
            }
        }
        else if (command == "instrument")
        {
            int number = words.Integer("an instrument number");
            if (words.Ok() && number != static_cast<int>(instruments.size()) + 1)
                words.Fail("instruments are numbered 1, 2, 3 ... in order");
            else if (words.Ok() && number > 128)
                words.Fail("a song has at most 128 instruments");
            instruments.emplace_back();
            instruments.back().line = line.number;
            instruments.back().xm.name = words.More() ? words.Word("") : "";
            current = static_cast<int>(instruments.size()) - 1;
            block = Block::Instrument;
        }
        else if (command == "pattern")
        {
            int number = words.Integer("a pattern number");
            if (words.Ok() && number != static_cast<int>(song.patterns.size()))
                words.Fail("patterns are numbered 0, 1, 2 ... in order");
            else if (words.Ok() && number > 255)
                words.Fail("a song has at most 256 patterns");
            song.patterns.emplace_back();
            song.patterns.back().rows = 0;
            current = number;
            block = Block::Pattern;
        }
        else
            words.Fail("'" + command + "' is not a song command");
        words.End();
        if (source.Failed())
            return;
    }
    if (block != Block::None)
        return source.Fail(source.Lines().back().number, "the last block has no 'end'");
    if (song.patterns.empty() || song.order.empty() || song.order.size() > 256)
        return source.Fail(1, "a song needs patterns and an order of 1 to 256 positions");
    for (uint8_t p : song.order)
        if (p >= song.patterns.size())
            return source.Fail(1, "the order names pattern " + std::to_string(p) + ", which is not there");
    if (song.restart < 0 || song.restart >= static_cast<int>(song.order.size()))
        return source.Fail(1, "the restart position lies outside the order");
    for (const Xm_Pattern& pattern : song.patterns)
        for (const Xm_Cell& cell : pattern.cells)
            if (cell.instrument > instruments.size())
                return source.Fail(1, "a pattern plays instrument " + std::to_string(cell.instrument) +
                                          ", which is not there");
    for (Instrument_Source& in : instruments)
    {
        std::string error;
        if (!Make_Sample(in, error))
            return source.Fail(in.line, "instrument \"" + in.xm.name + "\": " + error);
        song.instruments.push_back(in.xm);
    }
    outputs[name + ".xm"] = Encode_Xm(song);
}
} // namespace assets
