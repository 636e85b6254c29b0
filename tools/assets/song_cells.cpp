// Cell parsing for song texts. The volume column is written as two hex digits (00 to 40, set volume) or
// as a command letter and one hex digit: "-x" slide down, "+x" slide up, "dx" fine down, "ux" fine up,
// "sx" vibrato speed, "vx" vibrato depth, "px" panning, "lx" panning slide left, "rx" panning slide right,
// "mx" tone portamento.
#include "song_cells.h"

#include <cctype>
#include <cstdlib>

namespace assets
{
namespace
{
int Parse_Note(const std::string& word)
{
    if (word == "---" || word == "..." || word == ".")
        return 0;
    if (word == "===" || word == "OFF" || word == "=")
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

// The volume column byte for its two written characters, or -1.
int Parse_Volume(const std::string& text)
{
    if (text.size() != 2)
        return -1;
    static const std::string commands = "-+dusvplrm";
    size_t command = commands.find(static_cast<char>(std::tolower(static_cast<unsigned char>(text[0]))));
    int digit = Parse_Hex(text.substr(1));
    if (command != std::string::npos && digit >= 0 && !std::isdigit(static_cast<unsigned char>(text[0])))
    {
        int value = Parse_Hex(text);
        // Two hex digits that read as a volume of 0 to 40 are a volume ("d3" is not one, so it is a command).
        if (value < 0 || value > 0x40)
            return 0x60 + static_cast<int>(command) * 0x10 + digit;
    }
    int volume = Parse_Hex(text);
    return volume >= 0 && volume <= 0x40 ? 0x10 + volume : -1;
}

bool Parse_Effect(const std::string& text, Xm_Cell& cell)
{
    const std::string digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    size_t effect = text.size() == 3 ? digits.find(text[0]) : std::string::npos;
    int parameter = text.size() == 3 ? Parse_Hex(text.substr(1)) : -1;
    if (effect == std::string::npos || parameter < 0)
        return false;
    cell.effect = static_cast<uint8_t>(effect);
    cell.parameter = static_cast<uint8_t>(parameter);
    return true;
}

bool Parse_Instrument(const std::string& text, Xm_Cell& cell)
{
    char* end = nullptr;
    long instrument = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || instrument < 1 || instrument > 128)
        return false;
    cell.instrument = static_cast<uint8_t>(instrument);
    return true;
}
} // namespace

bool Parse_Cell(const std::vector<std::string>& w, Xm_Cell& cell, std::string& error)
{
    int note = Parse_Note(w[0]);
    if (note < 0)
        return error = "'" + w[0] + "' is not a note (C-4, C#4, ---, ===)", false;
    cell.note = static_cast<uint8_t>(note);
    if (w[1] != ".." && !Parse_Instrument(w[1], cell))
        return error = "'" + w[1] + "' is not an instrument (01 to 128, or ..)", false;
    if (w[2] != "..")
    {
        int volume = Parse_Volume(w[2]);
        if (volume < 0)
            return error =
                       "'" + w[2] + "' is not a volume (00 to 40 hex, a command letter and a digit, or ..)",
                   false;
        cell.volume = static_cast<uint8_t>(volume);
    }
    if (w[3] != "..." && !Parse_Effect(w[3], cell))
        return error = "'" + w[3] + "' is not an effect (letter or digit and two hex digits, or ...)", false;
    return true;
}

bool Parse_Step(const std::string& word, std::vector<Xm_Cell>& cells, std::string& error)
{
    auto fail = [&](const std::string& why) { return error = "'" + word + "': " + why, false; };
    std::string text = word;
    int count = 1;
    if (size_t star = text.find('*'); star != std::string::npos)
    {
        char* end = nullptr;
        long n = std::strtol(text.c_str() + star + 1, &end, 10);
        if (star + 1 == text.size() || *end || n < 1 || n > 256)
            return fail("a step repeats 1 to 256 times (*N)");
        count = static_cast<int>(n);
        text.resize(star);
    }
    // A step that begins with its effect or volume ("x401") has no note.
    size_t head = text.compare(0, 3, "---") == 0 || text.compare(0, 3, "===") == 0 ? 3
                  : !text.empty() && (text[0] == '.' || text[0] == '=')            ? 1
                  : !text.empty() && (text[0] == 'x' || text[0] == 'v')            ? 0
                                                                                   : 3;
    Xm_Cell cell;
    int note = head == 0 ? 0 : Parse_Note(text.substr(0, head));
    if (note < 0)
        return fail("a step begins with a note (C-4, C#4), '.' or '='");
    cell.note = static_cast<uint8_t>(note);
    // Fixed widths: "v" and two characters, "x" and three, "i" and its decimal digits.
    for (size_t at = head; at < text.size();)
    {
        char kind = text[at++];
        size_t width = kind == 'v' ? 2 : kind == 'x' ? 3 : 0;
        if (kind == 'i')
            while (at + width < text.size() && std::isdigit(static_cast<unsigned char>(text[at + width])))
                ++width;
        std::string field = text.substr(at, width);
        int volume = kind == 'v' && field.size() == 2 ? Parse_Volume(field) : -1;
        bool ok = field.size() == width && (kind == 'i'   ? Parse_Instrument(field, cell)
                                            : kind == 'v' ? volume >= 0
                                            : kind == 'x' ? Parse_Effect(field, cell)
                                                          : false);
        if (!ok)
            return fail("'" + text.substr(at - 1, width + 1) +
                        "' is not iNN (instrument), vVV (volume column) or xEPP (effect)");
        if (kind == 'v')
            cell.volume = static_cast<uint8_t>(volume);
        at += width;
    }
    cells.insert(cells.end(), count, cell);
    return true;
}

bool Transpose(Xm_Cell& cell, int semitones)
{
    if (cell.note == 0 || cell.note == 97)
        return true;
    int note = cell.note + semitones;
    if (note < 1 || note > 96)
        return false;
    cell.note = static_cast<uint8_t>(note);
    return true;
}
} // namespace assets
