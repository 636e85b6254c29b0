// Playtests: the real game run headless on a short demo (a recording written by hand, see README.md),
// and its trace read back frame by frame for the test to assert on.
#pragma once
#include "support/program_runner.h"
#include "support/test_files.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace test_support
{
// One line of the game's trace: the state after the frame's Update and Render.
struct Trace_Frame
{
    uint32_t frame = 0;
    int state = 0;
    int player = 0; // the current player, 0 or 1
    int score[2] = {}, lives[2] = {}, level[2] = {};
    float pilot_x = 0, pilot_y = 0, buggy_x = 0, fuel = 0;
    int objects = 0, particles = 0, plasma = 0, lasers = 0;
    std::string line; // as written
};

// The trace file's lines; a line that is not a trace line fails the calling test (and is left out).
std::vector<Trace_Frame> Read_Trace(const std::string& path);

class Playtest
{
  public:
    // A scratch folder with a copy of the game in it. The settings are the game's defaults unless the test
    // writes its own config.txt (Folder().File("config.txt")) before running.
    Playtest();

    // Writes the demo as demo.txt and runs "kestrova --headless --replay demo.txt --trace trace.txt" with the
    // extra arguments; returns the exit code (-1 when it did not end within the time). The trace is then in
    // Trace(), the program's output in Output().
    int Run(const std::string& demo, const std::vector<std::string>& extra = {}, double seconds = 180.0);
    // The same for any arguments (file names are the caller's); the trace, when asked for, is read from
    // trace_file.
    int Run_With(const std::vector<std::string>& arguments, const std::string& trace_file = "",
                 const std::vector<std::string>& environment = {}, double seconds = 180.0);

    const std::vector<Trace_Frame>& Trace() const { return m_trace; }
    // The first frame at or after `from` in the state, or whose trace line matches; -1 when there is none.
    int First_Frame_In_State(int state, uint32_t from = 0) const;
    int First_Frame(const std::function<bool(const Trace_Frame&)>& match, uint32_t from = 0) const;
    const Scratch_Folder& Folder() const { return m_folder; }
    std::string Output() const { return Read_File(m_folder.File("output.txt")); }
    std::string Log() const { return Read_File(m_folder.File("sys_log.txt")); }

  private:
    Scratch_Folder m_folder;
    Program_Run m_program; // copies the game into the folder once
    std::vector<Trace_Frame> m_trace;
};

} // namespace test_support
