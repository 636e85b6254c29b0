// Clock on std::chrono::steady_clock, and the fixed-step frame clock.
#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace platform
{
namespace
{
// Touched by the main thread only.
bool g_fixed_on = false;
int64_t g_fixed_now = 0;
} // namespace

int64_t Clock_Ticks()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t Clock_Frequency()
{
    return 1000000000;
}

uint32_t Tick_Count_Ms()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Yield_Thread()
{
    std::this_thread::yield();
}

int64_t Frame_Clock_Ticks()
{
    return g_fixed_on ? g_fixed_now : Clock_Ticks();
}

void Start_Fixed_Clock(int64_t start)
{
    g_fixed_on = true;
    g_fixed_now = start;
}

void Stop_Fixed_Clock()
{
    g_fixed_on = false;
}

bool Fixed_Clock_On()
{
    return g_fixed_on;
}

void Advance_Fixed_Clock(int64_t ticks)
{
    g_fixed_now += ticks;
}
} // namespace platform
