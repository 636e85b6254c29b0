// D3D_Device: the device holder made by Vorta_Engine::Create_Device. Owns the GPU device and context, the
// sampler, shader and texture managers, and the cache of the views bound to pixel-shader resource slots
// 0 to 3 with its count of bindings skipped because nothing changed.
#pragma once
#include "platform/gpu_device.h"

#include <cstdint>

struct D3D_Adapter;
class D3D_SwapChain;
class Sampler_Manager;
class Shader_Manager;
class Texture_Manager;

// Feature levels as the runtime numbers them.
enum D3D_Feature_Level : int32_t
{
    FEATURE_LEVEL_9_1 = 0x9100,
    FEATURE_LEVEL_9_2 = 0x9200,
    FEATURE_LEVEL_9_3 = 0x9300,
    FEATURE_LEVEL_10_0 = 0xa000,
    FEATURE_LEVEL_10_1 = 0xa100,
    FEATURE_LEVEL_11_0 = 0xb000,
};

class D3D_Device
{
  public:
    static constexpr int VIEW_SLOTS = 4;
    static constexpr int TEXTURE_CAPACITY = 1024;

    D3D_Device() = default;
    D3D_Device(const D3D_Device&) = delete;
    D3D_Device& operator=(const D3D_Device&) = delete;
    ~D3D_Device() { Destroy(); }

    // Device creation with its log lines: the device, the feature level, then the three managers.
    bool Create(D3D_Adapter* adapter);
    // Releases the managers, then the device.
    void Destroy();

    platform::Gpu_Device& Gpu() { return m_gpu; }
    D3D_Adapter* Get_Adapter() const { return m_adapter; }
    int32_t Get_Feature_Level() const { return m_feature_level; }
    Sampler_Manager* Get_Sampler_Manager() const { return m_sampler_manager; }
    Shader_Manager* Get_Shader_Manager() const { return m_shader_manager; }
    Texture_Manager* Get_Texture_Manager() const { return m_texture_manager; }

    // Binds views to pixel-shader resource slots first .. first + count - 1 in one call when any differs
    // from what the cache holds; otherwise counts one skipped binding.
    void Bind_Pixel_Views(int first, int count, const platform::Gpu_View* const* views);
    // Unbinds the slots directly (the frame loop does this); the cache and the sprite shader's record of
    // its bound texture follow, so that the next binding of a view is not skipped.
    void Unbind_Pixel_Views(int first, int count);
    uint32_t Get_Skipped_Bindings() const { return m_skipped_bindings; }
    void Reset_Skipped_Bindings() { m_skipped_bindings = 0; }
    // The serial of the view the sprite shader bound last to slot 0 (0 after an unbind). Records hold
    // serials, not addresses: a texture freed and another made in its place must still be bound.
    uint64_t& Sprite_Texture_Record() { return m_sprite_texture; }

    // The swap chain whose window the device draws for now.
    D3D_SwapChain* Get_Current_Swap_Chain() const { return m_current_swap_chain; }
    void Set_Current_Swap_Chain(D3D_SwapChain* swap_chain) { m_current_swap_chain = swap_chain; }

  private:
    D3D_Adapter* m_adapter = nullptr;
    D3D_SwapChain* m_current_swap_chain = nullptr;
    int32_t m_feature_level = 0;
    platform::Gpu_Device m_gpu;
    Sampler_Manager* m_sampler_manager = nullptr;
    Shader_Manager* m_shader_manager = nullptr;
    Texture_Manager* m_texture_manager = nullptr;
    uint64_t m_view_cache[VIEW_SLOTS] = {}; // serials of the bound views, 0 for none
    uint32_t m_skipped_bindings = 0;
    uint64_t m_sprite_texture = 0;
};
