// GFX_Buffer: a texture the renderer can draw into, multisampled when the engine's MSAA option is on
// (with a single-sampled copy that shaders read), with an optional depth buffer.
#pragma once
#include "engine/render/texture.h"

class Vorta_Window;

class GFX_Buffer : public Texture
{
  public:
    GFX_Buffer() = default;
    ~GFX_Buffer() override;
    // The plain texture set-up stays available beside the render-target one.
    using Texture::Initialize;
    // A zero format leaves that half out. Device failures end the program with the error box.
    bool Initialize(Vorta_Window* window, int width, int height, uint32_t colour_format,
                    uint32_t depth_format);
    void Release() override;
    // The resolve texture's view when there is one, else the texture's own.
    const platform::Gpu_View* Get_View() const override;
    // Clears the colour, and the depth (not the stencil, which becomes 0) when there is a depth view.
    void Clear(const float colour[4], float depth);
    // Makes this buffer the render target (with its depth view, else the back buffer's) and sets the
    // viewport to its size.
    void Bind();
    // Copies the multisampled texture into the resolve texture; nothing without one.
    void Resolve();

    const platform::Gpu_View* Get_Target_View() const { return m_target_view.get(); }
    const platform::Gpu_View* Get_Depth_View() const { return m_depth_view.get(); }
    const platform::Gpu_Texture* Get_Resolve_Texture() const { return m_resolve_texture.get(); }
    int Get_Sample_Count() const { return static_cast<int>(m_desc.sample_count); }

  private:
    Vorta_Window* m_window = nullptr;
    std::unique_ptr<platform::Gpu_View> m_target_view;
    std::unique_ptr<platform::Gpu_Texture> m_resolve_texture;
    std::unique_ptr<platform::Gpu_View> m_resolve_view;
    std::unique_ptr<platform::Gpu_Texture> m_depth_texture;
    std::unique_ptr<platform::Gpu_View> m_depth_view;
};
