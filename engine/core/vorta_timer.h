// The global clock sample and Vorta_Timer, the countdown and stopwatch that compute from it.
#pragma once
#include <cstdint>

// The one clock of the process. now changes only when Sample_Clock is called, so everything updated in
// one frame sees the same time.
struct Vorta_Clock
{
    int64_t frequency; // counter ticks per second, 0 when the counter is unavailable
    int64_t now;       // the last sample
};
extern Vorta_Clock g_vorta_clock;

// Reads the frame clock into the global now and returns it: the engine's constructor, the frame limiter
// while it waits, and (through Step_Clock) the main loop once a pass.
int64_t Sample_Clock();
// The main loop's sample. With the fixed-step clock on, the clock first moves on by exactly one frame of
// the given period (Fixed_Step_Ticks); otherwise the same as Sample_Clock.
int64_t Step_Clock(float frame_period);
// The whole number of ticks closest to the period whose length in seconds, taken as a float the way the
// frame limiter takes it, equals the period exactly; where none does, the shortest that is not below it.
// A frame of that many ticks gives the limiter a time scale of exactly 1.
int64_t Fixed_Step_Ticks(float period, int64_t frequency);

// A countdown or stopwatch in counter ticks; a plain value, copied freely.
class Vorta_Timer
{
  public:
    void Clear();
    // Starts a stopwatch.
    void Reset();
    // Starts a countdown of the given length.
    void Start(float seconds);
    // Starts the countdown again with the same length.
    void Restart();

    int64_t Elapsed_Ms() const;
    float Elapsed_Seconds() const;
    bool Expired() const;
    float Fraction_Remaining() const;
    float Progress() const { return 1.0f - Fraction_Remaining(); }

    void Pause();
    void Resume();
    bool Paused() const { return m_paused_elapsed != 0; }

  private:
    int64_t Elapsed_Ticks() const;

    int64_t m_deadline = 0;
    int64_t m_start = 0;
    int64_t m_duration = 0;
    int64_t m_paused_elapsed = 0;
};
