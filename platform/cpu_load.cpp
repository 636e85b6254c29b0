// Processor load from the aggregate "cpu" line of /proc/stat.
#include "platform/cpu_load.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace platform
{
Cpu_Load_Counter::Cpu_Load_Counter(const char* source)
{
    std::snprintf(m_source, sizeof(m_source), "%s", source ? source : "/proc/stat");
}

bool Cpu_Load_Counter::Read(uint64_t& busy, uint64_t& total) const
{
    FILE* file = std::fopen(m_source, "r");
    if (!file)
        return false;
    char line[512];
    bool ok = false;
    if (std::fgets(line, sizeof(line), file) && std::strncmp(line, "cpu ", 4) == 0)
    {
        // user nice system idle iowait irq softirq steal
        uint64_t v[8] = {};
        int n = std::sscanf(line + 4,
                            "%" SCNu64 " %" SCNu64 " %" SCNu64 " %" SCNu64 " %" SCNu64 " %" SCNu64 " %" SCNu64
                            " %" SCNu64,
                            &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7]);
        if (n >= 4)
        {
            total = 0;
            for (uint64_t x : v)
                total += x;
            busy = total - v[3] - v[4];
            ok = true;
        }
    }
    std::fclose(file);
    return ok;
}

bool Cpu_Load_Counter::Open()
{
    m_open = Read(m_busy, m_total);
    return m_open;
}

bool Cpu_Load_Counter::Collect(int32_t& percent)
{
    uint64_t busy = 0, total = 0;
    if (!m_open || !Read(busy, total))
        return false;
    uint64_t d_total = total - m_total;
    uint64_t d_busy = busy - m_busy;
    m_busy = busy;
    m_total = total;
    percent = d_total ? static_cast<int32_t>((d_busy * 100 + d_total / 2) / d_total) : 0;
    return true;
}

void Cpu_Load_Counter::Close()
{
    m_open = false;
}
} // namespace platform
