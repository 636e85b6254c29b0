// Global clock and Vorta_Timer.
#include "engine/core/vorta_timer.h"

#include "platform/clock.h"

#include <initializer_list>

Vorta_Clock g_vorta_clock = {platform::Clock_Frequency(), platform::Clock_Ticks()};

int64_t Sample_Clock()
{
    g_vorta_clock.now = platform::Frame_Clock_Ticks();
    return g_vorta_clock.now;
}

int64_t Step_Clock(float frame_period)
{
    if (platform::Fixed_Clock_On())
    {
        // The step of the last period asked for is kept: the period changes only by the console's slowdown.
        static float last_period = -1.0f;
        static int64_t last_frequency = 0;
        static int64_t step = 0;
        if (frame_period != last_period || g_vorta_clock.frequency != last_frequency)
        {
            last_period = frame_period;
            last_frequency = g_vorta_clock.frequency;
            step = Fixed_Step_Ticks(frame_period, g_vorta_clock.frequency);
        }
        platform::Advance_Fixed_Clock(step);
    }
    return Sample_Clock();
}

int64_t Fixed_Step_Ticks(float period, int64_t frequency)
{
    if (!(period > 0.0f) || frequency <= 0)
        return 0;
    auto seconds = [frequency](int64_t ticks)
    { return static_cast<float>(static_cast<double>(ticks) / static_cast<double>(frequency)); };
    const int64_t nearest =
        static_cast<int64_t>(static_cast<double>(period) * static_cast<double>(frequency) + 0.5);
    // Nearest first, then outwards: the exact one closest to the period.
    for (int64_t offset = 0; offset <= 2; ++offset)
        for (int64_t ticks : {nearest - offset, nearest + offset})
            if (ticks > 0 && seconds(ticks) == period)
                return ticks;
    int64_t ticks = nearest > 1 ? nearest - 1 : 1;
    while (seconds(ticks) < period)
        ++ticks;
    return ticks;
}

void Vorta_Timer::Clear()
{
    m_deadline = m_start = m_duration = m_paused_elapsed = 0;
}

void Vorta_Timer::Reset()
{
    m_start = m_deadline = g_vorta_clock.now;
    m_duration = 0;
    m_paused_elapsed = 0;
}

void Vorta_Timer::Start(float seconds)
{
    m_start = g_vorta_clock.now;
    m_paused_elapsed = 0;
    m_duration = static_cast<int64_t>(static_cast<double>(g_vorta_clock.frequency) * seconds);
    m_deadline = g_vorta_clock.now + m_duration;
}

void Vorta_Timer::Restart()
{
    m_start = g_vorta_clock.now;
    m_deadline = g_vorta_clock.now + m_duration;
    m_paused_elapsed = 0;
}

int64_t Vorta_Timer::Elapsed_Ticks() const
{
    return m_paused_elapsed ? m_paused_elapsed : g_vorta_clock.now - m_start;
}

int64_t Vorta_Timer::Elapsed_Ms() const
{
    if (g_vorta_clock.frequency <= 0)
        return 0;
    // Split so that long runs of nanosecond ticks cannot overflow the product.
    int64_t ticks = Elapsed_Ticks();
    int64_t f = g_vorta_clock.frequency;
    return ticks / f * 1000 + ticks % f * 1000 / f;
}

float Vorta_Timer::Elapsed_Seconds() const
{
    if (g_vorta_clock.frequency <= 0)
        return 0.0f;
    return static_cast<float>(static_cast<double>(Elapsed_Ticks()) /
                              static_cast<double>(g_vorta_clock.frequency));
}

bool Vorta_Timer::Expired() const
{
    if (m_duration == 0)
        return true;
    if (m_paused_elapsed)
        return m_paused_elapsed >= m_duration;
    return g_vorta_clock.now >= m_deadline;
}

float Vorta_Timer::Fraction_Remaining() const
{
    if (g_vorta_clock.frequency <= 0 || m_duration <= 0)
        return 0.0f;
    if (m_paused_elapsed)
    {
        float f = static_cast<float>(static_cast<double>(m_duration - m_paused_elapsed) / m_duration);
        return f < 0.0f ? 0.0f : f;
    }
    if (g_vorta_clock.now > m_deadline)
        return 0.0f;
    return static_cast<float>(static_cast<double>(m_deadline - g_vorta_clock.now) / m_duration);
}

void Vorta_Timer::Pause()
{
    m_paused_elapsed = g_vorta_clock.now - m_start;
    if (m_paused_elapsed == 0)
        m_paused_elapsed = 1; // a paused timer is always recognisable
}

void Vorta_Timer::Resume()
{
    if (!m_paused_elapsed)
        return;
    m_start = g_vorta_clock.now - m_paused_elapsed;
    m_deadline = g_vorta_clock.now + m_duration - m_paused_elapsed;
    m_paused_elapsed = 0;
}
