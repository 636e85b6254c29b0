// CPU_Monitor: the machine's processor load, sampled at most once a second.
#pragma once
#include "platform/cpu_load.h"

#include <cstdint>

class CPU_Monitor
{
  public:
    // source: the statistics file to read; null for the machine's own.
    explicit CPU_Monitor(const char* source = nullptr) : m_counter(source) {}

    // Starts measuring; the monitor is disabled when the load cannot be measured.
    void Open();
    void Open_At(uint32_t now_ms);
    // Takes a new sample when more than a second has passed since the last one.
    void Update();
    void Update_At(uint32_t now_ms);
    void Close();

    // The last load in percent; 0 while disabled.
    int32_t Get_Load() const { return m_enabled ? m_load : 0; }
    bool Enabled() const { return m_enabled; }

  private:
    platform::Cpu_Load_Counter m_counter;
    bool m_enabled = false;
    uint32_t m_last_sample_ms = 0;
    int32_t m_load = 0;
};
