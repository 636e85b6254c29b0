// Sampler_Manager: the seven sampler states every shader chooses from.
#pragma once
#include "platform/gpu_device.h"

#include <memory>

class D3D_Device;

enum Sampler_Index
{
    SAMPLER_POINT_WRAP,
    SAMPLER_POINT_CLAMP,
    SAMPLER_LINEAR_WRAP,
    SAMPLER_LINEAR_CLAMP,
    SAMPLER_ANISOTROPIC_WRAP,
    SAMPLER_ANISOTROPIC_CLAMP,
    SAMPLER_LINEAR_MIRROR,
    SAMPLER_COUNT
};

class Sampler_Manager
{
  public:
    // Creates the seven samplers in order; the first failure's result code.
    platform::Gpu_Result Initialize(D3D_Device* device);
    const platform::Gpu_Sampler* Get(int index) const
    {
        return index >= 0 && index < SAMPLER_COUNT ? m_samplers[index].get() : nullptr;
    }

  private:
    std::unique_ptr<platform::Gpu_Sampler> m_samplers[SAMPLER_COUNT];
};
