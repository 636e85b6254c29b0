// Adapter enumeration and its log.
#include "engine/render/d3d_adapter.h"

#include "engine/core/vorta_log.h"
#include "engine/render/d3d_device.h"

#include <new>
#include <vector>

bool D3D_Adapter::Enum(int number)
{
    Release();
    index = number;
    platform::Video_System_Use video; // one connection to the display for the whole enumeration
    platform::Gpu_Adapter_Desc desc;
    if (!platform::Gpu_Describe_Adapter(number, desc))
        return false;
    Print_Message("\n  Video hardware");
    memory = static_cast<int>(desc.dedicated_memory >> 20);
    std::snprintf(name, sizeof(name), "%s", desc.name);
    Print_Message("\n");
    Print_Message("    Hardware name    %s\n", name);
    Print_Message("    Memory           %d MB\n", memory);
    int found = 0;
    for (int j = 0; j < MAX_OUTPUTS; ++j)
    {
        platform::Gpu_Output_Desc probe;
        if (!platform::Gpu_Describe_Output(number, j, probe))
            continue;
        if (Describe_Output(j, outputs[found]))
            ++found;
    }
    if (found == 0)
    {
        Print_Message("    Failed to enumerate any outputs!!!\n\n");
        return false;
    }
    output_count = found;
    return true;
}

bool D3D_Adapter::Describe_Output(int number, D3D_Output& out)
{
    Print_Message("\n  Display %d", number);
    if (!platform::Gpu_Describe_Output(index, number, out.desc))
    {
        Print_Message("  - Failed to get descriptor!!!\n");
        return false;
    }
    const platform::Rect& r = out.desc.desktop;
    Print_Message("\n");
    Print_Message("    name     ");
    Print_Message("%s", out.desc.device_name);
    Print_Message("\n");
    Print_Message("    position %d, %d\n", r.left, r.top);
    Print_Message("    size     %d, %d\n", r.right - r.left, r.bottom - r.top);
    Print_Message("    Get display mode list... ");
    std::vector<platform::Gpu_Display_Mode> modes;
    if (!platform::Gpu_Output_Modes(index, number, modes))
    {
        Print_Message("Failed - GetDisplayModeList!!!\n");
        return false;
    }
    delete[] out.modes;
    out.modes = nullptr;
    out.mode_count = 0;
    if (!modes.empty())
    {
        out.modes = new (std::nothrow) platform::Gpu_Display_Mode[modes.size()];
        if (!out.modes)
        {
            Print_Message("Failed - new DXGI_MODE_DESC!!!\n");
            return false;
        }
        for (size_t i = 0; i < modes.size(); ++i)
            out.modes[i] = modes[i];
        out.mode_count = static_cast<uint32_t>(modes.size());
    }
    for (uint32_t i = 0; i < out.mode_count; ++i)
    {
        const platform::Gpu_Display_Mode& mode = out.modes[i];
        Print_Message("\n");
        if (mode.refresh_denominator == 1)
            Print_Message("      %d x %d at %d hz", mode.width, mode.height, mode.refresh_numerator);
        else
            Print_Message("      %d x %d at %d hz (n/d)", mode.width, mode.height,
                          mode.refresh_denominator ? mode.refresh_numerator / mode.refresh_denominator : 0);
    }
    Print_Message("\n");
    return true;
}

void D3D_Adapter::Release()
{
    delete device;
    device = nullptr;
    for (D3D_Output& output : outputs)
    {
        delete[] output.modes;
        output = D3D_Output{};
    }
    output_count = 0;
    memory = 0;
    name[0] = '\0';
}

const D3D_Output* D3D_Adapter::Get_Output(int number) const
{
    return number >= 0 && number < output_count ? &outputs[number] : nullptr;
}

bool D3D_Adapter::Get_Desktop(int number, platform::Rect& out) const
{
    const D3D_Output* output = Get_Output(number);
    if (!output)
        return false;
    out = output->desc.desktop;
    return true;
}
