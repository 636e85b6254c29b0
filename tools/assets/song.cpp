// Songs (".song"): a tracker module written as text, with instruments made by the synthesiser,
// written out as an XM module.
//
//   title TEXT | channels N | speed TICKS | tempo BPM | restart POSITION
//   order P P*N ...               the song's patterns in order; P*N plays pattern P N times
//   instrument N NAME ... end     the voice settings of a sound effect (the note is heard as C-4); a
//                                 "voice" line starts a further layer; and for the whole instrument:
//     loop CYCLES                 hold the note by looping its last CYCLES periods of C-4 (tonal sounds;
//                                 each layer then sounds at "ratio" times the note, rounded to whole
//                                 cycles in the loop; filter glides end where the loop begins, the
//                                 envelope must have reached its sustain level by then, FM holds its
//                                 first index)
//     volume 0-64 | panning 0-255 | fadeout N | autovibrato TYPE SWEEP DEPTH RATE
//     envelope_points TICK VALUE ... | sustain POINT | envelope_loop START_POINT END_POINT
//     panning_points TICK VALUE ... | panning_sustain POINT
//   track NAME [INSTRUMENT] ... end   one channel's phrase as steps (song_cells.h), any number a line,
//                                 e.g. "C-3 . . G-2v20 . x401 = ."; notes without "i" play INSTRUMENT
//   pattern N ... end             one row a line: for each channel NOTE INSTRUMENT VOLUME EFFECT,
//                                 e.g. "C#4 01 40 A0F"; "---" or "..." for no note, "===" key off,
//                                 ".." and "..." for empty fields; "|" between channels is allowed.
//                                 Or built from tracks: "rows N" and lines
//                                 "CHANNEL TRACK [SEMITONES] TRACK [SEMITONES] ... [>DELAY] [%VOLUME]
//                                 [@INSTRUMENT] [~PANNING]": the tracks one after another, transposed,
//                                 delayed by DELAY rows (what runs past the end comes round to the
//                                 start), their notes at VOLUME percent, on INSTRUMENT and panned to
//                                 PANNING (0 left to 255 right), repeated to fill the rows (default:
//                                 the longest line).
#include "builders.h"
#include "song_cells.h"
#include "synth.h"
#include "xm_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace assets
{
namespace
{
// Every sample is rendered at this rate, which makes one period of C-4 exactly 128 samples.
constexpr double C4_HZ = 261.6255653005986;
constexpr int C4_PERIOD = 128;
constexpr double SAMPLE_RATE = C4_HZ * C4_PERIOD;

struct Layer
{
    Voice voice;
    double ratio = 1; // looped instruments: the layer's pitch as a multiple of the note's
};

struct Instrument_Source
{
    std::vector<Layer> layers{1};
    int loop_cycles = 0;
    Xm_Instrument xm;
    int line = 0; // where the instrument begins in the source
};

struct Track
{
    std::vector<Xm_Cell> cells;
    int instrument = 0;
};

bool Read_Envelope(Word_Reader& words, std::vector<Xm_Envelope_Point>& envelope)
{
    envelope.clear();
    while (words.More() && words.Ok())
    {
        int tick = words.Integer("a tick"), value = words.Integer("a value");
        if (words.Ok() && (tick < 0 || tick > 65535 || value < 0 || value > 64 ||
                           (!envelope.empty() && tick <= envelope.back().tick)))
            words.Fail("envelope ticks rise and values lie from 0 to 64");
        envelope.push_back({static_cast<uint16_t>(tick), static_cast<uint16_t>(value)});
    }
    if (words.Ok() && (envelope.empty() || envelope.size() > 12))
        words.Fail("an envelope has 1 to 12 points");
    return words.Ok();
}

bool Read_Instrument_Setting(Word_Reader& words, const std::string& command, Instrument_Source& in)
{
    if (command == "loop")
        in.loop_cycles = words.Integer("a number of periods");
    else if (command == "voice")
        in.layers.emplace_back();
    else if (command == "ratio")
    {
        in.layers.back().ratio = words.Number("a pitch ratio");
        if (words.Ok() && (in.layers.back().ratio < 0.125 || in.layers.back().ratio > 16))
            words.Fail("a layer's ratio lies from 0.125 to 16");
    }
    else if (command == "volume")
        in.xm.volume = static_cast<uint8_t>(std::clamp(words.Integer("a volume"), 0, 64));
    else if (command == "panning")
        in.xm.panning = static_cast<uint8_t>(std::clamp(words.Integer("a panning"), 0, 255));
    else if (command == "fadeout")
        in.xm.fadeout = static_cast<uint16_t>(std::clamp(words.Integer("a fade-out"), 0, 4095));
    else if (command == "envelope_points")
        Read_Envelope(words, in.xm.volume_envelope);
    else if (command == "panning_points")
        Read_Envelope(words, in.xm.panning_envelope);
    else if (command == "sustain")
        in.xm.sustain_point = words.Integer("an envelope point");
    else if (command == "panning_sustain")
        in.xm.panning_sustain_point = words.Integer("an envelope point");
    else if (command == "envelope_loop")
    {
        in.xm.loop_start_point = words.Integer("the first point of the loop");
        in.xm.loop_end_point = words.Integer("the last point of the loop");
        if (words.Ok() && (in.xm.loop_start_point < 0 || in.xm.loop_end_point < in.xm.loop_start_point))
            words.Fail("an envelope loop runs from one point to the same or a later one");
    }
    else if (command == "autovibrato")
    {
        in.xm.vibrato_type = static_cast<uint8_t>(std::clamp(words.Integer("a type"), 0, 3));
        in.xm.vibrato_sweep = static_cast<uint8_t>(std::clamp(words.Integer("a sweep"), 0, 255));
        in.xm.vibrato_depth = static_cast<uint8_t>(std::clamp(words.Integer("a depth"), 0, 15));
        in.xm.vibrato_rate = static_cast<uint8_t>(std::clamp(words.Integer("a rate"), 0, 63));
    }
    else
        return Read_Voice_Setting(words, command, in.layers.back().voice);
    return true;
}

// When a looped layer stops changing: its envelope has reached the sustain level and its filter has
// finished gliding.
double Settled(const Voice& v)
{
    double t = v.attack + v.decay;
    if (v.cutoff_start != v.cutoff_end)
        t = std::max(t, v.cutoff_glide);
    return t;
}

bool Make_Sample(Instrument_Source& in, std::string& error)
{
    std::vector<float> samples;
    if (in.loop_cycles > 0)
    {
        // A steady note: exactly 128 samples a period of C-4, every layer held to the end.
        double length = 0;
        for (const Layer& layer : in.layers)
            length = std::max(length, layer.voice.length);
        const double loop_frames = static_cast<double>(in.loop_cycles) * C4_PERIOD;
        const size_t whole = static_cast<size_t>(length * SAMPLE_RATE) / C4_PERIOD * C4_PERIOD;
        if (loop_frames > static_cast<double>(whole))
            return error = "the note is shorter than its loop", false;
        const double loop_start = (static_cast<double>(whole) - loop_frames) / SAMPLE_RATE;
        for (const Layer& layer : in.layers)
        {
            Voice voice = layer.voice;
            // Glides without a time of their own end where the loop begins; the modulation index holds.
            if (voice.cutoff_glide < 0)
                voice.cutoff_glide = loop_start;
            voice.fm_index_end = voice.fm_index_start;
            if (Settled(voice) > loop_start + 1e-9)
                return error =
                           "a layer still changes inside the loop: make 'length' longer or the loop shorter",
                       false;
            voice.start = 0;
            voice.length = length;
            voice.release = 0;
            voice.vibrato_depth = 0;
            voice.pitch_start = voice.pitch_end = C4_HZ * layer.ratio;
            voice.glide = -1;
            Fit_To_Loop(voice, SAMPLE_RATE, loop_frames);
            Render_Voice(voice, SAMPLE_RATE, samples);
        }
        samples.resize(whole);
        in.xm.loop_start = static_cast<uint32_t>(whole - static_cast<size_t>(loop_frames));
        in.xm.loop_length = static_cast<uint32_t>(loop_frames);
    }
    else
        for (const Layer& layer : in.layers)
            Render_Voice(layer.voice, SAMPLE_RATE, samples);
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

// One channel of a pattern built from tracks: the tracks played one after another (each with its
// transposition), delayed by some rows and at a share of their volume.
struct Channel_Part
{
    int channel = 0;
    std::vector<std::pair<const Track*, int>> tracks; // track, semitones
    int delay = 0;
    int volume_percent = 100;
    int instrument = 0; // above 0: every note plays this instrument
    int panning = -1;   // 0 to 255: every note without an effect of its own sets this panning (8xx)
};

struct Assembly
{
    int rows = 0;
    std::vector<Channel_Part> parts;
};

void Assemble(const Assembly& a, int channels, const std::vector<Instrument_Source>& instruments,
              Xm_Pattern& pattern, std::string& error)
{
    std::vector<std::vector<Xm_Cell>> lines;
    int rows = a.rows;
    for (const Channel_Part& part : a.parts)
    {
        std::vector<Xm_Cell>& cells = lines.emplace_back();
        for (const auto& [track, semitones] : part.tracks)
            for (Xm_Cell cell : track->cells)
            {
                if (cell.note && cell.note != 97 && (!cell.instrument || part.instrument))
                    cell.instrument =
                        static_cast<uint8_t>(part.instrument ? part.instrument : track->instrument);
                if (!Transpose(cell, semitones))
                    return void(error = "a transposed note leaves C-0 to B-7");
                if (part.volume_percent != 100 && cell.instrument > 0 &&
                    cell.instrument <= static_cast<int>(instruments.size()) && cell.note && cell.note != 97 &&
                    (cell.volume == 0 || (cell.volume >= 0x10 && cell.volume <= 0x50)))
                {
                    int volume =
                        cell.volume ? cell.volume - 0x10 : instruments[cell.instrument - 1].xm.volume;
                    cell.volume = static_cast<uint8_t>(0x10 + volume * part.volume_percent / 100);
                }
                else if (part.volume_percent != 100 && cell.volume >= 0x10 && cell.volume <= 0x50)
                    cell.volume =
                        static_cast<uint8_t>(0x10 + (cell.volume - 0x10) * part.volume_percent / 100);
                if (part.panning >= 0 && cell.note && cell.note != 97 && !cell.effect && !cell.parameter)
                    cell.effect = 8, cell.parameter = static_cast<uint8_t>(part.panning);
                cells.push_back(cell);
            }
        if (a.rows == 0)
            rows = std::max(rows, static_cast<int>(cells.size()));
    }
    if (rows < 1 || rows > 256)
        return void(error = "a pattern has 1 to 256 rows");
    pattern.rows = rows;
    pattern.cells.assign(static_cast<size_t>(rows) * channels, Xm_Cell{});
    for (size_t p = 0; p < a.parts.size(); ++p)
    {
        const std::vector<Xm_Cell>& cells = lines[p];
        const int n = static_cast<int>(cells.size());
        for (int row = 0; row < rows; ++row)
            pattern.cells[static_cast<size_t>(row) * channels + a.parts[p].channel - 1] =
                cells[((row - a.parts[p].delay) % n + n) % n];
    }
}

// "CHANNEL TRACK [SEMITONES] TRACK [SEMITONES] ... [>DELAY_ROWS] [%VOLUME] [@INSTRUMENT] [~PANNING]".
bool Read_Channel_Part(Word_Reader& use, const std::map<std::string, Track>& tracks, int channels,
                       Channel_Part& part)
{
    part.channel = use.Integer("a channel");
    if (use.Ok() && (part.channel < 1 || part.channel > channels))
        use.Fail("channels are numbered 1 to " + std::to_string(channels));
    while (use.Ok() && use.More())
    {
        std::string word = use.Word("a track");
        char* end = nullptr;
        const bool option = word[0] == '>' || word[0] == '%' || word[0] == '@' || word[0] == '~';
        long value = std::strtol(word.c_str() + option, &end, 10);
        bool number = !word.empty() && *end == 0 && end != word.c_str() + option;
        if (word[0] == '~' && number && value >= 0 && value <= 255)
            part.panning = static_cast<int>(value);
        else if (word[0] == '@' && number && value >= 1 && value <= 128)
            part.instrument = static_cast<int>(value);
        else if (word[0] == '>' && number && value >= 0 && value < 256)
            part.delay = static_cast<int>(value);
        else if (word[0] == '%' && number && value >= 0 && value <= 100)
            part.volume_percent = static_cast<int>(value);
        else if (number && !part.tracks.empty() && value > -96 && value < 96)
            part.tracks.back().second = static_cast<int>(value);
        else if (auto found = tracks.find(word); found != tracks.end())
            part.tracks.push_back({&found->second, 0});
        else
            use.Fail("'" + word + "' is no track written before this line, nor a transposition after one, " +
                     ">ROWS or %VOLUME");
    }
    if (use.Ok() && part.tracks.empty())
        use.Fail("a channel line names at least one track");
    return use.Ok();
}
} // namespace

void Build_Song(Source_File& source, const std::string& name, Outputs& outputs)
{
    Xm_Song song;
    song.name = name.substr(name.find_last_of('/') + 1);
    std::vector<Instrument_Source> instruments;
    std::map<std::string, Track> tracks;
    Track* track = nullptr;
    Assembly assembly;
    enum class Block
    {
        None,
        Instrument,
        Pattern,
        Track
    } block = Block::None;
    int current = -1;
    for (const Source_Line& line : source.Lines())
    {
        Word_Reader words(source, line);
        const std::string& command = line.words[0];
        if (command == "end" && block != Block::None)
        {
            if (block == Block::Pattern && !assembly.parts.empty())
            {
                std::string error;
                Assemble(assembly, song.channels, instruments, song.patterns[current], error);
                if (!error.empty())
                    words.Fail(error);
            }
            else if (block == Block::Pattern && (song.patterns[current].rows == 0 || assembly.rows))
                words.Fail("pattern " + std::to_string(current) + " has no rows");
            else if (block == Block::Track && track->cells.empty())
                words.Fail("the track has no steps");
            block = Block::None;
        }
        else if (block == Block::Track)
        {
            for (const std::string& step : line.words)
            {
                std::string error;
                if (!Parse_Step(step, track->cells, error))
                    words.Fail(error);
            }
            if (track->cells.size() > 256)
                words.Fail("a track has at most 256 steps");
            continue;
        }
        else if (block == Block::Pattern &&
                 (command == "rows" || std::isdigit(static_cast<unsigned char>(command[0]))))
        {
            if (song.patterns[current].rows > 0)
                words.Fail("a pattern is written as rows or built from tracks, not both");
            else if (command == "rows")
            {
                assembly.rows = words.Integer("a row count");
                if (words.Ok() && (assembly.rows < 1 || assembly.rows > 256))
                    words.Fail("a pattern has 1 to 256 rows");
            }
            else
            {
                Word_Reader use(source, line, 0);
                Channel_Part part;
                if (Read_Channel_Part(use, tracks, song.channels, part))
                    assembly.parts.push_back(part);
            }
            continue;
        }
        else if (block == Block::Pattern)
        {
            std::vector<std::string> fields;
            for (const std::string& w : line.words)
                if (w != "|")
                    fields.push_back(w);
            Xm_Pattern& pattern = song.patterns[current];
            if (!assembly.parts.empty() || assembly.rows)
                words.Fail("a pattern is written as rows or built from tracks, not both");
            else if (fields.size() % 4 != 0 || fields.size() / 4 > static_cast<size_t>(song.channels))
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
                std::string word = words.Word("a pattern number");
                char* end = nullptr;
                long pattern = std::strtol(word.c_str(), &end, 10), times = 1;
                if (*end == '*')
                    times = std::strtol(end + 1, &end, 10);
                if (word.empty() || *end || pattern < 0 || pattern > 255 || times < 1 || times > 256)
                    words.Fail("'" + word + "' is not a pattern (0 to 255) or a repeated one (P*N)");
                song.order.insert(song.order.end(), static_cast<size_t>(std::max(times, 1L)),
                                  static_cast<uint8_t>(pattern));
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
        else if (command == "track")
        {
            std::string name = words.Word("a track name");
            int instrument = words.More() ? words.Integer("an instrument") : 0;
            if (words.Ok() && tracks.count(name))
                words.Fail("there is already a track '" + name + "'");
            else if (words.Ok() && (instrument < 0 || instrument > 128))
                words.Fail("instruments are numbered 1 to 128");
            track = &tracks[name];
            track->instrument = instrument;
            block = Block::Track;
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
            assembly = Assembly{};
            current = number;
            block = Block::Pattern;
        }
        else
            words.Fail("'" + command + "' is not a song command");
        words.End();
        if (source.Failed())
            return;
    }
    if (source.Failed())
        return;
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
