// Input_Playback: a recording read and checked whole, then handed out poll by poll.
#include "engine/input/input_pad_fields.h"
#include "engine/input/input_recording.h"
#include "engine/input/key_names.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr const char* k_magic = "kestrova-demo 1";

bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string Trim(const std::string& text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && Blank(text[begin]))
        ++begin;
    while (end > begin && Blank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// The whole text is a decimal integer within the limits.
bool Read_Int(const std::string& text, long low, long high, long& out)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high)
        return false;
    out = value;
    return true;
}

bool Read_Float(const std::string& text, float& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (*end != '\0' || !(value == value))
        return false;
    out = value;
    return true;
}

// Splits at the separator; empty pieces stay.
std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;)
    {
        const size_t at = text.find(separator, start);
        pieces.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return pieces;
        start = at + 1;
    }
}

// "padN" followed by `rest`: N into pad.
bool Read_Pad_Prefix(const std::string& text, int pad_count, int& pad, std::string& rest)
{
    if (text.compare(0, 3, "pad") != 0)
        return false;
    const size_t dot = text.find('.');
    long index = 0;
    if (dot == std::string::npos || !Read_Int(text.substr(3, dot - 3), 0, pad_count - 1, index))
        return false;
    pad = static_cast<int>(index);
    rest = text.substr(dot + 1);
    return true;
}

bool Unknown(std::string& error, const char* what, const std::string& item)
{
    error = std::string(what) + " \"" + item + "\"";
    return false;
}
} // namespace

bool Input_Playback::Load(const char* file_name, std::string& error)
{
    std::FILE* file = file_name ? std::fopen(file_name, "rb") : nullptr;
    if (!file)
    {
        error = "cannot be read";
        return false;
    }
    std::string text;
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        text.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
    {
        error = "cannot be read";
        return false;
    }
    return Load_Text(text, error);
}

bool Input_Playback::Load_Text(const std::string& text, std::string& error)
{
    m_header.clear();
    m_pads.clear();
    m_lines.clear();
    m_frame_count = 0;
    m_next_frame = 0;
    m_next_line = 0;
    m_state = Input_Frame();

    bool magic = false;
    bool in_frames = false;
    bool ended = false;
    bool typed_given = false;
    uint32_t last_frame = 0;
    Input_Frame scratch;
    int number = 0;
    for (const std::string& raw : Split(text, '\n'))
    {
        ++number;
        const std::string line = Trim(raw);
        auto fail = [&](const std::string& why)
        {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        if (line.empty() || line[0] == '#')
            continue;
        if (!magic)
        {
            if (line != k_magic)
                return fail(std::string("not a recording (the first line must be \"") + k_magic + "\")");
            magic = true;
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(line[0])))
        {
            if (!in_frames)
            {
                in_frames = true;
                scratch = Initial_State();
                Begin_Frame(scratch);
                typed_given = false;
            }
            size_t digits = 0;
            while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits])))
                ++digits;
            long frame = 0;
            if ((digits < line.size() && !Blank(line[digits])) ||
                !Read_Int(line.substr(0, digits), 0, 0x7FFFFFFF, frame))
                return fail("a frame line begins with its frame number");
            if (ended)
                return fail("a frame line after the end");
            if (!m_lines.empty() && static_cast<uint32_t>(frame) < last_frame)
                return fail("frame " + std::to_string(frame) + " comes after frame " +
                            std::to_string(last_frame));
            // Each line is checked on the state of its place (a new frame drops the last one's motion).
            if (static_cast<uint32_t>(frame) > last_frame)
            {
                Begin_Frame(scratch);
                typed_given = false;
            }
            last_frame = static_cast<uint32_t>(frame);
            const std::string items = line.substr(digits);
            std::string why;
            if (!Apply_Items(items, scratch, ended, typed_given, why))
                return fail(why);
            m_lines.push_back({last_frame, number, items});
            if (ended)
                m_frame_count = last_frame;
            continue;
        }
        if (in_frames)
            return fail("expected a frame line (a frame number, then what changed)");

        const size_t space = line.find_first_of(" \t");
        Header_Line header{line.substr(0, space), space == std::string::npos ? "" : Trim(line.substr(space))};
        if (header.key == "pad")
        {
            // pad <index> <buttons> "<name>"
            const std::string& rest = header.rest;
            const size_t quote = rest.find('"');
            const std::vector<std::string> words = Split(Trim(rest.substr(0, quote)), ' ');
            long index = 0, buttons = 0;
            if (words.size() != 2 || !Read_Int(words[0], 0, INPUT_MAX_PADS - 1, index) ||
                !Read_Int(words[1], 0, platform::Joystick_Device::MAX_BUTTONS, buttons))
                return fail("a pad line is: pad <index> <buttons> \"<name>\"");
            if (index != static_cast<long>(m_pads.size()))
                return fail("pads are listed in order from pad 0");
            Input_Pad_Info pad;
            pad.buttons = static_cast<int>(buttons);
            if (quote != std::string::npos)
            {
                const size_t close = rest.find('"', quote + 1);
                std::snprintf(
                    pad.name, sizeof(pad.name), "%s",
                    rest.substr(quote + 1, close == std::string::npos ? std::string::npos : close - quote - 1)
                        .c_str());
            }
            m_pads.push_back(pad);
        }
        m_header.push_back(std::move(header));
    }
    if (!magic)
    {
        error = std::string("not a recording (the first line must be \"") + k_magic + "\")";
        return false;
    }
    if (!ended)
        m_frame_count = m_lines.empty() ? 0 : last_frame + 1;
    m_state = Initial_State();
    return true;
}

const char* Input_Playback::Header(const char* key) const
{
    for (const Header_Line& line : m_header)
        if (key && line.key == key)
            return line.rest.c_str();
    return nullptr;
}

std::vector<const char*> Input_Playback::Header_Lines(const char* key) const
{
    std::vector<const char*> lines;
    for (const Header_Line& line : m_header)
        if (key && line.key == key)
            lines.push_back(line.rest.c_str());
    return lines;
}

const Input_Pad_Info& Input_Playback::Pad_Info(int index) const
{
    static const Input_Pad_Info none;
    return index >= 0 && index < Pad_Count() ? m_pads[static_cast<size_t>(index)] : none;
}

Input_Frame Input_Playback::Initial_State() const
{
    Input_Frame state;
    state.pad_count = Pad_Count();
    for (int pad = 0; pad < state.pad_count; ++pad)
        state.pad_attached[pad] = true;
    return state;
}

void Input_Playback::Begin_Frame(Input_Frame& state) const
{
    state.keyboard = INPUT_READ;
    state.typed_count = 0;
    state.mouse = INPUT_READ;
    state.mouse_reading.dx = state.mouse_reading.dy = state.mouse_reading.dz = 0;
    for (int pad = 0; pad < state.pad_count; ++pad)
    {
        state.pad[pad] = state.pad_attached[pad] ? INPUT_READ : INPUT_NO_DEVICE;
        state.pad_event[pad] = 0;
    }
}

void Input_Playback::Next_Frame(Input_Frame& frame)
{
    Begin_Frame(m_state);
    bool typed_given = false;
    while (m_next_line < m_lines.size() && m_lines[m_next_line].frame == m_next_frame)
    {
        bool end = false;
        std::string error;
        Apply_Items(m_lines[m_next_line].items, m_state, end, typed_given, error); // checked when loaded
        ++m_next_line;
    }
    frame = m_state;
    ++m_next_frame;
}

bool Input_Playback::Apply_Items(const std::string& items, Input_Frame& state, bool& end, bool& typed_given,
                                 std::string& error) const
{
    std::string item;
    size_t at = 0;
    while (at < items.size())
    {
        const int pads = state.pad_count; // pads plugged in on this line count from the next item on
        while (at < items.size() && Blank(items[at]))
            ++at;
        const size_t stop = items.find_first_of(" \t\r", at);
        item = items.substr(at, stop == std::string::npos ? std::string::npos : stop - at);
        at = stop == std::string::npos ? items.size() : stop;
        if (item.empty())
            continue;
        if (item[0] == '#')
            return true; // a comment to the end of the line

        if (item[0] == '+' || item[0] == '-')
        {
            const bool down = item[0] == '+';
            const std::string name = item.substr(1);
            long value = 0;
            long key = 0; // a keyboard key's scan code
            int pad = 0;
            std::string rest;
            if (!name.empty() && name[0] == '#')
            {
                if (!Read_Int(name.substr(1), 1, 255, key))
                    return Unknown(error, "no such scan code", item);
            }
            else if (name.compare(0, 5, "mouse") == 0 && name.size() > 5)
            {
                if (!Read_Int(name.substr(5), 0, 7, value))
                    return Unknown(error, "no such mouse button", item);
                state.mouse_reading.buttons[value] = down ? 0x80 : 0;
            }
            else if (Read_Pad_Prefix(name, pads, pad, rest))
            {
                if (rest.empty() || rest[0] != 'b' ||
                    !Read_Int(rest.substr(1), 0, platform::Joystick_Device::MAX_BUTTONS - 1, value))
                    return Unknown(error, "no such pad button", item);
                state.pad_reading[pad].buttons[value] = down ? 0x80 : 0;
            }
            else if (name.compare(0, 3, "pad") == 0 && name.find('.') != std::string::npos)
                return Unknown(error, "no such pad (pads come from the header's pad lines and padN.in)",
                               item);
            else
            {
                key = Key_From_Name(name.c_str());
                if (key <= 0 || key > 255)
                    return Unknown(error, "unknown key", item);
            }
            if (key)
            {
                // A key that goes down is typed, in the order of the items, unless the frame says otherwise.
                if (down && !typed_given && !(state.keys[key] & 0x80) && state.typed_count < INPUT_MAX_TYPED)
                    state.typed[state.typed_count++] = static_cast<uint8_t>(key);
                state.keys[key] = down ? 0x80 : 0;
            }
            continue;
        }

        if (item == "end")
        {
            end = true;
            continue;
        }
        int pulled = 0;
        std::string what;
        if (Read_Pad_Prefix(item, pads, pulled, what) && what == "out")
        {
            state.pad_event[pulled] |= PAD_PULLED_OUT;
            state.pad_attached[pulled] = false;
            state.pad[pulled] = INPUT_NO_DEVICE;
            state.pad_reading[pulled] = platform::Joystick_Reading();
            continue;
        }

        const size_t equals = item.find('=');
        if (equals == std::string::npos && item.compare(0, 3, "pad") == 0 &&
            item.find('.') != std::string::npos)
            return Unknown(error, "no such pad (pads come from the header's pad lines and padN.in)", item);
        if (equals == std::string::npos)
            return Unknown(error, "unknown item", item);
        const std::string key = item.substr(0, equals);
        const std::string value = item.substr(equals + 1);
        int pad = 0;
        std::string field;
        if (key == "mouse")
        {
            const std::vector<std::string> xy = Split(value, ',');
            if (xy.size() != 2 || !Read_Float(xy[0], state.mouse_x) || !Read_Float(xy[1], state.mouse_y))
                return Unknown(error, "mouse=X,Y takes two numbers:", item);
        }
        else if (key == "move")
        {
            const std::vector<std::string> parts = Split(value, ',');
            long d[3] = {0, 0, 0};
            if (parts.size() < 2 || parts.size() > 3)
                return Unknown(error, "move=DX,DY[,DZ] takes two or three whole numbers:", item);
            for (size_t i = 0; i < parts.size(); ++i)
                if (!Read_Int(parts[i], -1000000, 1000000, d[i]))
                    return Unknown(error, "move=DX,DY[,DZ] takes two or three whole numbers:", item);
            state.mouse_reading.dx = static_cast<int32_t>(d[0]);
            state.mouse_reading.dy = static_cast<int32_t>(d[1]);
            state.mouse_reading.dz = static_cast<int32_t>(d[2]);
        }
        else if (key == "typed")
        {
            typed_given = true;
            state.typed_count = 0;
            if (value == "none" || value.empty())
                continue;
            const std::vector<std::string> names = Split(value, ',');
            if (names.size() > static_cast<size_t>(INPUT_MAX_TYPED))
                return Unknown(error, "at most 32 typed keys:", item);
            for (const std::string& name : names)
            {
                long code = 0;
                if (!name.empty() && name[0] == '#' ? !Read_Int(name.substr(1), 1, 255, code)
                                                    : (code = Key_From_Name(name.c_str())) <= 0 || code > 255)
                    return Unknown(error, "typed=KEY,KEY... takes key names or #N:", item);
                state.typed[state.typed_count++] = static_cast<uint8_t>(code);
            }
        }
        else if (key == "caps")
        {
            if (value != "0" && value != "1")
                return Unknown(error, "caps= takes 0 or 1:", item);
            state.caps_lock = value == "1";
        }
        else if (key == "touch")
        {
            state.touch_count = 0;
            if (value == "none" || value.empty())
                continue;
            const std::vector<std::string> points = Split(value, ';');
            if (points.size() > static_cast<size_t>(INPUT_MAX_TOUCH))
                return Unknown(error, "at most 10 fingers:", item);
            for (const std::string& point : points)
            {
                const std::vector<std::string> xy = Split(point, ',');
                const int i = state.touch_count;
                if (xy.size() != 2 || !Read_Float(xy[0], state.touch_x[i]) ||
                    !Read_Float(xy[1], state.touch_y[i]))
                    return Unknown(error, "touch=X,Y;X,Y... takes pairs of numbers:", item);
                ++state.touch_count;
            }
        }
        else if (key == "lost")
        {
            long index = 0;
            if (value == "keyboard")
                state.keyboard = INPUT_LOST;
            else if (value == "mouse")
                state.mouse = INPUT_LOST;
            else if (value.compare(0, 3, "pad") == 0 && Read_Int(value.substr(3), 0, pads - 1, index))
            {
                // Gone: pulled out, and read as released from now on.
                state.pad[index] = INPUT_LOST;
                state.pad_attached[index] = false;
                state.pad_reading[index] = platform::Joystick_Reading();
            }
            else
                return Unknown(error, "lost= takes keyboard, mouse or padN:", item);
        }
        else if (Read_Pad_Prefix(key, pads < INPUT_MAX_PADS ? pads + 1 : pads, pad, field) && field == "in")
        {
            // padN.in=BUTTONS,NAME: plugged into place N, or into a new place at the end.
            const size_t comma = value.find(',');
            long buttons = 0;
            Input_Pad_Info& info = state.pad_info[pad];
            if (comma == std::string::npos ||
                !Read_Int(value.substr(0, comma), 0, platform::Joystick_Device::MAX_BUTTONS, buttons) ||
                !Recording_Unword(value.substr(comma + 1), info.name, sizeof(info.name)))
                return Unknown(error, "padN.in=BUTTONS,NAME takes a button count and a name:", item);
            info.buttons = static_cast<int>(buttons);
            if (pad == state.pad_count)
                ++state.pad_count;
            state.pad_event[pad] |= PAD_PLUGGED_IN;
            state.pad_attached[pad] = true;
            state.pad[pad] = INPUT_READ;
            state.pad_reading[pad] = platform::Joystick_Reading();
        }
        else if (Read_Pad_Prefix(key, pads, pad, field))
        {
            int which = -1;
            for (int f = 0; f < PAD_FIELD_COUNT; ++f)
                if (field == k_pad_field_names[f])
                    which = f;
            const bool hat = which >= 8;
            long number = 0;
            if (which < 0)
                return Unknown(error, "no such pad axis", item);
            if (!Read_Int(value, hat ? -1 : 0, hat ? 35999 : 65535, number))
                return Unknown(error, hat ? "a hat is -1 or 0 to 35999:" : "an axis is 0 to 65535:", item);
            *Pad_Field(state.pad_reading[pad], which) = static_cast<int32_t>(number);
        }
        else if (key.compare(0, 3, "pad") == 0)
            return Unknown(error, "no such pad (pads come from the header's pad lines and padN.in)", item);
        else
            return Unknown(error, "unknown item", item);
    }
    return true;
}
