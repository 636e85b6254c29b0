// Run_Session: what the entry point does with the command line's options around the usual start-up and
// main loop: the input source and the recorder, the run settings, the header of a recording, and once a
// frame the trace line, the screen grabs, the memory figures and the end of the run.
#pragma once
#include "engine/core/run_settings.h"
#include "engine/input/input_recording.h"
#include "game/app/random_input.h"
#include "game/app/run_options.h"

#include <cstdio>
#include <memory>
#include <string>

class App;

class Run_Session final : public Vorta_Frame_Hook
{
  public:
    explicit Run_Session(const Run_Options& options) : m_options(options) {}
    ~Run_Session() override;
    Run_Session(const Run_Session&) = delete;
    Run_Session& operator=(const Run_Session&) = delete;

    // Before the engine is made: reads the recording, creates the output files and sets the run settings.
    // False with the reason.
    bool Prepare(std::string& error);
    // Before App::Initialize: no splash hold for a replay, and no saves at exit.
    void Configure(App& app) const;
    // After App::Initialize: a replay sets the game up from its header, a recording writes its header.
    bool Start(App& app, std::string& error);
    // After the main loop: closes the files; the exit code (0, or 3 when a file could not be written, or 4
    // when the run ended before its end, each with a line on standard error).
    int Finish();

    // Every frame of a watched run; of a headless one, the frames it grabs (all with --draw-all).
    bool Draw_Frame(Vorta_Window* window) override;
    void Frame_Done(Vorta_Window* window) override;

    uint32_t Frames_Done() const { return m_frame; }

  private:
    bool Replaying() const { return !m_options.replay.empty() || m_options.random; }

    const Run_Options& m_options;
    Input_Playback m_playback;
    std::unique_ptr<Random_Input> m_random;
    Input_Recorder m_recorder;
    bool m_recording = false;
    std::FILE* m_trace = nullptr;
    bool m_trace_failed = false;
    uint32_t m_frame = 0;
    int64_t m_target = -1; // frames the run is long; -1 no end of its own
};
