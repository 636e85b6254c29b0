// Gpu_Device fixed-function states: depth and stencil, blending and rasterizing, set as GL state.
#include "platform/gpu_device.h"

#include "platform/gpu_gl.h"

namespace platform
{
namespace
{
GLenum Gl_Compare(Gpu_Compare compare)
{
    static const GLenum table[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                                   GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    return table[static_cast<int>(compare)];
}

GLenum Gl_Stencil_Op(Gpu_Stencil_Op op)
{
    static const GLenum table[] = {GL_KEEP, GL_ZERO,   GL_REPLACE,   GL_INCR,
                                   GL_DECR, GL_INVERT, GL_INCR_WRAP, GL_DECR_WRAP};
    return table[static_cast<int>(op)];
}

GLenum Gl_Blend(Gpu_Blend blend)
{
    static const GLenum table[] = {GL_ZERO,      GL_ONE,
                                   GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR,
                                   GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                                   GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
                                   GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR};
    return table[static_cast<int>(blend)];
}

GLenum Gl_Blend_Op(Gpu_Blend_Op op)
{
    static const GLenum table[] = {GL_FUNC_ADD, GL_FUNC_SUBTRACT, GL_FUNC_REVERSE_SUBTRACT, GL_MIN, GL_MAX};
    return table[static_cast<int>(op)];
}
} // namespace

void Gpu_Device::Apply_Depth()
{
    const Gpu_Depth_Desc& d = m_depth;
    if (d.depth_enable)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthFunc(Gl_Compare(d.depth_function));
    if (d.stencil_enable)
        glEnable(GL_STENCIL_TEST);
    else
        glDisable(GL_STENCIL_TEST);
    glStencilFuncSeparate(GL_FRONT, Gl_Compare(d.front.function), static_cast<GLint>(m_stencil_reference),
                          d.stencil_read_mask);
    glStencilFuncSeparate(GL_BACK, Gl_Compare(d.back.function), static_cast<GLint>(m_stencil_reference),
                          d.stencil_read_mask);
    glStencilOpSeparate(GL_FRONT, Gl_Stencil_Op(d.front.fail), Gl_Stencil_Op(d.front.depth_fail),
                        Gl_Stencil_Op(d.front.pass));
    glStencilOpSeparate(GL_BACK, Gl_Stencil_Op(d.back.fail), Gl_Stencil_Op(d.back.depth_fail),
                        Gl_Stencil_Op(d.back.pass));
    Restore_Write_Masks();
}

void Gpu_Device::Apply_Blend()
{
    const Gpu_Blend_Desc& b = m_blend;
    if (b.enable)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    glBlendFuncSeparate(Gl_Blend(b.source), Gl_Blend(b.destination), Gl_Blend(b.source_alpha),
                        Gl_Blend(b.destination_alpha));
    glBlendEquationSeparate(Gl_Blend_Op(b.op), Gl_Blend_Op(b.op_alpha));
    glBlendColor(m_blend_factor[0], m_blend_factor[1], m_blend_factor[2], m_blend_factor[3]);
    Restore_Write_Masks();
}

void Gpu_Device::Apply_Rasterizer()
{
    const Gpu_Rasterizer_Desc& r = m_rasterizer;
    glPolygonMode(GL_FRONT_AND_BACK, r.wireframe ? GL_LINE : GL_FILL);
    if (r.cull_back)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    // The vertex stage turns y over (top row first), which turns the winding over too: a triangle that is
    // clockwise on screen is counter-clockwise to GL.
    glFrontFace(r.front_clockwise ? GL_CCW : GL_CW);
    if (r.depth_bias != 0 || r.slope_scaled_depth_bias != 0.0f)
    {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(r.slope_scaled_depth_bias, static_cast<float>(r.depth_bias));
    }
    else
    {
        glDisable(GL_POLYGON_OFFSET_FILL);
    }
    if (r.depth_clip)
        glDisable(GL_DEPTH_CLAMP);
    else
        glEnable(GL_DEPTH_CLAMP);
    if (r.scissor)
        glEnable(GL_SCISSOR_TEST);
    else
        glDisable(GL_SCISSOR_TEST);
}

void Gpu_Device::Set_Depth_State(const Gpu_Depth_State* state, uint32_t stencil_reference)
{
    m_depth = state ? state->desc : Gpu_Depth_Desc{};
    m_stencil_reference = stencil_reference;
    Apply_Depth();
}

void Gpu_Device::Set_Blend_State(const Gpu_Blend_State* state, const float factor[4], uint32_t sample_mask)
{
    m_blend = state ? state->desc : Gpu_Blend_Desc{};
    for (int i = 0; i < 4; ++i)
        m_blend_factor[i] = factor ? factor[i] : 1.0f;
    Apply_Blend();
    if (sample_mask != 0xFFFFFFFF)
    {
        glEnable(GL_SAMPLE_MASK);
        glSampleMaski(0, sample_mask);
    }
    else
    {
        glDisable(GL_SAMPLE_MASK);
    }
}

void Gpu_Device::Set_Rasterizer_State(const Gpu_Rasterizer_State* state)
{
    m_rasterizer = state ? state->desc : Gpu_Rasterizer_Desc{};
    Apply_Rasterizer();
}
} // namespace platform
