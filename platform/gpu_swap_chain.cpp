// Gpu_Swap_Chain: framebuffer back buffers copied to the SDL window's GL surface at present.
#include "platform/gpu_swap_chain.h"

#include <SDL.h>
#include <epoxy/gl.h>

namespace platform
{
Gpu_Result Gpu_Swap_Chain::Create(Gpu_Device& device, const Os_Window& window, int width, int height,
                                  int samples)
{
    Destroy();
    if (!device.Created() || !window.Is_Open() || width <= 0 || height <= 0 || samples < 1)
        return GPU_E_INVALIDARG;
    SDL_Window* sdl_window = static_cast<SDL_Window*>(window.Handle());
    if (!(SDL_GetWindowFlags(sdl_window) & SDL_WINDOW_OPENGL))
        return GPU_E_INVALIDARG;
    m_device = &device;
    m_window = sdl_window;
    if (!Make_Current())
    {
        m_device = nullptr;
        m_window = nullptr;
        return GPU_E_FAIL;
    }
    m_width = width;
    m_height = height;
    Gpu_Texture_Desc desc;
    desc.width = static_cast<uint32_t>(width);
    desc.height = static_cast<uint32_t>(height);
    desc.format = GPU_FORMAT_R8G8B8A8_UNORM;
    desc.bind_flags = GPU_BIND_RENDER_TARGET;
    desc.sample_count = static_cast<uint32_t>(samples);
    desc.sample_quality = samples > 1 ? GPU_STANDARD_MULTISAMPLE_PATTERN : 0;
    Gpu_Result result = device.Create_Texture(desc, nullptr, 0, m_back_buffer);
    if (!Gpu_Failed(result) && samples > 1)
    {
        desc.sample_count = 1;
        desc.sample_quality = 0;
        result = device.Create_Texture(desc, nullptr, 0, m_resolved);
    }
    if (Gpu_Failed(result))
        Destroy();
    return result;
}

void Gpu_Swap_Chain::Destroy()
{
    m_resolved.reset();
    m_back_buffer.reset();
    if (m_device)
        m_device->Release_Window(m_window);
    m_device = nullptr;
    m_window = nullptr;
    m_sync_interval = -1;
}

bool Gpu_Swap_Chain::Make_Current()
{
    return m_device && m_device->Make_Current(m_window);
}

const Gpu_Texture* Gpu_Swap_Chain::Resolved()
{
    if (!m_resolved)
        return m_back_buffer.get();
    m_device->Resolve(m_resolved.get(), m_back_buffer.get());
    return m_resolved.get();
}

Gpu_Result Gpu_Swap_Chain::Present(int sync_interval)
{
    if (!m_back_buffer || !Make_Current())
        return GPU_ERROR_INVALID_CALL;
    if (m_device->Output_Discarded())
        return GPU_OK;
    const Gpu_Texture* picture = Resolved();
    unsigned from = m_device->Framebuffer_For(picture, nullptr);
    if (!from)
        return GPU_E_FAIL;
    if (sync_interval != m_sync_interval)
    {
        SDL_GL_SetSwapInterval(sync_interval);
        m_sync_interval = sync_interval;
    }
    int window_width = m_width, window_height = m_height;
    SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(m_window), &window_width, &window_height);
    GLint bound = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    // The back buffer keeps its top row first; the window's lower-left origin needs it turned over.
    glBlitFramebuffer(0, 0, m_width, m_height, 0, window_height, window_width, 0, GL_COLOR_BUFFER_BIT,
                      GL_LINEAR);
    SDL_GL_SwapWindow(static_cast<SDL_Window*>(m_window));
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(bound));
    return glGetError() == GL_NO_ERROR ? GPU_OK : GPU_E_FAIL;
}

bool Gpu_Swap_Chain::Read_Back_Buffer(std::vector<uint8_t>& rgba)
{
    rgba.clear();
    if (!m_back_buffer || !Make_Current())
        return false;
    return m_device->Read_Pixels(Resolved(), rgba);
}
} // namespace platform
