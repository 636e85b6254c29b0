// Sampler_Manager.
#include "engine/render/sampler_manager.h"

#include "engine/render/d3d_device.h"

using namespace platform;

Gpu_Result Sampler_Manager::Initialize(D3D_Device* device)
{
    if (!device)
        return GPU_E_INVALIDARG;
    struct Entry
    {
        Gpu_Filter filter;
        Gpu_Address address;
        unsigned anisotropy;
    };
    static const Entry table[SAMPLER_COUNT] = {
        {Gpu_Filter::point, Gpu_Address::wrap, 1},        {Gpu_Filter::point, Gpu_Address::clamp, 1},
        {Gpu_Filter::linear, Gpu_Address::wrap, 1},       {Gpu_Filter::linear, Gpu_Address::clamp, 1},
        {Gpu_Filter::anisotropic, Gpu_Address::wrap, 16}, {Gpu_Filter::anisotropic, Gpu_Address::clamp, 16},
        {Gpu_Filter::linear, Gpu_Address::mirror, 1},
    };
    for (int i = 0; i < SAMPLER_COUNT; ++i)
    {
        Gpu_Sampler_Desc desc;
        desc.filter = table[i].filter;
        desc.address_u = desc.address_v = desc.address_w = table[i].address;
        desc.max_anisotropy = table[i].anisotropy;
        Gpu_Result result = device->Gpu().Create_Sampler(desc, m_samplers[i]);
        if (Gpu_Failed(result))
            return result;
    }
    return GPU_OK;
}
