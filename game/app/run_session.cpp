// Run_Session: options into run settings, recordings in and out, the per-frame trace, grabs and end.
#include "game/app/run_session.h"

#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_window.h"
#include "game/app/app.h"

#include <cinttypes>

Run_Session::~Run_Session()
{
    if (m_trace)
        std::fclose(m_trace);
    if (g_vorta_run.frame_hook == this)
        g_vorta_run = Vorta_Run_Settings();
}

bool Run_Session::Prepare(std::string& error)
{
    if (!m_options.replay.empty())
    {
        std::string why;
        if (!m_playback.Load(m_options.replay.c_str(), why))
        {
            error = m_options.replay + ": " + why;
            return false;
        }
        m_target = m_playback.Frame_Count();
    }
    else if (m_options.random)
        m_random = std::make_unique<Random_Input>(m_options.seed);
    if (m_options.frames > 0)
        m_target = m_options.frames;

    if (!m_options.record.empty())
    {
        if (!m_recorder.Open(m_options.record.c_str()))
        {
            error = m_options.record + ": cannot be written";
            return false;
        }
        m_recording = true;
    }
    if (!m_options.trace.empty())
    {
        m_trace = std::fopen(m_options.trace.c_str(), "wb");
        if (!m_trace)
        {
            error = m_options.trace + ": cannot be written";
            return false;
        }
    }

    // Every run with options is on the fixed-step clock: what it records or traces replays exactly.
    Vorta_Run_Settings settings;
    settings.fixed_clock = true;
    settings.headless = m_options.headless;
    settings.real_time_pacing = !m_options.headless;
    if (m_random)
        settings.input_source = m_random.get();
    else if (!m_options.replay.empty())
        settings.input_source = &m_playback;
    settings.input_tap = m_recording ? &m_recorder : nullptr;
    settings.frame_hook = this;
    g_vorta_run = settings;
    return true;
}

void Run_Session::Configure(App& app) const
{
    const bool unwatched = Replaying() || m_options.headless;
    app.skip_splash_hold = unwatched;
    app.save_files = !unwatched;
}

bool Run_Session::Start(App& app, std::string& error)
{
    if (Replaying())
    {
        // Random input plays on the defaults, as a recording without a header would.
        Input_Playback defaults;
        std::string why;
        defaults.Load_Text("kestrova-demo 1\n", why);
        char reason[512] = {};
        if (!app.Apply_Run_Header(m_random ? defaults : m_playback, reason, sizeof reason))
        {
            error = m_options.replay + ": " + reason;
            return false;
        }
    }
    if (m_recording)
        app.Write_Run_Header(m_recorder);
    if (m_target == 0 && g_vorta_engine)
        g_vorta_engine->Request_Quit();
    return true;
}

bool Run_Session::Draw_Frame(Vorta_Window* /*window*/)
{
    if (!m_options.headless || m_options.draw_all)
        return true;
    for (uint32_t grab : m_options.grab_at)
        if (grab == m_frame)
            return true;
    return false;
}

void Run_Session::Frame_Done(Vorta_Window* window)
{
    const uint32_t frame = m_frame++;
    if (m_trace && g_app)
    {
        char line[512];
        g_app->Trace_Line(frame, line, sizeof line);
        if (std::fprintf(m_trace, "%s\n", line) < 0)
            m_trace_failed = true;
    }
    for (uint32_t grab : m_options.grab_at)
        if (grab == frame && window)
        {
            char name[64];
            std::snprintf(name, sizeof name, "frame %06" PRIu32, frame);
            window->Screen_Grab(name);
            break;
        }
    for (uint32_t at : m_options.memory_at)
        if (at == frame)
        {
            std::printf("frame %" PRIu32 ": resident memory %" PRId64 " kB\n", frame, Resident_Memory_Kb());
            std::fflush(stdout);
            break;
        }
    if (m_target >= 0 && static_cast<int64_t>(m_frame) >= m_target && g_vorta_engine)
        g_vorta_engine->Request_Quit();
}

int Run_Session::Finish()
{
    int code = 0;
    if (m_recording && !m_recorder.Finish())
    {
        std::fprintf(stderr, "kestrova: %s: the recording could not be written whole\n",
                     m_options.record.c_str());
        code = 3;
    }
    m_recording = false;
    if (m_trace)
    {
        if (std::fclose(m_trace) != 0)
            m_trace_failed = true;
        m_trace = nullptr;
        if (m_trace_failed)
        {
            std::fprintf(stderr, "kestrova: %s: the trace could not be written whole\n",
                         m_options.trace.c_str());
            code = 3;
        }
    }
    if (code == 0 && m_target > 0 && static_cast<int64_t>(m_frame) < m_target)
    {
        std::fprintf(stderr, "kestrova: the run ended after %" PRIu32 " of its %" PRId64 " frames\n", m_frame,
                     m_target);
        code = 4;
    }
    return code;
}
