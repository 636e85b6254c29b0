// D3D_SwapChain: creation, states, binding, present and saving.
#include "engine/render/d3d_swap_chain.h"

#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/render/d3d_adapter.h"
#include "engine/render/d3d_device.h"

#include <cstdlib>

using namespace platform;

namespace
{
Gpu_Depth_Desc Depth_Desc(bool test, bool write, Gpu_Compare function, bool stencil)
{
    Gpu_Depth_Desc desc;
    desc.depth_enable = test;
    desc.depth_write = write;
    desc.depth_function = function;
    desc.stencil_enable = stencil;
    desc.stencil_read_mask = 0xFF;
    desc.stencil_write_mask = 0xFF;
    desc.front = {Gpu_Stencil_Op::keep, Gpu_Stencil_Op::increment, Gpu_Stencil_Op::keep, Gpu_Compare::always};
    desc.back = {Gpu_Stencil_Op::keep, Gpu_Stencil_Op::decrement, Gpu_Stencil_Op::keep, Gpu_Compare::always};
    return desc;
}

Gpu_Blend_Desc Blend_Desc(bool enable, Gpu_Blend destination, Gpu_Blend_Op op, Gpu_Blend alpha_source,
                          Gpu_Blend alpha_destination)
{
    Gpu_Blend_Desc desc;
    desc.enable = enable;
    desc.source = Gpu_Blend::source_alpha;
    desc.destination = destination;
    desc.op = op;
    desc.source_alpha = alpha_source;
    desc.destination_alpha = alpha_destination;
    desc.op_alpha = op;
    desc.write_mask = 0xF;
    return desc;
}

const float k_blend_factor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
} // namespace

void D3D_SwapChain::Choose_Refresh(const D3D_Output* output, int width, int height, int refresh,
                                   uint32_t& numerator, uint32_t& denominator)
{
    numerator = 60;
    denominator = 1;
    if (!output || !output->modes)
        return;
    long best = 1000;
    for (uint32_t i = 0; i < output->mode_count; ++i)
    {
        const Gpu_Display_Mode& mode = output->modes[i];
        if (static_cast<int>(mode.width) != width || static_cast<int>(mode.height) != height ||
            mode.refresh_denominator == 0)
            continue;
        long rate = static_cast<long>(mode.refresh_numerator / mode.refresh_denominator);
        long difference = std::labs(rate - refresh);
        if (difference < best)
        {
            best = difference;
            numerator = mode.refresh_numerator;
            denominator = mode.refresh_denominator;
        }
    }
}

bool D3D_SwapChain::Create(int output, const Os_Window& window, D3D_Device* device, int width, int height,
                           int refresh, bool /*full_screen*/, bool vsync)
{
    Release();
    // 1.
    m_width = width;
    m_height = height;
    m_inverse_width = width ? 1.0f / static_cast<float>(width) : 0.0f;
    m_inverse_height = height ? 1.0f / static_cast<float>(height) : 0.0f;
    m_device = device;
    m_vsync = vsync;
    if (!device || !device->Gpu().Created())
    {
        Print_Message("\nFailed CreateSwapChain (%x)...\n", static_cast<unsigned>(GPU_ERROR_INVALID_CALL));
        m_device = nullptr;
        return false;
    }
    Gpu_Device& gpu = device->Gpu();

    // 2. Refresh rate from the output's modes.
    const D3D_Output* chosen = nullptr;
    if (output >= 0 && output < D3D_Adapter::MAX_OUTPUTS && device->Get_Adapter())
        chosen = device->Get_Adapter()->Get_Output(output);
    Choose_Refresh(chosen, width, height, refresh, m_refresh_numerator, m_refresh_denominator);

    // 3 to 5. The swap chain itself.
    m_samples = g_vorta_engine && !g_vorta_engine->Get_MSAA() ? 1 : 4;
    Gpu_Result result = m_swap_chain.Create(gpu, window, width, height, m_samples);
    if (Gpu_Failed(result))
    {
        Print_Message("\nFailed CreateSwapChain (%x)...\n", static_cast<unsigned>(result));
        Print_Message("  Width                   %d\n", width);
        Print_Message("  Height                  %d\n", height);
        Print_Message("  RefreshRate Numerator   %d\n", m_refresh_numerator);
        Print_Message("  RefreshRate Denominator %d\n", m_refresh_denominator);
        Print_Message("  Format                  %d\n", GPU_FORMAT_R8G8B8A8_UNORM);
        Print_Message("  Scaling                 %d\n", 0);
        Print_Message("  ScanlineOrdering        %d\n", 0);
        Print_Message("  BufferCount             %d\n", 1);
        Print_Message("  Flags                   %x\n", 0);
        Print_Message("  BufferUsage             %d\n", 0x20);
        Print_Message("  OutputWindow            %d\n", static_cast<int>(window.Id()));
        Print_Message("  SampleDesc Count        %d\n", m_samples);
        Print_Message("  SampleDesc Quality      %d\n", m_samples > 1 ? -1 : 0);
        Print_Message("  SwapEffect              %d\n", 0);
        m_device = nullptr;
        return false;
    }

    // 6. Buffer 0 and its render-target view.
    result = gpu.Create_View(Gpu_View::Kind::render_target, m_swap_chain.Back_Buffer(), m_back_buffer_view);
    if (Gpu_Failed(result))
    {
        Print_Message("Failed CreateRenderTargetView (%x)...\n", static_cast<unsigned>(result));
        return false;
    }

    // 7. Depth texture.
    Gpu_Texture_Desc depth;
    depth.width = static_cast<uint32_t>(width);
    depth.height = static_cast<uint32_t>(height);
    depth.format = GPU_FORMAT_D24_UNORM_S8_UINT;
    depth.sample_count = static_cast<uint32_t>(m_samples);
    depth.sample_quality = m_samples > 1 ? GPU_STANDARD_MULTISAMPLE_PATTERN : 0;
    depth.bind_flags = GPU_BIND_DEPTH_STENCIL;
    result = gpu.Create_Texture(depth, nullptr, 0, m_depth_texture);
    if (Gpu_Failed(result))
    {
        Print_Message("Failed CreateTexture2D (%x)...\n", static_cast<unsigned>(result));
        return false;
    }

    // 8. Depth states standard, reverse, read-only; standard is set with stencil reference 1.
    result = gpu.Create_Depth_State(Depth_Desc(true, true, Gpu_Compare::less, true),
                                    m_depth_states[DEPTH_STANDARD]);
    if (Gpu_Failed(result))
    {
        Print_Message("Failed CreateDepthStencilState (%x)...\n", static_cast<unsigned>(result));
        return false;
    }
    result = gpu.Create_Depth_State(Depth_Desc(true, true, Gpu_Compare::greater_equal, true),
                                    m_depth_states[DEPTH_REVERSE]);
    if (Gpu_Failed(result))
    {
        Print_Message("Failed Reverse CreateDepthStencilState (%x)...\n", static_cast<unsigned>(result));
        return false;
    }
    result = gpu.Create_Depth_State(Depth_Desc(true, false, Gpu_Compare::less_equal, false),
                                    m_depth_states[DEPTH_READ_ONLY]);
    if (Gpu_Failed(result))
    {
        Print_Message("Failed CreateDepthStencilState (%x)...\n", static_cast<unsigned>(result));
        return false;
    }
    Set_Depth_State(DEPTH_STANDARD);

    // 9. Depth view.
    result = gpu.Create_View(Gpu_View::Kind::depth_stencil, m_depth_texture.get(), m_depth_view);
    if (Gpu_Failed(result))
    {
        Print_Message("Failed CreateDepthStencilView (%x)...\n", static_cast<unsigned>(result));
        return false;
    }

    // 10. Back buffer bound, rasterizer, viewport of the window size.
    Bind_Back_Buffer();
    if (!Set_Rasterizer(true, 0, 0.0f))
        return false;
    Set_Viewport(static_cast<float>(width), static_cast<float>(height));

    // 11. Depth state none.
    result = gpu.Create_Depth_State(Depth_Desc(false, false, Gpu_Compare::always, true),
                                    m_depth_states[DEPTH_NONE]);
    if (Gpu_Failed(result))
    {
        Print_Message("Failed CreateDepthStencilState (%x)...\n", static_cast<unsigned>(result));
        return false;
    }

    // 12. Blend states alpha, opaque, additive, subtractive.
    const Gpu_Blend_Desc blends[BLEND_STATE_COUNT] = {
        Blend_Desc(true, Gpu_Blend::inverse_source_alpha, Gpu_Blend_Op::add, Gpu_Blend::source_alpha,
                   Gpu_Blend::inverse_source_alpha),
        Blend_Desc(false, Gpu_Blend::inverse_source_alpha, Gpu_Blend_Op::add, Gpu_Blend::source_alpha,
                   Gpu_Blend::inverse_source_alpha),
        Blend_Desc(true, Gpu_Blend::one, Gpu_Blend_Op::add, Gpu_Blend::one, Gpu_Blend::one),
        Blend_Desc(true, Gpu_Blend::one, Gpu_Blend_Op::subtract, Gpu_Blend::one, Gpu_Blend::one),
    };
    for (int i = 0; i < BLEND_STATE_COUNT; ++i)
    {
        result = gpu.Create_Blend_State(blends[i], m_blend_states[i]);
        if (Gpu_Failed(result))
        {
            Print_Message("Failed CreateBlendState %d (%x)...\n", i + 1, static_cast<unsigned>(result));
            return false;
        }
    }
    Set_Blend_State(BLEND_OPAQUE);

    // 13. Projection for the window size (full screen is the window's own).
    m_projection = Matrix_Ortho_LH(static_cast<float>(width), static_cast<float>(height), 0.0f, 1.0f);
    device->Set_Current_Swap_Chain(this);
    return true;
}

void D3D_SwapChain::Release()
{
    for (auto& state : m_blend_states)
        state.reset();
    for (auto& state : m_depth_states)
        state.reset();
    m_rasterizer.reset();
    m_depth_view.reset();
    m_depth_texture.reset();
    m_back_buffer_view.reset();
    if (m_device && m_device->Get_Current_Swap_Chain() == this)
        m_device->Set_Current_Swap_Chain(nullptr);
    m_swap_chain.Destroy();
    m_bound_target = m_bound_depth = nullptr;
    m_current_depth = DEPTH_STATE_COUNT;
    m_current_blend = BLEND_STATE_COUNT;
    m_device = nullptr;
}

bool D3D_SwapChain::Make_Current()
{
    if (!m_device || !m_swap_chain.Make_Current())
        return false;
    if (m_device->Get_Current_Swap_Chain() == this)
        return true;
    // The context's state is the other window's: this swap chain's binding and states stand again.
    m_device->Set_Current_Swap_Chain(this);
    Gpu_Device& gpu = m_device->Gpu();
    gpu.Set_Targets(m_bound_target, m_bound_depth);
    Reapply_Viewport();
    if (m_current_depth < DEPTH_STATE_COUNT)
        gpu.Set_Depth_State(m_depth_states[m_current_depth].get(), 1);
    if (m_current_blend < BLEND_STATE_COUNT)
        gpu.Set_Blend_State(m_blend_states[m_current_blend].get(), k_blend_factor, 0xFFFFFFFF);
    gpu.Set_Rasterizer_State(m_rasterizer.get());
    return true;
}

void D3D_SwapChain::Bind_Targets(const Gpu_View* target, const Gpu_View* depth)
{
    if (!m_device)
        return;
    if (!target)
        target = m_back_buffer_view.get();
    if (!depth)
        depth = m_depth_view.get();
    m_bound_target = target;
    m_bound_depth = depth;
    if (target && target->Texture())
    {
        m_target_width = static_cast<int>(target->Texture()->Desc().width);
        m_target_height = static_cast<int>(target->Texture()->Desc().height);
    }
    m_projection =
        Matrix_Ortho_LH(static_cast<float>(m_target_width), static_cast<float>(m_target_height), 0.0f, 1.0f);
    m_device->Gpu().Set_Targets(target, depth);
}

void D3D_SwapChain::Set_Viewport(float width, float height)
{
    const float viewport[6] = {0.0f, 0.0f, width, height, 0.0f, 1.0f};
    for (int i = 0; i < 6; ++i)
        m_viewport[i] = viewport[i];
    Reapply_Viewport();
}

void D3D_SwapChain::Reapply_Viewport()
{
    if (m_device)
        m_device->Gpu().Set_Viewport(m_viewport[0], m_viewport[1], m_viewport[2], m_viewport[3],
                                     m_viewport[4], m_viewport[5]);
}

void D3D_SwapChain::Clear_Target(const float colour[4])
{
    if (m_device)
        m_device->Gpu().Clear_Target(m_bound_target, colour);
}

void D3D_SwapChain::Set_Depth_State(Depth_State_Kind kind)
{
    if (!m_device || kind < 0 || kind >= DEPTH_STATE_COUNT || kind == m_current_depth ||
        !m_depth_states[kind])
        return;
    m_current_depth = kind;
    m_device->Gpu().Set_Depth_State(m_depth_states[kind].get(), 1);
}

void D3D_SwapChain::Set_Blend_State(Blend_State_Kind kind)
{
    if (!m_device || kind < 0 || kind >= BLEND_STATE_COUNT || kind == m_current_blend ||
        !m_blend_states[kind])
        return;
    m_current_blend = kind;
    m_device->Gpu().Set_Blend_State(m_blend_states[kind].get(), k_blend_factor, 0xFFFFFFFF);
}

bool D3D_SwapChain::Set_Rasterizer(bool cull_back, int depth_bias, float slope_bias)
{
    if (!m_device)
        return false;
    Gpu_Rasterizer_Desc desc;
    desc.cull_back = cull_back;
    desc.front_clockwise = true;
    desc.depth_bias = depth_bias;
    desc.slope_scaled_depth_bias = slope_bias;
    Gpu_Result result = m_device->Gpu().Create_Rasterizer_State(desc, m_rasterizer);
    if (Gpu_Failed(result))
    {
        Print_Message("Failed CreateRasterizerState (%x)...\n", static_cast<unsigned>(result));
        return false;
    }
    m_device->Gpu().Set_Rasterizer_State(m_rasterizer.get());
    return true;
}

void D3D_SwapChain::Get_Target_Size(float& width, float& height) const
{
    width = static_cast<float>(m_target_width);
    height = static_cast<float>(m_target_height);
}

float D3D_SwapChain::Get_Viewport_Aspect() const
{
    return m_viewport[2] != 0.0f ? m_viewport[3] / m_viewport[2] : 0.0f;
}

void D3D_SwapChain::Present()
{
    if (!m_device)
        return;
    Gpu_Result result = m_swap_chain.Present(m_vsync ? 1 : 0);
    if (Gpu_Failed(result))
        Print_Message("Failed D3D_SwapChain::Present (%x)...\n", static_cast<unsigned>(result));
}

bool D3D_SwapChain::Read_Back_Buffer(std::vector<uint8_t>& rgba)
{
    if (!m_device)
        return false;
    bool ok = m_swap_chain.Read_Back_Buffer(rgba);
    // Reading may have bound other framebuffers; the renderer's binding stands again.
    m_device->Gpu().Set_Targets(m_bound_target, m_bound_depth);
    return ok;
}

bool D3D_SwapChain::Save_Back_Buffer(const char* path)
{
    std::vector<uint8_t> rgba;
    if (!Read_Back_Buffer(rgba))
        return false;
    return Save_Jpeg(path, m_width, m_height, rgba, 95);
}
