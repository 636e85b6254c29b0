// Sources of the start-up system report: firmware and board description, processor and memory figures.
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform
{
// Firmware and board values, named as the report asks for them: "BIOSVendor", "BIOSVersion",
// "BIOSReleaseDate", "SystemManufacturer", "SystemProductName".
// True when the firmware description exists on this machine at all.
bool Firmware_Description_Available();
// Reads one value into out (always terminated). False when the value cannot be read.
bool Read_Firmware_Value(const char* name, char* out, size_t size);

// The processor's 48-character brand text from CPUID; empty when it has no brand leaves.
void Processor_Brand(char out[49]);

struct Processor_Info
{
    uint32_t oem_id = 0;
    uint32_t page_size = 0;
    uint64_t min_address = 0;
    uint64_t max_address = 0;
    uint64_t active_mask = 0;
    uint32_t processor_count = 0;
    uint32_t processor_type = 0;
};
Processor_Info Get_Processor_Info();

// Total physical memory in bytes.
uint64_t Total_Physical_Memory();
} // namespace platform
