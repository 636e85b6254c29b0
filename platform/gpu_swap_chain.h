// The picture a window shows: a back buffer (multisampled when asked) that the renderer draws into, a
// single-sampled copy of it, and presentation to the window with its swap interval.
#pragma once
#include "platform/gpu_device.h"
#include "platform/os_window.h"

namespace platform
{
class Gpu_Swap_Chain
{
  public:
    Gpu_Swap_Chain() = default;
    Gpu_Swap_Chain(const Gpu_Swap_Chain&) = delete;
    Gpu_Swap_Chain& operator=(const Gpu_Swap_Chain&) = delete;
    ~Gpu_Swap_Chain() { Destroy(); }

    // A back buffer of width x height in R8G8B8A8_UNORM with `samples` samples for the window. The window
    // must have been created after the device (it shares the device's GL set-up).
    Gpu_Result Create(Gpu_Device& device, const Os_Window& window, int width, int height, int samples);
    void Destroy();

    // The back buffer (buffer 0) as a texture the renderer binds as a render target.
    Gpu_Texture* Back_Buffer() const { return m_back_buffer.get(); }
    // Makes the device's context draw for this window.
    bool Make_Current();
    // Shows the back buffer in the window: sync interval 1 waits for the display's refresh, 0 does not.
    Gpu_Result Present(int sync_interval);
    // The back buffer's current picture as RGBA bytes, top row first.
    bool Read_Back_Buffer(std::vector<uint8_t>& rgba);

  private:
    // Brings the single-sampled copy up to date with the back buffer; returns it.
    const Gpu_Texture* Resolved();

    Gpu_Device* m_device = nullptr;
    void* m_window = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_sync_interval = -1;
    std::unique_ptr<Gpu_Texture> m_back_buffer;
    std::unique_ptr<Gpu_Texture> m_resolved; // only when the back buffer is multisampled
};

// Writes RGBA pixels (top row first) as a JPEG file. False when the file cannot be written.
bool Save_Jpeg(const char* path, int width, int height, const std::vector<uint8_t>& rgba, int quality);
} // namespace platform
