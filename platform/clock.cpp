// Clock on std::chrono::steady_clock.
#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace platform
{
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
} // namespace platform
