// Device creation and the pixel-view cache.
#include "engine/render/d3d_device.h"

#include "engine/core/vorta_log.h"
#include "engine/render/d3d_adapter.h"
#include "engine/render/sampler_manager.h"
#include "engine/render/shader_manager.h"
#include "engine/render/texture_manager.h"

#include <new>

namespace
{
const char* Feature_Level_Name(int32_t level)
{
    switch (level)
    {
    case FEATURE_LEVEL_9_1:
        return "9_1";
    case FEATURE_LEVEL_9_2:
        return "9_2";
    case FEATURE_LEVEL_9_3:
        return "9_3";
    case FEATURE_LEVEL_10_0:
        return "10_0";
    case FEATURE_LEVEL_10_1:
        return "10_1";
    case FEATURE_LEVEL_11_0:
        return "11_0";
    default:
        return "";
    }
}
} // namespace

bool D3D_Device::Create(D3D_Adapter* adapter)
{
    Destroy();
    m_adapter = adapter;
    Print_Message("Create D3D11 Device... ");
    platform::Gpu_Result result = m_gpu.Create();
    if (platform::Gpu_Failed(result))
    {
        Print_Message("Failed (%x)...\n", static_cast<unsigned>(result));
        return false;
    }
    // A GL 3.3 core context does what feature level 11_0 asks of this renderer.
    m_feature_level = FEATURE_LEVEL_11_0;
    Print_Message("%s", Feature_Level_Name(m_feature_level));
    Print_Message(" Ok\n");

    Print_Message("Create Sampler Manager... ");
    m_sampler_manager = new (std::nothrow) Sampler_Manager();
    if (!m_sampler_manager)
    {
        Print_Message("Failed - Allocation\n");
        return false;
    }
    result = m_sampler_manager->Initialize(this);
    if (platform::Gpu_Failed(result))
    {
        Print_Message("ERROR - Failed - Could not in itialize the Sampler_Manager object (%x)...\n",
                      static_cast<unsigned>(result));
        return false;
    }
    Print_Message("OK\n");

    Print_Message("Create Shader Manager... ");
    m_shader_manager = new (std::nothrow) Shader_Manager();
    if (!m_shader_manager)
    {
        Print_Message("Failed - Allocation\n");
        return false;
    }
    if (!m_shader_manager->Initialize(this))
    {
        Print_Message("ERROR - Could not initialize the Shader_Manager object (%x)...\n",
                      static_cast<unsigned>(platform::GPU_E_FAIL));
        return false;
    }
    Print_Message("OK\n");

    Print_Message("Create Texture Manager... ");
    m_texture_manager = new (std::nothrow) Texture_Manager();
    if (!m_texture_manager)
    {
        Print_Message("Failed - Allocation\n");
        return false;
    }
    if (!m_texture_manager->Initialize(this, TEXTURE_CAPACITY))
    {
        Print_Message("ERROR - Failed - Could not initialize the Texture_Manager object.\n");
        return false;
    }
    Print_Message("OK\n");
    return true;
}

void D3D_Device::Destroy()
{
    if (m_gpu.Created())
        m_gpu.Make_Current(nullptr);
    delete m_texture_manager;
    m_texture_manager = nullptr;
    delete m_shader_manager;
    m_shader_manager = nullptr;
    delete m_sampler_manager;
    m_sampler_manager = nullptr;
    for (uint64_t& serial : m_view_cache)
        serial = 0;
    m_sprite_texture = 0;
    m_skipped_bindings = 0;
    m_gpu.Destroy();
    m_feature_level = 0;
}

void D3D_Device::Bind_Pixel_Views(int first, int count, const platform::Gpu_View* const* views)
{
    if (first < 0 || count <= 0 || first + count > VIEW_SLOTS)
    {
        // Slots beyond the cache are bound as they come.
        m_gpu.Set_Pixel_Views(first, count, views);
        return;
    }
    bool changed = false;
    for (int i = 0; i < count; ++i)
    {
        const platform::Gpu_View* view = views ? views[i] : nullptr;
        const uint64_t serial = view ? view->Serial() : 0;
        if (m_view_cache[first + i] != serial)
        {
            m_view_cache[first + i] = serial;
            changed = true;
        }
    }
    if (changed)
        m_gpu.Set_Pixel_Views(first, count, views);
    else
        ++m_skipped_bindings;
}

void D3D_Device::Unbind_Pixel_Views(int first, int count)
{
    const platform::Gpu_View* none[16] = {};
    if (count > 16)
        count = 16;
    m_gpu.Set_Pixel_Views(first, count, none);
    for (int i = first; i < first + count; ++i)
        if (i >= 0 && i < VIEW_SLOTS)
        {
            if (i == 0)
                m_sprite_texture = 0;
            m_view_cache[i] = 0;
        }
}
