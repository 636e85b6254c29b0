// Gpu_Device on OpenGL 3.3 core through an SDL GL context, functions loaded with libepoxy: the context on
// its hidden window, and making it current on each swap chain's window.
#include "platform/gpu_device.h"

#include "platform/gpu_gl.h"
#include "platform/os_window.h"

#include <SDL.h>
#include <cstdio>

namespace platform
{
void Gpu_Set_Window_Attributes()
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
}

Gpu_Result Gpu_Device::Create()
{
    Destroy();
    if (!Open_Video_System())
    {
        std::snprintf(m_error, sizeof(m_error), "%s", SDL_GetError());
        return GPU_E_FAIL;
    }
    m_video_open = true;
    Gpu_Set_Window_Attributes();

    SDL_Window* window =
        SDL_CreateWindow("Vorta5 device", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window)
    {
        std::snprintf(m_error, sizeof(m_error), "%s", SDL_GetError());
        Destroy();
        return GPU_E_FAIL;
    }
    m_window = window;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context)
    {
        std::snprintf(m_error, sizeof(m_error), "%s", SDL_GetError());
        Destroy();
        return GPU_E_FAIL;
    }
    m_context = context;
    m_current_window = window;
    m_version = epoxy_gl_version();
    if (m_version < 33)
    {
        std::snprintf(m_error, sizeof(m_error), "OpenGL %d.%d is below 3.3", m_version / 10, m_version % 10);
        Destroy();
        return GPU_E_NOTIMPL;
    }
    glGenVertexArrays(1, &m_vertex_array);
    glBindVertexArray(m_vertex_array);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glDisable(GL_FRAMEBUFFER_SRGB);
    m_depth = Gpu_Depth_Desc{};
    m_blend = Gpu_Blend_Desc{};
    m_rasterizer = Gpu_Rasterizer_Desc{};
    Apply_Depth();
    Apply_Blend();
    Apply_Rasterizer();
    Clear_Gl_Errors();
    return GPU_OK;
}

void Gpu_Device::Destroy()
{
    if (m_context)
    {
        SDL_GL_MakeCurrent(static_cast<SDL_Window*>(m_window), static_cast<SDL_GLContext>(m_context));
        for (Framebuffer& framebuffer : m_framebuffers)
            glDeleteFramebuffers(1, &framebuffer.name);
        for (Program& program : m_programs)
            glDeleteProgram(program.name);
        if (m_vertex_array)
            glDeleteVertexArrays(1, &m_vertex_array);
        SDL_GL_MakeCurrent(nullptr, nullptr);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_context));
    }
    m_framebuffers.clear();
    m_programs.clear();
    m_vertex_array = 0;
    m_context = nullptr;
    if (m_window)
        SDL_DestroyWindow(static_cast<SDL_Window*>(m_window));
    m_window = nullptr;
    m_current_window = nullptr;
    if (m_video_open)
        Close_Video_System();
    m_video_open = false;
    m_colour_view = m_depth_view = nullptr;
    m_bound_framebuffer = 0;
    m_layout = nullptr;
    m_vertex_shader = m_pixel_shader = nullptr;
    m_program = 0;
    m_vertex_buffer = m_index_buffer = nullptr;
}

bool Gpu_Device::Make_Current(void* window)
{
    if (!m_context)
        return false;
    if (!window)
        window = m_window;
    // Another context (a second device, an adapter probe) may have been made current meanwhile.
    if (window == m_current_window && SDL_GL_GetCurrentContext() == m_context &&
        SDL_GL_GetCurrentWindow() == window)
        return true;
    if (SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window), static_cast<SDL_GLContext>(m_context)) != 0)
        return false;
    m_current_window = window;
    return true;
}

void Gpu_Device::Release_Window(void* window)
{
    if (window && window == m_current_window)
        Make_Current(m_window);
}
} // namespace platform
