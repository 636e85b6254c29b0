// How the entry point asks the engine to run: normally on the real clock with the desktop's devices; for
// recorded games, replays, playtests and benchmarks on the fixed-step clock, with no visible window or
// audio device, with input from a recording instead of the devices. Set before the engine is made.
#pragma once
#include <cstdint>

class Input_Source;
class Input_Tap;
class Vorta_Window;

// Called by every window once a frame, after the game's Update and Render and the engine's own drawing,
// before the frame is presented (so a screen grab taken here holds the finished frame).
class Vorta_Frame_Hook
{
  public:
    virtual ~Vorta_Frame_Hook() = default;
    // Asked after the frame's input poll: false lets the frame skip the drawing itself (clears, draws,
    // present), for a run that nobody watches. A frame in which Print Screen went down is always drawn.
    virtual bool Draw_Frame(Vorta_Window* /*window*/) { return true; }
    virtual void Frame_Done(Vorta_Window* window) = 0;
};

struct Vorta_Run_Settings
{
    // Every main-loop pass advances the clock by exactly one frame period; the frame limiter does not wait
    // for the clock, and the frame factor is exactly 1 at the default 60 frames a second.
    bool fixed_clock = false;
    // With the fixed clock: the frame limiter still holds the frames to their period in real time, so that
    // a player can play (a machine that cannot keep up plays slower, not differently). Off: as fast as the
    // machine goes.
    bool real_time_pacing = true;
    // No visible window and no audio device (the video and audio drivers without a screen or speakers).
    bool headless = false;
    // Read by every window's input instead of the devices (borrowed).
    Input_Source* input_source = nullptr;
    // Shown every poll of every window's input, as sampled (borrowed).
    Input_Tap* input_tap = nullptr;
    // Borrowed.
    Vorta_Frame_Hook* frame_hook = nullptr;
};

// The settings of the process; the engine's constructor applies the clock and the headless drivers.
extern Vorta_Run_Settings g_vorta_run;

// The reading the fixed-step clock starts at, in seconds: the same in every run, so that two runs of one
// recording compare tick for tick.
constexpr int64_t FIXED_CLOCK_START_SECONDS = 1000;

// The working directory the program was started in (the program then works in its own folder), for the
// file names given on its command line. Never null.
const char* Launch_Directory();
// The process's resident memory in kilobytes; 0 when it cannot be read.
int64_t Resident_Memory_Kb();
