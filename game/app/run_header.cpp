// What a recording holds of the game besides its input: the header lines that set a replay up as the
// recorded game was (window, wide-screen flag, difficulty, controls, animation periods, hiscore tables),
// and the trace line of each frame.
#include "engine/core/vorta_window.h"
#include "engine/input/input_recording.h"
#include "engine/input/key_names.h"
#include "game/app/app.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

namespace
{
const char* const k_binding_names[BIND_COUNT] = {"left", "right", "up",    "down",     "fire",
                                                 "use",  "pad_x", "pad_y", "pad_fire", "pad_use"};
const char* const k_table_names[2] = {"easy", "normal"};
constexpr int32_t k_default_top[2] = {80000, 120000};
constexpr int32_t k_default_step[2] = {5000, 7500};

// The touch layout's numbers by their names in the controls line.
template <typename C> struct Touch_Numbers
{
    const char* key;
    C* values[3];
    int count;
};
template <typename Record> auto Touch_Layout(Record& c)
{
    using Number = std::remove_pointer_t<decltype(&c.stick_x)>; // const for a const record
    return std::array<Touch_Numbers<Number>, 5>{{
        {"stick", {&c.stick_x, &c.stick_y, &c.stick_radius}, 3},
        {"dead_zone", {&c.dead_zone}, 1},
        {"fire_button", {&c.fire_x, &c.fire_y}, 2},
        {"use_button", {&c.use_x, &c.use_y}, 2},
        {"button_radius", {&c.button_radius}, 1},
    }};
}

bool Fail(char* error, int size, const char* what, const char* line)
{
    std::snprintf(error, static_cast<size_t>(size), "%s: %s", what, line ? line : "");
    return false;
}

// Whole words of a header line.
std::string Word(const char*& text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    const char* start = text;
    while (*text && *text != ' ' && *text != '\t')
        ++text;
    return std::string(start, static_cast<size_t>(text - start));
}

bool Read_Long(const std::string& word, long& out)
{
    if (word.empty())
        return false;
    char* end = nullptr;
    out = std::strtol(word.c_str(), &end, 10);
    return *end == '\0';
}

bool Read_Floats(const std::string& word, float* out, int count)
{
    const char* p = word.c_str();
    for (int i = 0; i < count; ++i)
    {
        char* end = nullptr;
        out[i] = std::strtof(p, &end);
        if (end == p || (i + 1 < count ? *end != ',' : *end != '\0'))
            return false;
        p = end + 1;
    }
    return true;
}

// A key binding as a recording's key name, #N for a scan code (0 included).
bool Read_Key(const std::string& word, int32_t& out)
{
    long code = 0;
    if (!word.empty() && word[0] == '#')
    {
        if (!Read_Long(word.substr(1), code) || code < 0 || code > 255)
            return false;
        out = static_cast<int32_t>(code);
        return true;
    }
    out = Key_From_Name(word.c_str());
    return out != 0;
}

// A hiscore name between quotes, with \xHH for what is not plain printable text.
std::string Quote_Name(const char* name)
{
    std::string text = "\"";
    for (const char* c = name; *c; ++c)
    {
        const unsigned char b = static_cast<unsigned char>(*c);
        if (b < 32 || b > 126 || b == '"' || b == '\\')
        {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", b);
            text += escape;
        }
        else
            text += *c;
    }
    return text + "\"";
}

bool Unquote_Name(const char* text, char* name, int capacity)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    if (*text++ != '"')
        return false;
    int length = 0;
    for (; *text && *text != '"'; ++text)
    {
        int b = static_cast<unsigned char>(*text);
        if (b == '\\')
        {
            if (text[1] != 'x' || !std::isxdigit(static_cast<unsigned char>(text[2])) ||
                !std::isxdigit(static_cast<unsigned char>(text[3])))
                return false;
            const char hex[3] = {text[2], text[3], 0};
            b = static_cast<int>(std::strtol(hex, nullptr, 16));
            text += 3;
        }
        if (b == 0 || length >= capacity - 1)
            return false;
        name[length++] = static_cast<char>(b);
    }
    name[length] = 0;
    return *text == '"';
}
} // namespace

void App::Write_Run_Header(Input_Recorder& recorder) const
{
    char line[512];
    int width = 0, height = 0;
    if (window)
        window->Get_Render_Size(width, height);
    std::snprintf(line, sizeof line, "window %d %d", width, height);
    recorder.Add_Header_Line(line);
    std::snprintf(line, sizeof line, "wide_screen %d", wide_screen ? 1 : 0);
    recorder.Add_Header_Line(line);
    std::snprintf(line, sizeof line, "difficulty %d", difficulty);
    recorder.Add_Header_Line(line);

    std::string controls_line = "controls";
    for (int i = 0; i < BIND_COUNT; ++i)
    {
        char value[32];
        if (i <= BIND_USE)
            Recording_Key_Name(controls.bindings[i], value, sizeof value);
        else
            std::snprintf(value, sizeof value, "%d", controls.bindings[i]);
        controls_line += std::string(" ") + k_binding_names[i] + "=" + value;
    }
    std::snprintf(line, sizeof line, " pad=%d touch_visible=%d", controls.pad_index,
                  controls.touch_visible ? 1 : 0);
    controls_line += line;
    for (const auto& item : Touch_Layout(controls))
    {
        controls_line += std::string(" ") + item.key + "=";
        for (int i = 0; i < item.count; ++i)
        {
            Recording_Number(*item.values[i], line, sizeof line);
            controls_line += (i ? "," : "") + std::string(line);
        }
    }
    recorder.Add_Header_Line(controls_line.c_str());

    std::string periods = "animation";
    for (float period : anim_period)
    {
        Recording_Number(period, line, sizeof line);
        periods += std::string(" ") + line;
    }
    recorder.Add_Header_Line(periods.c_str());

    for (int table = 0; table < 2; ++table)
        for (int row = 0; row < HISCORE_ROWS; ++row)
        {
            const Hiscore_Entry& entry = hiscores[table].rows[row];
            char name[HISCORE_NAME_LENGTH + 1];
            std::snprintf(name, sizeof name, "%s", entry.name);
            std::snprintf(line, sizeof line, "hiscore %s %d %d %d %s", k_table_names[table], row, entry.score,
                          entry.level, Quote_Name(name).c_str());
            recorder.Add_Header_Line(line);
        }
}

bool App::Apply_Run_Header(const Input_Playback& playback, char* error, int size)
{
    const char* text = playback.Header("wide_screen");
    long value = 1;
    if (text && (!Read_Long(Word(text), value) || (value != 0 && value != 1)))
        return Fail(error, size, "wide_screen is 0 or 1", playback.Header("wide_screen"));
    wide_screen = value != 0;
    Set_Play_Constants();

    text = playback.Header("difficulty");
    value = DIFFICULTY_NORMAL;
    if (text && (!Read_Long(Word(text), value) || (value != DIFFICULTY_EASY && value != DIFFICULTY_NORMAL)))
        return Fail(error, size, "difficulty is 0 (easy) or 1 (normal)", playback.Header("difficulty"));
    difficulty = static_cast<int>(value);
    hiscore_table = &hiscores[difficulty];
    std::snprintf(g_difficulty_text, sizeof g_difficulty_text, "%s",
                  difficulty == DIFFICULTY_EASY ? "EASY" : "NORMAL");

    // The controls: the defaults, then what the line says.
    Controls defaults;
    defaults.save_files = false; // a record of values only: it writes no file when it goes
    std::memcpy(controls.bindings, defaults.bindings, sizeof controls.bindings);
    controls.pad_index = defaults.pad_index;
    controls.touch_visible = defaults.touch_visible;
    const auto layout = Touch_Layout(controls);
    const auto default_layout = Touch_Layout(defaults);
    for (size_t k = 0; k < layout.size(); ++k)
        for (int i = 0; i < layout[k].count; ++i)
            *layout[k].values[i] = *default_layout[k].values[i];
    if ((text = playback.Header("controls")))
        for (std::string word = Word(text); !word.empty(); word = Word(text))
        {
            const size_t equals = word.find('=');
            const std::string key = word.substr(0, equals);
            const std::string item = equals == std::string::npos ? "" : word.substr(equals + 1);
            bool ok = false;
            long number = 0;
            float numbers[3];
            for (int i = 0; i < BIND_COUNT; ++i)
                if (key == k_binding_names[i])
                {
                    if (i <= BIND_USE)
                        ok = Read_Key(item, controls.bindings[i]);
                    else if ((ok = Read_Long(item, number)))
                        controls.bindings[i] = static_cast<int32_t>(number);
                }
            for (const auto& entry : layout)
                if (key == entry.key && (ok = Read_Floats(item, numbers, entry.count)))
                    for (int i = 0; i < entry.count; ++i)
                        *entry.values[i] = numbers[i];
            if (key == "pad" && (ok = Read_Long(item, number) && number >= 0))
                controls.pad_index = static_cast<int32_t>(number);
            if (key == "touch_visible" && (ok = item == "0" || item == "1"))
                controls.touch_visible = item == "1";
            if (!ok)
                return Fail(error, size, "a controls item cannot be read", word.c_str());
        }
    // The pad the index picks among the recording's pads, as loading the controls picks it.
    Select_Pad(controls.pad_index);

    for (float& period : anim_period)
        period = 0.03125f;
    if ((text = playback.Header("animation")))
        for (float& period : anim_period)
        {
            const std::string word = Word(text);
            if (!Read_Floats(word, &period, 1) || !(period > 0.0f))
                return Fail(error, size, "animation holds 14 periods above 0", playback.Header("animation"));
        }

    // The tables: the defaults, then the rows the header holds.
    Load_Hiscores(hiscores[DIFFICULTY_EASY], "", k_default_top[DIFFICULTY_EASY],
                  k_default_step[DIFFICULTY_EASY]);
    Load_Hiscores(hiscores[DIFFICULTY_NORMAL], "", k_default_top[DIFFICULTY_NORMAL],
                  k_default_step[DIFFICULTY_NORMAL]);
    for (const char* line : playback.Header_Lines("hiscore"))
    {
        const char* cursor = line;
        const std::string table_name = Word(cursor);
        long row = 0, score = 0, level = 0;
        const int table = table_name == "easy" ? 0 : table_name == "normal" ? 1 : -1;
        Hiscore_Entry entry;
        if (table < 0 || !Read_Long(Word(cursor), row) || row < 0 || row >= HISCORE_ROWS ||
            !Read_Long(Word(cursor), score) || !Read_Long(Word(cursor), level) ||
            !Unquote_Name(cursor, entry.name, HISCORE_NAME_LENGTH + 1))
            return Fail(error, size,
                        "a hiscore line is: hiscore easy|normal <row> <score> <level> \"<name>\"", line);
        entry.score = static_cast<int32_t>(score);
        entry.level = static_cast<int32_t>(level);
        hiscores[table].rows[row] = entry;
    }
    return true;
}

void App::Trace_Line(uint32_t frame, char* text, int size) const
{
    int objects = 0, live_particles = 0, balls = 0, beams = 0;
    for (const Game_Object& object : player->objects)
        objects += object.state != OBJECT_FREE;
    for (const Particle& particle : particles)
        live_particles += particle.sprite != SPRITE_NONE;
    for (const Plasma_Ball& ball : plasma_balls)
        balls += ball.active != 0;
    for (const Laser_Beam& beam : lasers)
        beams += beam.active != 0;
    char pilot_x[32], pilot_y[32], buggy_x[32], fuel_left[32];
    Recording_Number(player->pilot_x, pilot_x, sizeof pilot_x);
    Recording_Number(player->pilot_y, pilot_y, sizeof pilot_y);
    Recording_Number(player->buggy_x, buggy_x, sizeof buggy_x);
    Recording_Number(fuel, fuel_left, sizeof fuel_left);
    std::snprintf(
        text, static_cast<size_t>(size),
        "frame=%u state=%d player=%d score=%d,%d lives=%d,%d level=%d,%d pilot=%s,%s buggy=%s fuel=%s "
        "objects=%d particles=%d plasma=%d lasers=%d",
        frame, game_state, current_player_index, players[0].score, players[1].score, players[0].lives,
        players[1].lives, players[0].level, players[1].level, pilot_x, pilot_y, buggy_x, fuel_left, objects,
        live_particles, balls, beams);
}
