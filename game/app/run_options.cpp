// Reading the command line's options.
#include "game/app/run_options.h"

#include "engine/core/run_settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace
{
const char k_usage[] =
    "Usage: kestrova [options]\n"
    "Without options the game starts as usual. The options record, replay and trace games:\n"
    "  --record FILE      play, and write every frame's input to FILE (a text file; see README.md).\n"
    "                     The game runs on a fixed-step clock, so that the recording replays exactly.\n"
    "  --replay FILE      play the input recorded in FILE instead of the keyboard, mouse and joypads.\n"
    "  --replay random:SEED  random input instead (for soak runs), mostly starting games from the menu.\n"
    "  --headless         no visible window and no sound device; runs as fast as the machine goes,\n"
    "                     and draws only the frames it grabs.\n"
    "  --draw-all         with --headless: draw every frame all the same.\n"
    "  --frames N         stop after N frames (a replay otherwise stops at the end of its recording).\n"
    "  --trace FILE       write one line per frame: state, players, pilot, buggy, fuel, pool counts.\n"
    "  --grab-at N,M,...  save screen grabs of those frames (\"frame NNNNNN 0-000.jpg\" beside the game).\n"
    "  --memory-at N,M,...  print the resident memory after those frames.\n"
    "  --help             this text.\n"
    "Exit codes: 0 a normal end (for a replay: it reached its end), 1 a fatal error, 2 the engine could\n"
    "not start, 3 the options or their files could not be used, 4 the run ended before its end.\n";

// A file name of the command line, made full from the folder the program was started in.
std::string Full_Path(const char* name)
{
    if (name[0] == '/')
        return name;
    std::string path = Launch_Directory();
    if (path.empty())
        return name;
    if (path.back() != '/')
        path += '/';
    return path + name;
}

bool Read_Number(const char* text, int64_t low, int64_t high, int64_t& out)
{
    if (!text || !*text || *text == '-' || *text == '+')
        return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high)
        return false;
    out = value;
    return true;
}

bool Read_Frame_List(const char* text, std::vector<uint32_t>& out)
{
    out.clear();
    std::string list = text;
    size_t start = 0;
    for (;;)
    {
        const size_t comma = list.find(',', start);
        const std::string item =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int64_t frame = 0;
        if (!Read_Number(item.c_str(), 0, 0xFFFFFFFFll, frame))
            return false;
        out.push_back(static_cast<uint32_t>(frame));
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}
} // namespace

bool Run_Options::Any() const
{
    return help || !record.empty() || !replay.empty() || random || headless || draw_all || frames > 0 ||
           !trace.empty() || !grab_at.empty() || !memory_at.empty();
}

const char* Run_Usage()
{
    return k_usage;
}

bool Parse_Run_Options(int argc, const char* const* argv, Run_Options& options, std::string& error)
{
    options = Run_Options();
    for (int i = 1; i < argc; ++i)
    {
        std::string option = argv[i] ? argv[i] : "";
        std::string value;
        bool has_value = false;
        const size_t equals = option.find('=');
        if (option.compare(0, 2, "--") == 0 && equals != std::string::npos)
        {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
            has_value = true;
        }
        auto take_value = [&]() -> bool
        {
            if (has_value)
                return !value.empty() || (error = option + " needs a value", false);
            if (i + 1 >= argc || !argv[i + 1] || !*argv[i + 1])
            {
                error = option + " needs a value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        if (option == "--help" || option == "-h")
            options.help = true;
        else if (option == "--headless")
            options.headless = true;
        else if (option == "--draw-all")
            options.draw_all = true;
        else if (option == "--record")
        {
            if (!take_value())
                return false;
            options.record = Full_Path(value.c_str());
        }
        else if (option == "--replay")
        {
            if (!take_value())
                return false;
            if (value.compare(0, 7, "random:") == 0)
            {
                int64_t seed = 0;
                if (!Read_Number(value.c_str() + 7, 0, 0xFFFFFFFFll, seed))
                {
                    error = "--replay random:SEED takes a whole number from 0 to 4294967295";
                    return false;
                }
                options.random = true;
                options.seed = static_cast<uint32_t>(seed);
                options.replay.clear();
            }
            else
            {
                options.replay = Full_Path(value.c_str());
                options.random = false;
            }
        }
        else if (option == "--frames")
        {
            if (!take_value())
                return false;
            if (!Read_Number(value.c_str(), 1, 0xFFFFFFFFll, options.frames))
            {
                error = "--frames takes a whole number of frames above 0";
                return false;
            }
        }
        else if (option == "--trace")
        {
            if (!take_value())
                return false;
            options.trace = Full_Path(value.c_str());
        }
        else if (option == "--grab-at" || option == "--memory-at")
        {
            if (!take_value())
                return false;
            if (!Read_Frame_List(value.c_str(), option == "--grab-at" ? options.grab_at : options.memory_at))
            {
                error = option + " takes frame numbers separated by commas";
                return false;
            }
        }
        else
        {
            error = "unknown option \"" + std::string(argv[i] ? argv[i] : "") + "\"";
            return false;
        }
    }
    if (!options.record.empty() && options.record == options.replay)
    {
        error = "--record and --replay name the same file";
        return false;
    }
    return true;
}
