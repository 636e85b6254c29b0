// System report sources on Linux: /sys/class/dmi/id, CPUID, sysconf, sysinfo and the affinity mask.
#include "platform/system_info.h"

#include <cstdio>
#include <cstring>
#include <sched.h>
#include <sys/stat.h>
#include <sys/sysinfo.h>
#include <unistd.h>
#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace platform
{
namespace
{
const char* const k_dmi_folder = "/sys/class/dmi/id";

const char* Dmi_File(const char* name)
{
    static const struct
    {
        const char* name;
        const char* file;
    } table[] = {{"BIOSVendor", "bios_vendor"},
                 {"BIOSVersion", "bios_version"},
                 {"BIOSReleaseDate", "bios_date"},
                 {"SystemManufacturer", "board_vendor"},
                 {"SystemProductName", "product_name"}};
    for (const auto& entry : table)
        if (std::strcmp(entry.name, name) == 0)
            return entry.file;
    return nullptr;
}
} // namespace

bool Firmware_Description_Available()
{
    struct stat st;
    return stat(k_dmi_folder, &st) == 0 && S_ISDIR(st.st_mode);
}

bool Read_Firmware_Value(const char* name, char* out, size_t size)
{
    if (!out || size == 0)
        return false;
    out[0] = 0;
    const char* file = Dmi_File(name);
    if (!file)
        return false;
    char path[256];
    std::snprintf(path, sizeof(path), "%s/%s", k_dmi_folder, file);
    FILE* f = std::fopen(path, "r");
    if (!f)
        return false;
    bool ok = std::fgets(out, static_cast<int>(size), f) != nullptr;
    std::fclose(f);
    if (!ok)
    {
        out[0] = 0;
        return false;
    }
    size_t len = std::strlen(out);
    while (len > 0 && (out[len - 1] == '\n' || out[len - 1] == '\r'))
        out[--len] = 0;
    return true;
}

void Processor_Brand(char out[49])
{
    std::memset(out, 0, 49);
#if defined(__x86_64__) || defined(__i386__)
    unsigned int regs[4] = {};
    __cpuid(0x80000000u, regs[0], regs[1], regs[2], regs[3]);
    if (regs[0] < 0x80000004u)
        return;
    for (unsigned int leaf = 0; leaf < 3; ++leaf)
    {
        __cpuid(0x80000002u + leaf, regs[0], regs[1], regs[2], regs[3]);
        std::memcpy(out + leaf * 16, regs, 16);
    }
#endif
}

Processor_Info Get_Processor_Info()
{
    Processor_Info info;
    info.page_size = static_cast<uint32_t>(sysconf(_SC_PAGESIZE));
    long count = sysconf(_SC_NPROCESSORS_ONLN);
    info.processor_count = count > 0 ? static_cast<uint32_t>(count) : 1;

    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof(set), &set) == 0)
        for (int i = 0; i < 64; ++i)
            if (CPU_ISSET(i, &set))
                info.active_mask |= uint64_t{1} << i;

    // The lowest address a program may map, and the top of user space.
    info.min_address = 0x10000;
    if (FILE* f = std::fopen("/proc/sys/vm/mmap_min_addr", "r"))
    {
        unsigned long long v = 0;
        if (std::fscanf(f, "%llu", &v) == 1 && v > 0)
            info.min_address = v;
        std::fclose(f);
    }
#if defined(__x86_64__)
    info.oem_id = 9;            // the x64 architecture number
    info.processor_type = 8664; // the AMD64 processor type number
    info.max_address = 0x7ffffffeffffull;
#elif defined(__aarch64__)
    info.oem_id = 12;
    info.processor_type = 0;
    info.max_address = 0xfffffffeffffull;
#else
    info.max_address = 0x7ffeffff;
#endif
    return info;
}

uint64_t Total_Physical_Memory()
{
    struct sysinfo si;
    if (sysinfo(&si) != 0)
        return 0;
    return static_cast<uint64_t>(si.totalram) * si.mem_unit;
}
} // namespace platform
