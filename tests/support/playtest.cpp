// Playtest: the game in a scratch folder on a demo, and its trace parsed.
#include "support/playtest.h"

#include <gtest/gtest.h>

#include <sstream>

namespace test_support
{
namespace
{
bool Parse_Line(const std::string& line, Trace_Frame& out)
{
    out = Trace_Frame();
    out.line = line;
    int used = 0;
    const int fields =
        std::sscanf(line.c_str(),
                    "frame=%u state=%d player=%d score=%d,%d lives=%d,%d level=%d,%d pilot=%f,%f "
                    "buggy=%f fuel=%f objects=%d particles=%d plasma=%d lasers=%d%n",
                    &out.frame, &out.state, &out.player, &out.score[0], &out.score[1], &out.lives[0],
                    &out.lives[1], &out.level[0], &out.level[1], &out.pilot_x, &out.pilot_y, &out.buggy_x,
                    &out.fuel, &out.objects, &out.particles, &out.plasma, &out.lasers, &used);
    return fields == 17 && static_cast<size_t>(used) == line.size();
}
} // namespace

std::vector<Trace_Frame> Read_Trace(const std::string& path)
{
    std::vector<Trace_Frame> frames;
    std::istringstream text(Read_File(path));
    std::string line;
    while (std::getline(text, line))
    {
        Trace_Frame frame;
        if (!Parse_Line(line, frame))
        {
            ADD_FAILURE() << path << ": not a trace line: " << line;
            continue;
        }
        if (frame.frame != frames.size())
            ADD_FAILURE() << path << ": frame " << frame.frame << " where " << frames.size() << " was due";
        frames.push_back(frame);
    }
    return frames;
}

Playtest::Playtest() : m_program(m_folder) {}

int Playtest::Run(const std::string& demo, const std::vector<std::string>& extra, double seconds)
{
    Write_File(m_folder.File("demo.txt"), demo);
    std::vector<std::string> arguments = {"--headless", "--replay", m_folder.File("demo.txt"), "--trace",
                                          m_folder.File("trace.txt")};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return Run_With(arguments, m_folder.File("trace.txt"), {}, seconds);
}

int Playtest::Run_With(const std::vector<std::string>& arguments, const std::string& trace_file,
                       const std::vector<std::string>& environment, double seconds)
{
    m_trace.clear();
    m_program.Capture_Output(m_folder.File("output.txt"));
    if (!m_program.Start(environment, arguments))
        return -1;
    const int code = m_program.Wait(seconds);
    if (!trace_file.empty())
        m_trace = Read_Trace(trace_file);
    return code;
}

int Playtest::First_Frame_In_State(int state, uint32_t from) const
{
    return First_Frame([state](const Trace_Frame& frame) { return frame.state == state; }, from);
}

int Playtest::First_Frame(const std::function<bool(const Trace_Frame&)>& match, uint32_t from) const
{
    for (const Trace_Frame& frame : m_trace)
        if (frame.frame >= from && match(frame))
            return static_cast<int>(frame.frame);
    return -1;
}

} // namespace test_support
