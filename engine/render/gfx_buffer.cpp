// GFX_Buffer.
#include "engine/render/gfx_buffer.h"

#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_device.h"
#include "engine/render/d3d_swap_chain.h"

using namespace platform;

GFX_Buffer::~GFX_Buffer()
{
    Release();
}

void GFX_Buffer::Release()
{
    m_depth_view.reset();
    m_depth_texture.reset();
    m_resolve_view.reset();
    m_resolve_texture.reset();
    m_target_view.reset();
    Texture::Release();
}

bool GFX_Buffer::Initialize(Vorta_Window* window, int width, int height, uint32_t colour_format,
                            uint32_t depth_format)
{
    Release();
    m_window = window;
    D3D_Device* device = window ? window->Get_Device() : nullptr;
    if (!device || width <= 0 || height <= 0)
        return false;
    Gpu_Device& gpu = device->Gpu();
    bool msaa = g_vorta_engine ? g_vorta_engine->Get_MSAA() : true;
    uint32_t samples = msaa ? 4 : 1;
    uint32_t quality = msaa ? GPU_STANDARD_MULTISAMPLE_PATTERN : 0;

    Gpu_Texture_Desc desc;
    desc.width = static_cast<uint32_t>(width);
    desc.height = static_cast<uint32_t>(height);
    desc.format = colour_format;
    desc.bind_flags = GPU_BIND_SHADER_RESOURCE | GPU_BIND_RENDER_TARGET;
    if (colour_format)
    {
        // 1. The resolve target.
        if (msaa)
        {
            if (Gpu_Failed(gpu.Create_Texture(desc, nullptr, 0, m_resolve_texture)))
                Report_Error(true, "Failed - GFX_Buffer::Initialize - Render - CreateTexture2D\n");
            if (Gpu_Failed(gpu.Create_View(Gpu_View::Kind::shader_resource, m_resolve_texture.get(),
                                           m_resolve_view)))
                Report_Error(true, "Failed - GFX_Buffer::Initialize - Render - CreateShaderResourceView\n");
        }
        // 2. The texture drawn into.
        desc.sample_count = samples;
        desc.sample_quality = quality;
        if (Gpu_Failed(gpu.Create_Texture(desc, nullptr, 0, m_texture)))
            Report_Error(true, "Failed - GFX_Buffer::Initialize - Render - CreateTexture2D\n");
        if (Gpu_Failed(gpu.Create_View(Gpu_View::Kind::render_target, m_texture.get(), m_target_view)))
            Report_Error(true, "Failed - GFX_Buffer::Initialize - Render - CreateRenderTargetView\n");
        if (Gpu_Failed(gpu.Create_View(Gpu_View::Kind::shader_resource, m_texture.get(), m_view)))
            Report_Error(true, "Failed - GFX_Buffer::Initialize - Render - CreateShaderResourceView\n");
        m_desc = m_texture ? m_texture->Desc() : Gpu_Texture_Desc{};
    }
    // 3. The depth buffer.
    if (depth_format)
    {
        Gpu_Texture_Desc depth;
        depth.width = static_cast<uint32_t>(width);
        depth.height = static_cast<uint32_t>(height);
        depth.format = depth_format;
        depth.sample_count = samples;
        depth.sample_quality = quality;
        depth.bind_flags = GPU_BIND_DEPTH_STENCIL;
        if (Gpu_Failed(gpu.Create_Texture(depth, nullptr, 0, m_depth_texture)))
            Report_Error(true, "Failed - GFX_Buffer::Initialize - Depth - CreateTexture2D\n");
        if (Gpu_Failed(gpu.Create_View(Gpu_View::Kind::depth_stencil, m_depth_texture.get(), m_depth_view)))
            Report_Error(true, "Failed - GFX_Buffer::Initialize - Depth - CreateDepthStencilView\n");
        if (!colour_format)
        {
            m_desc.width = depth.width;
            m_desc.height = depth.height;
        }
    }
    return true;
}

const Gpu_View* GFX_Buffer::Get_View() const
{
    return m_resolve_view ? m_resolve_view.get() : m_view.get();
}

void GFX_Buffer::Clear(const float colour[4], float depth)
{
    D3D_Device* device = m_window ? m_window->Get_Device() : nullptr;
    if (!device)
        return;
    if (m_target_view)
        device->Gpu().Clear_Target(m_target_view.get(), colour);
    if (m_depth_view)
        device->Gpu().Clear_Depth_Stencil(m_depth_view.get(), true, depth, false, 0);
}

void GFX_Buffer::Bind()
{
    D3D_SwapChain* swap_chain = m_window ? m_window->Get_Swap_Chain() : nullptr;
    if (!swap_chain || !m_target_view)
        return;
    swap_chain->Bind_Targets(m_target_view.get(), m_depth_view.get());
    swap_chain->Set_Viewport(static_cast<float>(m_desc.width), static_cast<float>(m_desc.height));
}

void GFX_Buffer::Resolve()
{
    D3D_Device* device = m_window ? m_window->Get_Device() : nullptr;
    if (device && m_resolve_texture && m_texture)
        device->Gpu().Resolve(m_resolve_texture.get(), m_texture.get());
}
