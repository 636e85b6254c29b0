// The game's own data as the build leaves it beside the program: every sound effect decodes through the
// engine's WAVE reader and peaks near full scale without clipping or clicking, every song plays 90 s in
// the game's player without ending or falling silent, the level script holds only level tokens and
// numbers in a rising curve, and the default settings hold every key the game reads.
#include "engine/audio/wave_file.h"
#include "engine/core/config_list.h"
#include "engine/core/no_case.h"
#include "engine/core/text_file.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

using test_support::Read_File;
using test_support::Scratch_Folder;
namespace fs = std::filesystem;

namespace
{
enum class Kind
{
    Sound,
    Song,
    Levels,
    Settings
};

struct Data_File
{
    Kind kind;
    const char* name; // below the program's folder
};

const Data_File k_files[] = {
    {Kind::Sound, "data/sounds/laser.wav"},
    {Kind::Sound, "data/sounds/plazma.wav"},
    {Kind::Sound, "data/sounds/explosion 1.wav"},
    {Kind::Sound, "data/sounds/explosion 2.wav"},
    {Kind::Sound, "data/sounds/explosion 3.wav"},
    {Kind::Sound, "data/sounds/explosion 4.wav"},
    {Kind::Sound, "data/sounds/explosion 5.wav"},
    {Kind::Sound, "data/sounds/thrust3.wav"},
    {Kind::Sound, "data/sounds/pickup.wav"},
    {Kind::Sound, "data/sounds/teleport.wav"},
    {Kind::Sound, "data/sounds/extra life.wav"},
    {Kind::Song, "data/sounds/loseme2.xm"},
    {Kind::Song, "data/sounds/fear_mon.xm"},
    {Kind::Song, "data/sounds/breath.xm"},
    {Kind::Levels, "data/levels.txt"},
    {Kind::Settings, "config.txt"},
};

void PrintTo(const Data_File& file, std::ostream* out)
{
    *out << file.name;
}

std::vector<int16_t> Decode(const std::string& path, platform::Wave_Format& format)
{
    CWaveFile wave;
    std::vector<int16_t> samples;
    if (!wave.Open(path.c_str()))
        return samples;
    format = *wave.Get_Format();
    samples.resize(wave.Get_Size() / 2);
    uint32_t read = 0;
    if (!wave.Read(reinterpret_cast<uint8_t*>(samples.data()), wave.Get_Size(), &read))
        samples.clear();
    samples.resize(read / 2);
    return samples;
}

void Check_Sound(const std::string& path)
{
    platform::Wave_Format format;
    std::vector<int16_t> samples = Decode(path, format);
    ASSERT_FALSE(samples.empty()) << "the engine's WAVE reader cannot read it";
    EXPECT_EQ(format.format_tag, platform::WAVE_FORMAT_PCM);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.bits_per_sample, 16);
    // The teleport is bent up by as much as 100000 Hz over its rate, so it is made at a low one.
    if (path.find("teleport") != std::string::npos)
        EXPECT_LE(format.samples_per_sec, 22050u);
    else
        EXPECT_EQ(format.samples_per_sec, 44100u);
    int peak = 0;
    for (int16_t s : samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 0.79 * 32767) << "quieter than -2 dBFS";
    EXPECT_LT(peak, 0.95 * 32767) << "no headroom: it may clip";
    // Starting, ending or (the looped teleport and the restarted jet) repeating must not click.
    EXPECT_LT(std::abs(samples.front()), 330) << "starts on a click";
    EXPECT_LT(std::abs(samples.back()), 330) << "ends on a click";
    EXPECT_LT(std::abs(samples.back() - samples.front()), 660) << "the repeat clicks";
}

void Check_Song(const std::string& path)
{
    std::string xm = Read_File(path);
    ASSERT_GT(xm.size(), 336u);
    int channels = static_cast<unsigned char>(xm[68]) | static_cast<unsigned char>(xm[69]) << 8;
    EXPECT_GE(channels, 6);
    // The game's player renders until the song comes round to its restart position or 90 s have gone.
    Scratch_Folder scratch;
    std::string wav = scratch.File("song.wav");
    std::string command = std::string("'") + VORTA5_XM_TOOL + "' render '" + path + "' '" + wav +
                          "' --rate 44100 --seconds 90 > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::string pcm = Read_File(wav);
    ASSERT_GT(pcm.size(), 44u);
    const size_t frames = (pcm.size() - 44) / 4;
    EXPECT_EQ(frames, 90u * 44100) << "the song ends before 90 s";
    // No two seconds without sound: the loudness of every 2-s window stays above -50 dBFS.
    const int16_t* s = reinterpret_cast<const int16_t*>(pcm.data() + 44);
    const size_t window = 2 * 44100;
    for (size_t start = 0; start + window <= frames; start += 44100 / 4)
    {
        double sum = 0;
        for (size_t i = start; i < start + window; ++i)
            sum += (static_cast<double>(s[2 * i]) * s[2 * i] +
                    static_cast<double>(s[2 * i + 1]) * s[2 * i + 1]) /
                   2;
        double rms = std::sqrt(sum / window) / 32768.0;
        ASSERT_GT(rms, 0.00316) << "silent from " << start / 44100.0 << " s";
    }
}

// Words of the level script as the game reads them (the engine's word rule); a "//" word comments out
// the rest of its line.
void Check_Levels(const std::string& path)
{
    static const char* tokens[] = {"teleport1",       "teleport2",   "gun",       "max_level",
                                   "level",           "location",    "fire_rate", "max_meteor",
                                   "max_green_block", "max_bounce",  "max_cross", "max_spinner",
                                   "max_sparkle",     "max_blob",    "max_dog",   "max_magnetic",
                                   "max_tubular",     "max_shooter", "max_saturn"};
    Text_File file;
    ASSERT_TRUE(file.Load(path.c_str(), WORD_BLANKS));
    std::map<int, std::map<std::string, double>> levels;
    int level = 0, level_count = 0;
    char word[512];
    for (uint32_t at = file.Get_Position(); file.Read_Word(word, sizeof word); at = file.Get_Position())
    {
        if (std::string(word).rfind("//", 0) == 0)
        {
            file.Set_Position(at);
            file.Read_Line(word, sizeof word);
            continue;
        }
        char* end = nullptr;
        double number = std::strtod(word, &end);
        if (*word && !*end)
        {
            ADD_FAILURE() << "a number where a token belongs: " << word;
            continue;
        }
        std::string token;
        for (const char* t : tokens)
            if (Equal_No_Case(word, t))
                token = t;
        ASSERT_FALSE(token.empty()) << "unrecognised token \"" << word << "\" in level " << level;
        ASSERT_TRUE(file.Read_Word(word, sizeof word)) << token << " has no value";
        number = std::strtod(word, &end);
        ASSERT_TRUE(*word && !*end) << token << " " << word << " is not a number";
        if (token == "max_level")
            level_count = static_cast<int>(number);
        else if (token == "level")
            level = static_cast<int>(number);
        else if (level > 0)
            levels[level][token] = number;
    }
    ASSERT_GE(level_count, 16);
    ASSERT_EQ(static_cast<int>(levels.size()), level_count);
    EXPECT_EQ(levels.begin()->first, 1);
    int kinds_before = 0;
    for (auto& [n, values] : levels)
    {
        double aliens = 0;
        int kinds = 0;
        for (auto& [key, value] : values)
            if (key.rfind("max_", 0) == 0)
                aliens += value, kinds += value > 0;
        EXPECT_LE(aliens, 60) << "level " << n << ": the 100 object slots would not hold its base";
        EXPECT_GE(kinds, kinds_before) << "level " << n << " drops an alien kind";
        kinds_before = kinds;
        ASSERT_TRUE(values.count("location") && values.count("fire_rate")) << "level " << n;
        if (n > 1)
        {
            EXPECT_GE(std::fabs(values["location"]), std::fabs(levels[n - 1]["location"])) << "level " << n;
            EXPECT_LE(values["fire_rate"], levels[n - 1]["fire_rate"]) << "level " << n;
        }
    }
    EXPECT_EQ(levels[1].size(), 4u) << "level 1 has meteors and green blocks only";
    EXPECT_GT(levels[1]["max_meteor"], 0);
    EXPECT_GT(levels[1]["max_green_block"], 0);
    EXPECT_EQ(kinds_before, 12) << "the last level has all twelve kinds";
}

void Check_Settings(const std::string& built)
{
    // What the build writes when there is no settings file yet; the copy beside the program may since
    // have been changed by the game or by hand.
    EXPECT_TRUE(fs::exists(built));
    Config_List list;
    ASSERT_TRUE(Load_Config(list, VORTA5_DEFAULT_CONFIG));
    const std::map<std::string, std::string> exact = {{"device", "0"},          {"display", "0"},
                                                      {"screen_width", "1280"}, {"screen_height", "720"},
                                                      {"full_screen", "false"}, {"vsync", "true"}};
    for (const auto& [key, value] : exact)
    {
        const Config_Entry* entry = Find_Config(list, key.c_str());
        ASSERT_NE(entry, nullptr) << key;
        EXPECT_STREQ(entry->value.text, value.c_str()) << key;
    }
    for (const char* key : {"fps_bomb", "fps_teleporter", "fps_meteor", "fps_Green_Block", "fps_bounce",
                            "fps_cross", "fps_spinner", "fps_sparkle", "fps_blob", "fps_dog", "fps_magnetic",
                            "fps_tubular", "fps_shooter", "fps_saturn"})
    {
        const Config_Entry* entry = Find_Config(list, key);
        ASSERT_NE(entry, nullptr) << key;
        EXPECT_GE(entry->value.number, 8.0f) << key;
        EXPECT_LE(entry->value.number, 60.0f) << key;
    }
}

class Game_Data : public testing::TestWithParam<Data_File>
{
};
} // namespace

TEST_P(Game_Data, IsWhatTheGameNeeds)
{
    const std::string path = (fs::path(VORTA5_RUNTIME_DIR) / GetParam().name).string();
    switch (GetParam().kind)
    {
    case Kind::Sound:
        Check_Sound(path);
        break;
    case Kind::Song:
        Check_Song(path);
        break;
    case Kind::Levels:
        Check_Levels(path);
        break;
    case Kind::Settings:
        Check_Settings(path);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Game_Data, testing::ValuesIn(k_files),
                         [](const testing::TestParamInfo<Data_File>& info)
                         {
                             std::string name = fs::path(info.param.name).stem().string();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });
