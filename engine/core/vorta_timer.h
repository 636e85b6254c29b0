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

// Reads the counter into the global now and returns it.
int64_t Sample_Clock();

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
