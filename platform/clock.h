// Clock: the steady high-resolution counter, the millisecond tick count, a yield for busy waits, and the
// frame clock that the engine samples, which can run in fixed steps.
#pragma once
#include <cstdint>

namespace platform
{
// Counter ticks since an arbitrary start (nanoseconds of the steady clock). Always real time.
int64_t Clock_Ticks();
// Counter ticks per second.
int64_t Clock_Frequency();
// Milliseconds since an arbitrary start; wraps like a 32-bit tick count.
uint32_t Tick_Count_Ms();
// Gives up the rest of the time slice, the way Sleep(0) does.
void Yield_Thread();

// The frame clock, what the engine's timers are computed from: the steady counter, unless the fixed-step
// clock is on. Then it is a counter of its own that stands still until Advance_Fixed_Clock moves it on, so
// every frame lasts exactly as long as the engine says, however long it really took. Sound, presentation and
// the tick count keep to real time either way.
int64_t Frame_Clock_Ticks();
// Turns the fixed-step clock on at the given reading (the same reading every run, so runs compare).
void Start_Fixed_Clock(int64_t start);
// Back to the steady counter.
void Stop_Fixed_Clock();
bool Fixed_Clock_On();
void Advance_Fixed_Clock(int64_t ticks);
} // namespace platform
