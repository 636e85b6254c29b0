// Clock: the steady high-resolution counter, the millisecond tick count and a yield for busy waits.
#pragma once
#include <cstdint>

namespace platform
{
// Counter ticks since an arbitrary start (nanoseconds of the steady clock).
int64_t Clock_Ticks();
// Counter ticks per second.
int64_t Clock_Frequency();
// Milliseconds since an arbitrary start; wraps like a 32-bit tick count.
uint32_t Tick_Count_Ms();
// Gives up the rest of the time slice, the way Sleep(0) does.
void Yield_Thread();
} // namespace platform
