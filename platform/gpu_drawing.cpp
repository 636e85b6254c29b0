// Gpu_Device drawing: render targets and their framebuffers, viewport, clears, resolves and read-back,
// shader inputs (resources, samplers, constant buffers, vertex and index buffers) and draws.
#include "platform/gpu_device.h"

#include "platform/gpu_gl.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace platform
{
unsigned Gpu_Device::Framebuffer_For(const Gpu_Texture* colour, const Gpu_Texture* depth)
{
    unsigned colour_name = colour ? colour->Name() : 0;
    unsigned depth_name = depth ? depth->Name() : 0;
    if (!colour_name && !depth_name)
        return 0;
    for (const Framebuffer& framebuffer : m_framebuffers)
        if (framebuffer.colour == colour_name && framebuffer.depth == depth_name)
            return framebuffer.name;
    Framebuffer framebuffer;
    framebuffer.colour = colour_name;
    framebuffer.depth = depth_name;
    glGenFramebuffers(1, &framebuffer.name);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.name);
    if (colour)
    {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour->Target(), colour_name, 0);
        glDrawBuffer(GL_COLOR_ATTACHMENT0);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
    }
    else
    {
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
    }
    if (depth)
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, depth->Target(), depth_name, 0);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
    Clear_Gl_Errors();
    if (!complete)
    {
        glDeleteFramebuffers(1, &framebuffer.name);
        return 0;
    }
    m_framebuffers.push_back(framebuffer);
    return framebuffer.name;
}

void Gpu_Device::Forget_Texture(unsigned name)
{
    for (auto it = m_framebuffers.begin(); it != m_framebuffers.end();)
    {
        if (it->colour == name || it->depth == name)
        {
            if (it->name == m_bound_framebuffer)
            {
                m_bound_framebuffer = 0;
                glBindFramebuffer(GL_FRAMEBUFFER, 0);
            }
            glDeleteFramebuffers(1, &it->name);
            it = m_framebuffers.erase(it);
        }
        else
        {
            ++it;
        }
    }
    if (m_colour_view && m_colour_view->Texture()->Name() == name)
        m_colour_view = nullptr;
    if (m_depth_view && m_depth_view->Texture()->Name() == name)
        m_depth_view = nullptr;
}

uint64_t Gpu_View::Next_Serial()
{
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

Gpu_View::~Gpu_View()
{
    if (m_texture && m_texture->m_device)
        m_texture->m_device->Forget_View(this);
}

void Gpu_Device::Forget_View(const Gpu_View* view)
{
    // The framebuffer stays bound: it belongs to the texture, which outlives the view.
    if (m_colour_view == view)
        m_colour_view = nullptr;
    if (m_depth_view == view)
        m_depth_view = nullptr;
}

void Gpu_Device::Set_Targets(const Gpu_View* colour, const Gpu_View* depth)
{
    m_colour_view = colour;
    m_depth_view = depth;
    m_bound_framebuffer =
        Framebuffer_For(colour ? colour->Texture() : nullptr, depth ? depth->Texture() : nullptr);
    glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
}

void Gpu_Device::Set_Viewport(float x, float y, float width, float height, float min_depth, float max_depth)
{
    // Targets keep their top row first, so the viewport's top-left corner is GL's lower-left corner.
    glViewport(static_cast<GLint>(x), static_cast<GLint>(y), static_cast<GLsizei>(width),
               static_cast<GLsizei>(height));
    glDepthRange(min_depth, max_depth);
}

void Gpu_Device::Restore_Write_Masks()
{
    uint8_t mask = m_blend.write_mask;
    glColorMask(mask & 1, mask & 2, mask & 4, mask & 8);
    glDepthMask(m_depth.depth_enable && m_depth.depth_write ? GL_TRUE : GL_FALSE);
    glStencilMask(m_depth.stencil_write_mask);
}

void Gpu_Device::Clear_Target(const Gpu_View* colour, const float rgba[4])
{
    if (m_output_discarded)
        return;
    if (!colour || colour->Get_Kind() != Gpu_View::Kind::render_target)
        return;
    unsigned framebuffer = Framebuffer_For(colour->Texture(), nullptr);
    if (!framebuffer)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearBufferfv(GL_COLOR, 0, rgba);
    Restore_Write_Masks();
    glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
}

void Gpu_Device::Clear_Depth_Stencil(const Gpu_View* depth, bool clear_depth, float value, bool clear_stencil,
                                     uint8_t stencil)
{
    if (m_output_discarded)
        return;
    if (!depth || depth->Get_Kind() != Gpu_View::Kind::depth_stencil || (!clear_depth && !clear_stencil))
        return;
    unsigned framebuffer = Framebuffer_For(nullptr, depth->Texture());
    if (!framebuffer)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    if (clear_depth && clear_stencil)
        glClearBufferfi(GL_DEPTH_STENCIL, 0, value, stencil);
    else if (clear_depth)
        glClearBufferfv(GL_DEPTH, 0, &value);
    else
    {
        GLint s = stencil;
        glClearBufferiv(GL_STENCIL, 0, &s);
    }
    Restore_Write_Masks();
    glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
}

void Gpu_Device::Resolve(const Gpu_Texture* destination, const Gpu_Texture* source)
{
    if (m_output_discarded)
        return;
    if (!destination || !source)
        return;
    unsigned from = Framebuffer_For(source, nullptr);
    unsigned to = Framebuffer_For(destination, nullptr);
    if (!from || !to)
        return;
    GLint width = std::min(source->Desc().width, destination->Desc().width);
    GLint height = std::min(source->Desc().height, destination->Desc().height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
}

bool Gpu_Device::Read_Pixels(const Gpu_Texture* texture, std::vector<uint8_t>& rgba)
{
    rgba.clear();
    if (!texture || texture->Target() != GL_TEXTURE_2D)
        return false;
    uint32_t format = texture->Desc().format;
    if (format != GPU_FORMAT_R8G8B8A8_UNORM && format != GPU_FORMAT_B8G8R8A8_UNORM &&
        format != GPU_FORMAT_B8G8R8X8_UNORM)
        return false;
    const Gpu_Texture_Desc& desc = texture->Desc();
    rgba.resize(static_cast<size_t>(desc.width) * desc.height * 4);
    Clear_Gl_Errors();
    if (desc.bind_flags & GPU_BIND_RENDER_TARGET)
    {
        unsigned framebuffer = Framebuffer_For(texture, nullptr);
        if (!framebuffer)
            return false;
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
        glReadPixels(0, 0, desc.width, desc.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
    }
    else
    {
        glActiveTexture(GL_TEXTURE0 + k_max_units);
        glBindTexture(GL_TEXTURE_2D, texture->Name());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTexture(GL_TEXTURE0);
    }
    if (Gpu_Failed(Gl_Result()))
    {
        rgba.clear();
        return false;
    }
    return true;
}

void Gpu_Device::Finish()
{
    if (m_context)
        glFinish();
}

void Gpu_Device::Set_Pixel_Views(int first, int count, const Gpu_View* const* views)
{
    for (int i = 0; i < count; ++i)
    {
        int unit = first + i;
        if (unit < 0 || unit >= k_max_units)
            continue;
        const Gpu_View* view = views ? views[i] : nullptr;
        glActiveTexture(GL_TEXTURE0 + unit);
        // A unit holds one texture per target: clear the others so that only this view is seen.
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
        glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, 0);
        if (view && view->Get_Kind() == Gpu_View::Kind::shader_resource)
            glBindTexture(view->Texture()->Target(), view->Texture()->Name());
    }
    glActiveTexture(GL_TEXTURE0);
}

void Gpu_Device::Set_Pixel_Samplers(int first, int count, const Gpu_Sampler* const* samplers)
{
    for (int i = 0; i < count; ++i)
    {
        int unit = first + i;
        if (unit >= 0 && unit < k_max_units)
            glBindSampler(unit, samplers && samplers[i] ? samplers[i]->m_name : 0);
    }
}

void Gpu_Device::Set_Constant_Buffer(Gpu_Stage stage, int slot, const Gpu_Buffer* buffer)
{
    if (slot < 0 || slot >= k_max_slots)
        return;
    glBindBufferBase(GL_UNIFORM_BUFFER, (stage == Gpu_Stage::pixel ? k_pixel_constant_base : 0) + slot,
                     buffer ? buffer->Name() : 0);
}

void Gpu_Device::Set_Shaders(const Gpu_Input_Layout* layout, const Gpu_Shader* vertex,
                             const Gpu_Shader* pixel)
{
    m_layout = layout;
    m_vertex_shader = vertex;
    m_pixel_shader = pixel;
}

void Gpu_Device::Set_Vertex_Buffer(const Gpu_Buffer* buffer, unsigned stride, unsigned offset)
{
    m_vertex_buffer = buffer;
    m_vertex_stride = stride;
    m_vertex_offset = offset;
}

void Gpu_Device::Set_Index_Buffer(const Gpu_Buffer* buffer)
{
    m_index_buffer = buffer;
}

void Gpu_Device::Bind_Vertex_Input()
{
    glBindVertexArray(m_vertex_array);
    GLint attributes = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributes);
    for (GLint i = 0; i < attributes; ++i)
        glDisableVertexAttribArray(i);
    glBindBuffer(GL_ARRAY_BUFFER, m_vertex_buffer ? m_vertex_buffer->Name() : 0);
    if (m_vertex_buffer && m_layout)
    {
        for (const Gpu_Input_Layout::Element& element : m_layout->Elements())
        {
            GLint location = glGetAttribLocation(m_program, element.attribute.c_str());
            if (location < 0)
                continue;
            glEnableVertexAttribArray(location);
            glVertexAttribPointer(
                location, element.components, GL_FLOAT, GL_FALSE, m_vertex_stride,
                reinterpret_cast<const void*>(static_cast<uintptr_t>(m_vertex_offset + element.offset)));
        }
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_index_buffer ? m_index_buffer->Name() : 0);
}

void Gpu_Device::Draw_Indexed(unsigned index_count, unsigned first_index, int base_vertex)
{
    if (m_output_discarded)
        return;
    if (!m_index_buffer || !m_vertex_buffer || index_count == 0 ||
        (static_cast<size_t>(first_index) + index_count) * 4 > m_index_buffer->Size())
        return;
    m_program = Program_For(m_vertex_shader, m_pixel_shader, nullptr);
    if (!m_program)
        return;
    glUseProgram(m_program);
    Bind_Vertex_Input();
    glDrawElementsBaseVertex(GL_TRIANGLES, index_count, GL_UNSIGNED_INT,
                             reinterpret_cast<const void*>(static_cast<uintptr_t>(first_index) * 4),
                             base_vertex);
}

void Gpu_Device::Draw(unsigned vertex_count, unsigned first_vertex)
{
    if (m_output_discarded)
        return;
    if (!m_vertex_buffer || vertex_count == 0)
        return;
    m_program = Program_For(m_vertex_shader, m_pixel_shader, nullptr);
    if (!m_program)
        return;
    glUseProgram(m_program);
    Bind_Vertex_Input();
    glDrawArrays(GL_TRIANGLES, first_vertex, vertex_count);
}
} // namespace platform
