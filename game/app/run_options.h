// The program's command-line options: recording, replaying and tracing games, headless runs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Run_Options
{
    bool help = false;
    std::string record;  // --record FILE: write the input of every frame
    std::string replay;  // --replay FILE: the input of a recording instead of the devices
    bool random = false; // --replay random:SEED: random input instead
    uint32_t seed = 0;
    bool headless = false;         // --headless: no visible window, no sound device, as fast as it goes
    bool draw_all = false;         // --draw-all: a headless run draws every frame, not only the grabbed ones
    int64_t frames = 0;            // --frames N: stop after N frames (0: no limit of its own)
    std::string trace;             // --trace FILE: one line per frame
    std::vector<uint32_t> grab_at; // --grab-at N,M,...: screen grabs of those frames
    std::vector<uint32_t> memory_at; // --memory-at N,M,...: resident memory after those frames

    // True when any option was given: without one the program runs as it always has.
    bool Any() const;
};

// Reads the options (file names relative to the folder the program was started in become full paths).
// False with the reason when they cannot be used.
bool Parse_Run_Options(int argc, const char* const* argv, Run_Options& options, std::string& error);
// The text of --help.
const char* Run_Usage();
