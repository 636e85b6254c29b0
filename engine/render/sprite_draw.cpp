// Sprite on the device: its buffers, its textures, the render target it measures against, and Draw.
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_device.h"
#include "engine/render/d3d_swap_chain.h"
#include "engine/render/shader.h"
#include "engine/render/shader_manager.h"
#include "engine/render/sprite.h"
#include "engine/render/texture.h"
#include "engine/render/texture_manager.h"
#include "platform/gpu_buffer_map.h"

#include <new>

D3D_SwapChain* Sprite::Swap_Chain() const
{
    return m_window ? m_window->Get_Swap_Chain() : nullptr;
}

Quad_Space Sprite::Space() const
{
    Quad_Space space;
    if (const D3D_SwapChain* chain = Swap_Chain())
        chain->Get_Target_Size(space.target_width, space.target_height);
    if (m_window)
    {
        if (Vorta_Viewport* viewport = m_window->Get_Viewport(-1))
            space.aspect = viewport->Get_Aspect();
    }
    return space;
}

bool Sprite::Create_Frames(int n)
{
    Release_Buffers();
    m_frames_in_use = 0;
    // Without buffers there are no frames to hand out: Get_Frame refuses and nothing is written or drawn.
    m_frame_capacity = 0;
    D3D_SwapChain* chain = Swap_Chain();
    if (n <= 0 || n > MAX_FRAMES || !chain || !chain->Get_Device())
        return false;
    platform::Gpu_Device& gpu = chain->Get_Device()->Gpu();

    const size_t quads = static_cast<size_t>(n);
    uint32_t* indices = new (std::nothrow) uint32_t[quads * 6];
    if (!indices)
        return false;
    for (size_t q = 0; q < quads; ++q)
    {
        const uint32_t first = static_cast<uint32_t>(q * 4);
        const uint32_t quad[6] = {first, first + 1, first + 2, first, first + 2, first + 3};
        for (int i = 0; i < 6; ++i)
            indices[q * 6 + i] = quad[i];
    }
    const bool made =
        !platform::Gpu_Failed(gpu.Create_Buffer(platform::GPU_BIND_VERTEX_BUFFER,
                                                quads * 4 * sizeof(Sprite_Vertex), true, nullptr,
                                                m_vertex_buffer)) &&
        !platform::Gpu_Failed(gpu.Create_Buffer(platform::GPU_BIND_INDEX_BUFFER, quads * 6 * sizeof(uint32_t),
                                                false, indices, m_index_buffer));
    delete[] indices;
    if (!made)
    {
        Release_Buffers();
        return false;
    }
    m_frame_capacity = n;
    return true;
}

void Sprite::Release_Buffers()
{
    Unmap();
    m_index_buffer.reset();
    m_vertex_buffer.reset();
}

bool Sprite::Load_Texture(int index, const char* file_name)
{
    if (!m_textures || index < 0 || index >= m_texture_count)
        return true;
    D3D_SwapChain* chain = Swap_Chain();
    Texture_Manager* manager =
        chain && chain->Get_Device() ? chain->Get_Device()->Get_Texture_Manager() : nullptr;
    Image* image = manager ? manager->Load(file_name, IMAGE_TEXTURE, 0) : nullptr;
    if (!image || image->Get_Kind() != IMAGE_TEXTURE)
        return false;
    m_textures[index] = static_cast<Texture*>(image);
    return true;
}

bool Sprite::Texture_Size(int index, float& width, float& height) const
{
    const Texture* texture = Get_Texture(index);
    if (!texture)
        return false;
    const Vector2 size = texture->Get_Size();
    width = size.x;
    height = size.y;
    return true;
}

const char* Sprite::Texture_Name(int index) const
{
    const Texture* texture = Get_Texture(index);
    return texture && texture->Get_Name() ? texture->Get_Name() : "";
}

Vector2 Sprite::Get_Cell_Size(int texture, int cell) const
{
    float width = 0.0f, height = 0.0f;
    const Sprite_Cell* c = Get_Cell(cell);
    if (!c || !Texture_Size(texture, width, height))
        return {0.0f, 0.0f};
    const Quad_Space space = Space();
    return {c->width * width / space.target_width, c->height * height / space.target_height};
}

bool Sprite::Draw(Vector2 position, Vector2 scale, float rotation, int texture, uint32_t flags,
                  const Colour& colour, float depth, Vector2 shader_vector)
{
    if (m_frames_in_use == 0)
        return false;
    Unmap();

    D3D_SwapChain* chain = Swap_Chain();
    D3D_Device* device = chain ? chain->Get_Device() : nullptr;
    Sprite_Shader* shader =
        device && device->Get_Shader_Manager() ? device->Get_Shader_Manager()->Get_Sprite_Shader() : nullptr;
    const Texture* picture = Get_Texture(texture);
    if (!shader || !m_vertex_buffer || !m_index_buffer || !picture || !picture->Get_View())
    {
        // Nothing can be drawn (no device, no buffers, or an empty texture slot); the batch still ends
        // as asked, so that a sprite whose texture failed to load does not run out of frames.
        if (flags & SPR_CLEAR)
            m_frames_in_use = 0;
        return false;
    }

    if (flags & SPR_DEPTH_REVERSE)
        chain->Set_Depth_State(DEPTH_REVERSE);
    else if (!(flags & SPR_DEPTH))
        chain->Set_Depth_State(DEPTH_NONE);

    if (flags & SPR_ALPHA)
        chain->Set_Blend_State(BLEND_ALPHA);
    else if (flags & SPR_ADD)
        chain->Set_Blend_State(BLEND_ADDITIVE);
    else if (flags & SPR_SUBTRACT)
        chain->Set_Blend_State(BLEND_SUBTRACTIVE);
    else
        chain->Set_Blend_State(BLEND_OPAQUE);

    platform::Gpu_Device& gpu = device->Gpu();
    gpu.Set_Vertex_Buffer(m_vertex_buffer.get(), sizeof(Sprite_Vertex), 0);
    gpu.Set_Index_Buffer(m_index_buffer.get());

    shader->Select_Sampler(((flags & SPR_LINEAR) ? 2 : 0) + ((flags & SPR_CLAMP) ? 1 : 0));
    shader->Set_Sampler();

    float target_width = 0.0f, target_height = 0.0f;
    chain->Get_Target_Size(target_width, target_height);
    if (!(flags & SPR_PIXELS))
    {
        position.x *= target_width;
        position.y *= target_height;
    }
    position.x -= target_width * 0.5f;
    position.y -= target_height * 0.5f;
    const Matrix4 world =
        Matrix_Multiply(Matrix_Multiply(Matrix_Scaling(scale.x, scale.y, 1.0f), Matrix_Rotation_Z(rotation)),
                        Matrix_Translation(position.x, -position.y, depth));
    shader->Set_Matrices(world, Matrix_Identity(), chain->Get_Projection());

    shader->Bind_Texture(picture->Get_View());
    const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
    shader->Set_Colour(rgba);
    shader->Set_Shader_Vector(shader_vector.x, shader_vector.y);
    // Uploads the constants, applies the shaders, sampler and input layout, and draws.
    shader->Draw_Indexed(static_cast<unsigned>(m_frames_in_use) * 6, 0);

    chain->Set_Depth_State(DEPTH_STANDARD);
    chain->Set_Blend_State(BLEND_OPAQUE);

    if (flags & SPR_CLEAR)
        m_frames_in_use = 0;
    return true;
}
