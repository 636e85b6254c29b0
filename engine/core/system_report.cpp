// The start-up system report: firmware, board, processor and memory, written to the log.
#include "engine/core/vorta_log.h"

#include "platform/system_info.h"

namespace
{
void Report_Value(const char* name, const char* line)
{
    char value[256];
    if (platform::Read_Firmware_Value(name, value, sizeof(value)))
        Print_Message(line, value);
}
} // namespace

void System_Report()
{
    Print_Message("System infomation\n");

    if (platform::Firmware_Description_Available())
    {
        Print_Message("  BIOS infomation\n");
        Report_Value("BIOSVendor", "    Manufacturer:    %s\n");
        Report_Value("BIOSVersion", "    Version:         %s\n");
        Report_Value("BIOSReleaseDate", "    Release Date:    %s\n");
        Print_Message("\n  Motherboard\n");
        Report_Value("SystemManufacturer", "    Manufacturer:    %s\n");
        Report_Value("SystemProductName", "    Name:            %s\n");
    }

    Print_Message("\n  Processor\n");
    char brand[49];
    platform::Processor_Brand(brand);
    Print_Message("    Type:            %s\n", brand);

    platform::Processor_Info info = platform::Get_Processor_Info();
    Print_Message("    Number of Cores: %d\n", static_cast<int>(info.processor_count));
    Print_Message("    OEM ID:          %u\n", info.oem_id);
    Print_Message("    Page size:       %u\n", info.page_size);
    Print_Message("    Type:            %u\n", info.processor_type);
    Print_Message("    Active mask:     %u\n", static_cast<unsigned>(info.active_mask));

    Print_Message("\n  Memory\n");
    Print_Message("    Total Memory:    %d MB\n", static_cast<int>(platform::Total_Physical_Memory() >> 20));
    Print_Message("    Minimum address: %lx\n", static_cast<unsigned long>(info.min_address));
    Print_Message("    Maximum address: %lx\n", static_cast<unsigned long>(info.max_address));
}
