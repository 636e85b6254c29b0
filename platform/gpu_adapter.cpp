// Adapter, output and mode enumeration on SDL2 and a probing GL context.
#include "platform/gpu_adapter.h"

#include "platform/gpu_device.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <epoxy/gl.h>

namespace platform
{
namespace
{
constexpr uint32_t k_common_modes[][2] = {{640, 480},   {720, 480},   {720, 576},  {800, 600},  {1024, 768},
                                          {1152, 864},  {1280, 720},  {1280, 768}, {1280, 800}, {1280, 960},
                                          {1280, 1024}, {1360, 768},  {1366, 768}, {1440, 900}, {1600, 900},
                                          {1600, 1200}, {1680, 1050}, {1920, 1080}};
} // namespace

bool Gpu_Mode_Before(const Gpu_Display_Mode& a, const Gpu_Display_Mode& b)
{
    if (a.width != b.width)
        return a.width < b.width;
    if (a.height != b.height)
        return a.height < b.height;
    // a.num / a.den < b.num / b.den
    return static_cast<uint64_t>(a.refresh_numerator) * b.refresh_denominator <
           static_cast<uint64_t>(b.refresh_numerator) * a.refresh_denominator;
}

bool Gpu_Describe_Adapter(int adapter, Gpu_Adapter_Desc& out)
{
    out = Gpu_Adapter_Desc{};
    if (adapter != 0)
        return false;
    Video_System_Use video;
    if (!video.Open())
        return false;
    // The probe leaves the GL set-up of windows and any current context as it found them.
    SDL_Window* previous_window = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous_context = SDL_GL_GetCurrentContext();
    Gpu_Set_Window_Attributes();
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window)
        return false;
    bool found = false;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context)
    {
        const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        std::snprintf(out.name, sizeof(out.name), "%s", renderer ? renderer : "OpenGL renderer");
        GLint kilobytes = 0;
        if (epoxy_has_gl_extension("GL_NVX_gpu_memory_info"))
            glGetIntegerv(GL_GPU_MEMORY_INFO_DEDICATED_VIDMEM_NVX, &kilobytes);
        else if (epoxy_has_gl_extension("GL_ATI_meminfo"))
        {
            GLint free_memory[4] = {};
            glGetIntegerv(GL_TEXTURE_FREE_MEMORY_ATI, free_memory);
            kilobytes = free_memory[0];
        }
        out.dedicated_memory = static_cast<uint64_t>(std::max(kilobytes, 0)) * 1024;
        found = epoxy_gl_version() >= 33;
        SDL_GL_MakeCurrent(previous_window, previous_context);
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(window);
    return found;
}

bool Gpu_Describe_Output(int adapter, int output, Gpu_Output_Desc& out)
{
    out = Gpu_Output_Desc{};
    if (adapter != 0)
        return false;
    Video_System_Use video;
    if (!video.Open() || output < 0 || output >= SDL_GetNumVideoDisplays())
        return false;
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(output, &bounds) != 0)
        return false;
    const char* name = SDL_GetDisplayName(output);
    std::snprintf(out.device_name, sizeof(out.device_name), "%s", name ? name : "");
    out.desktop = {bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
    return true;
}

bool Gpu_Output_Modes(int adapter, int output, std::vector<Gpu_Display_Mode>& out)
{
    out.clear();
    if (adapter != 0)
        return false;
    Video_System_Use video;
    if (!video.Open() || output < 0 || output >= SDL_GetNumVideoDisplays())
        return false;
    int count = SDL_GetNumDisplayModes(output);
    for (int i = 0; i < count; ++i)
    {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(output, i, &mode) != 0 || mode.w <= 0 || mode.h <= 0)
            continue;
        Gpu_Display_Mode entry;
        entry.width = static_cast<uint32_t>(mode.w);
        entry.height = static_cast<uint32_t>(mode.h);
        entry.refresh_numerator = mode.refresh_rate > 0 ? static_cast<uint32_t>(mode.refresh_rate) : 60;
        out.push_back(entry);
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    bool screenless = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (out.empty() || screenless)
    {
        out.clear();
        for (const auto& size : k_common_modes)
        {
            Gpu_Display_Mode entry;
            entry.width = size[0];
            entry.height = size[1];
            entry.refresh_numerator = 60;
            out.push_back(entry);
        }
    }
    else
    {
        // A desktop display lists the sizes a window or a scaled full-screen mode can have up to its
        // largest mode, as the Windows adapter does; a virtual or single-mode screen reports only its own
        // size, so the common sizes that fit are added (at 60 Hz) where the device did not list them.
        uint32_t widest = 0, tallest = 0;
        for (const Gpu_Display_Mode& mode : out)
        {
            widest = std::max(widest, mode.width);
            tallest = std::max(tallest, mode.height);
        }
        const size_t listed = out.size();
        for (const auto& size : k_common_modes)
        {
            if (size[0] > widest || size[1] > tallest)
                continue;
            bool present = false;
            for (size_t i = 0; i < listed && !present; ++i)
                present = out[i].width == size[0] && out[i].height == size[1];
            if (present)
                continue;
            Gpu_Display_Mode entry;
            entry.width = size[0];
            entry.height = size[1];
            entry.refresh_numerator = 60;
            out.push_back(entry);
        }
    }
    std::sort(out.begin(), out.end(), Gpu_Mode_Before);
    // The same size and rate in several pixel formats is one mode here.
    out.erase(std::unique(out.begin(), out.end(),
                          [](const Gpu_Display_Mode& a, const Gpu_Display_Mode& b)
                          { return !Gpu_Mode_Before(a, b) && !Gpu_Mode_Before(b, a); }),
              out.end());
    return true;
}
} // namespace platform
