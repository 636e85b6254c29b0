// CPU_Monitor over the platform's load counter.
#include "engine/core/cpu_monitor.h"

#include "platform/clock.h"

void CPU_Monitor::Open()
{
    Open_At(platform::Tick_Count_Ms());
}

void CPU_Monitor::Open_At(uint32_t now_ms)
{
    m_enabled = m_counter.Open();
    m_last_sample_ms = now_ms;
    m_load = 0;
}

void CPU_Monitor::Update()
{
    Update_At(platform::Tick_Count_Ms());
}

void CPU_Monitor::Update_At(uint32_t now_ms)
{
    // Unsigned difference: correct across the wrap of the 32-bit tick count.
    if (!m_enabled || now_ms - m_last_sample_ms <= 1000u)
        return;
    m_last_sample_ms = now_ms;
    int32_t load = 0;
    if (m_counter.Collect(load))
        m_load = load;
}

void CPU_Monitor::Close()
{
    if (!m_enabled)
        return;
    m_counter.Close();
    m_enabled = false;
}
