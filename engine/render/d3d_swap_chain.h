// D3D_SwapChain: a window's back buffer and depth buffer, its depth, blend and rasterizer states, the
// render-target binding with its orthographic projection, the viewport, clears, present and JPEG saving.
#pragma once
#include "engine/render/matrix.h"
#include "platform/gpu_swap_chain.h"

#include <memory>

class D3D_Device;
struct D3D_Output;

enum Depth_State_Kind
{
    DEPTH_STANDARD,
    DEPTH_REVERSE,
    DEPTH_READ_ONLY,
    DEPTH_NONE,
    DEPTH_STATE_COUNT
};

enum Blend_State_Kind
{
    BLEND_ALPHA,
    BLEND_OPAQUE,
    BLEND_ADDITIVE,
    BLEND_SUBTRACTIVE,
    BLEND_STATE_COUNT
};

class D3D_SwapChain
{
  public:
    D3D_SwapChain() = default;
    D3D_SwapChain(const D3D_SwapChain&) = delete;
    D3D_SwapChain& operator=(const D3D_SwapChain&) = delete;
    ~D3D_SwapChain() { Release(); }

    // Creates the swap chain for a window on the device's adapter, with the refresh rate chosen from the
    // output's modes; logs the failing step and returns false on failure.
    bool Create(int output, const platform::Os_Window& window, D3D_Device* device, int width, int height,
                int refresh, bool full_screen, bool vsync);
    // Releases everything in reverse order of creation.
    void Release();

    // Among the output's modes of exactly width x height, the one whose whole rate is nearest to the
    // refresh asked for (the first wins ties); 60/1 when there is none.
    static void Choose_Refresh(const D3D_Output* output, int width, int height, int refresh,
                               uint32_t& numerator, uint32_t& denominator);

    // Null target means the back buffer, null depth the back buffer's depth view.
    void Bind_Targets(const platform::Gpu_View* target, const platform::Gpu_View* depth);
    void Bind_Back_Buffer() { Bind_Targets(nullptr, nullptr); }
    void Set_Viewport(float width, float height);
    void Full_Viewport()
    {
        Set_Viewport(static_cast<float>(m_target_width), static_cast<float>(m_target_height));
    }
    void Reapply_Viewport();
    void Clear_Target(const float colour[4]);
    void Set_Depth_State(Depth_State_Kind kind);
    void Set_Blend_State(Blend_State_Kind kind);
    bool Set_Rasterizer(bool cull_back, int depth_bias, float slope_bias);
    const Matrix4& Get_Projection() const { return m_projection; }
    void Get_Target_Size(float& width, float& height) const;
    // Viewport height / viewport width.
    float Get_Viewport_Aspect() const;
    void Present();
    // The back buffer's picture as a JPEG file; false when it cannot be written.
    bool Save_Back_Buffer(const char* path);
    // The back buffer's picture as RGBA bytes, top row first (resolved when multisampled).
    bool Read_Back_Buffer(std::vector<uint8_t>& rgba);
    // Makes the device draw for this swap chain's window.
    bool Make_Current();

    D3D_Device* Get_Device() const { return m_device; }
    const platform::Gpu_View* Get_Back_Buffer_View() const { return m_back_buffer_view.get(); }
    const platform::Gpu_View* Get_Depth_View() const { return m_depth_view.get(); }
    const platform::Gpu_View* Get_Bound_Target() const { return m_bound_target; }
    const platform::Gpu_View* Get_Bound_Depth() const { return m_bound_depth; }
    Depth_State_Kind Get_Depth_State() const { return m_current_depth; }
    Blend_State_Kind Get_Blend_State() const { return m_current_blend; }
    int Get_Width() const { return m_width; }
    int Get_Height() const { return m_height; }
    int Get_Sample_Count() const { return m_samples; }
    uint32_t Get_Refresh_Numerator() const { return m_refresh_numerator; }
    uint32_t Get_Refresh_Denominator() const { return m_refresh_denominator; }
    bool Get_Vsync() const { return m_vsync; }

  private:
    D3D_Device* m_device = nullptr;
    bool m_vsync = false;
    int m_width = 0;
    int m_height = 0;
    float m_inverse_width = 0.0f;
    float m_inverse_height = 0.0f;
    int m_samples = 1;
    uint32_t m_refresh_numerator = 60;
    uint32_t m_refresh_denominator = 1;
    platform::Gpu_Swap_Chain m_swap_chain;
    std::unique_ptr<platform::Gpu_Texture> m_depth_texture;
    std::unique_ptr<platform::Gpu_View> m_back_buffer_view;
    std::unique_ptr<platform::Gpu_View> m_depth_view;
    const platform::Gpu_View* m_bound_target = nullptr;
    const platform::Gpu_View* m_bound_depth = nullptr;
    Depth_State_Kind m_current_depth = DEPTH_STATE_COUNT;
    std::unique_ptr<platform::Gpu_Depth_State> m_depth_states[DEPTH_STATE_COUNT];
    std::unique_ptr<platform::Gpu_Rasterizer_State> m_rasterizer;
    Blend_State_Kind m_current_blend = BLEND_STATE_COUNT;
    std::unique_ptr<platform::Gpu_Blend_State> m_blend_states[BLEND_STATE_COUNT];
    Matrix4 m_projection = Matrix_Identity();
    int m_target_width = 0;
    int m_target_height = 0;
    float m_viewport[6] = {};
};
