// Video adapters, their outputs and display modes. The adapter is the GL renderer of this machine; its
// outputs are the desktop's displays, and their modes are listed the DXGI way: ascending width, then
// height, then refresh rate.
#pragma once
#include "platform/gpu_types.h"
#include "platform/os_window.h"

#include <vector>

namespace platform
{
struct Gpu_Adapter_Desc
{
    char name[128] = {};
    uint64_t dedicated_memory = 0; // bytes; 0 when the driver does not tell
};

struct Gpu_Display_Mode
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t refresh_numerator = 0;
    uint32_t refresh_denominator = 1;
    uint32_t format = GPU_FORMAT_R8G8B8A8_UNORM;
    uint32_t scanline_order = 0;
    uint32_t scaling = 0;
};

struct Gpu_Output_Desc
{
    char device_name[32] = {};
    Rect desktop;
    bool attached = true;
    int rotation = 1; // identity
};

// Describes adapter n. False when there is no such adapter (only adapter 0 exists, and only where a GL
// 3.3 context can be made).
bool Gpu_Describe_Adapter(int adapter, Gpu_Adapter_Desc& out);
// Describes output n of an adapter; false when it has no such output.
bool Gpu_Describe_Output(int adapter, int output, Gpu_Output_Desc& out);
// The output's display modes in DXGI order. Where the video driver knows no mode of its own (a screenless
// driver), the common modes from 640 x 480 to 1920 x 1080 at 60 Hz.
bool Gpu_Output_Modes(int adapter, int output, std::vector<Gpu_Display_Mode>& out);

// DXGI's order of modes: width, then height, then refresh rate (as a fraction), ascending.
bool Gpu_Mode_Before(const Gpu_Display_Mode& a, const Gpu_Display_Mode& b);
} // namespace platform
