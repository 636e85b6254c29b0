// Processor load of the whole machine in percent, measured between two readings of /proc/stat.
#pragma once
#include <cstdint>

namespace platform
{
class Cpu_Load_Counter
{
  public:
    // source: the statistics file to read; null means "/proc/stat".
    explicit Cpu_Load_Counter(const char* source = nullptr);

    // Takes the first reading. False when the source cannot be read.
    bool Open();
    // Takes a reading and gives the load since the previous one. False when the source cannot be read.
    bool Collect(int32_t& percent);
    void Close();

  private:
    bool Read(uint64_t& busy, uint64_t& total) const;

    char m_source[256];
    bool m_open = false;
    uint64_t m_busy = 0;
    uint64_t m_total = 0;
};
} // namespace platform
