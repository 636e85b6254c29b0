// Shader and Sprite_Shader: the programmable side of sprite drawing. Shader files are GLSL 330 sources
// under "data/shaders/" (".vs" vertex stages, ".ps" pixel stages), read from the data pack first.
#pragma once
#include "engine/render/matrix.h"
#include "platform/gpu_device.h"

#include <memory>

class D3D_Device;

// Compiles one shader file for a profile ("vs_4_0" or "ps_4_0"). A compile error ends the program with
// the error box; a missing or unreadable file is logged and gives false.
bool Compile_Shader(D3D_Device* device, const char* file, const char* entry, const char* profile,
                    std::unique_ptr<platform::Gpu_Shader>& out);

class Shader
{
  public:
    Shader() = default;
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;
    virtual ~Shader();
    virtual bool Initialize(D3D_Device* owner, const char* vertex_file, const char* pixel_file) = 0;
    virtual void Release();
    virtual bool Update_Vertex_Constants() { return false; }
    virtual bool Update_Pixel_Constants() { return false; }
    virtual bool Update_Constants() { return false; }
    virtual void Set_Sampler() {}
    // Binds the input layout and both stages, then the constants and the sampler.
    virtual void Apply();
    virtual void Draw_Indexed(unsigned index_count, unsigned first_index);
    virtual void Set_Matrices(const Matrix4& /*world*/, const Matrix4& /*view*/,
                              const Matrix4& /*projection*/)
    {
    }
    virtual void Bind_Texture(const platform::Gpu_View* /*view*/) {}
    virtual void Set_Colour(const float /*rgba*/[4]) {}
    virtual void Set_Mode(int mode) { m_mode = mode; }
    int Get_Mode() const { return m_mode; }

  protected:
    D3D_Device* m_owner = nullptr;
    const platform::Gpu_Shader* m_vertex_shader = nullptr;
    const platform::Gpu_Input_Layout* m_input_layout = nullptr;
    const platform::Gpu_Shader* m_pixel_shader = nullptr;
    int m_mode = 0;
};

// Pixel constants (pixel-shader constant slot 0), 96 bytes.
struct Sprite_Pixel_Constants
{
    float clip[4];
    float colour[4];
    float vector[2];
    float spare[7][2];
};
static_assert(sizeof(Sprite_Pixel_Constants) == 96);

// Vertex constants (vertex-shader constant slot 0), 144 bytes.
struct Sprite_Vertex_Constants
{
    Matrix4 world;           // transposed
    Matrix4 view_projection; // transposed
    float size[4];           // 1, 1, then the draw's shader vector
};
static_assert(sizeof(Sprite_Vertex_Constants) == 144);

class Sprite_Shader : public Shader
{
  public:
    static constexpr int VERTEX_SHADERS = 3;
    static constexpr int PIXEL_SHADERS = 11;
    static const char* const VERTEX_FILES[VERTEX_SHADERS];
    static const char* const PIXEL_FILES[PIXEL_SHADERS];

    Sprite_Shader();
    ~Sprite_Shader() override;
    // The file arguments are not used: the shader files of the sprite renderer are fixed.
    bool Initialize(D3D_Device* owner, const char* vertex_file, const char* pixel_file) override;
    void Release() override;
    bool Update_Vertex_Constants() override;
    bool Update_Pixel_Constants() override;
    bool Update_Constants() override;
    void Set_Sampler() override;
    void Set_Matrices(const Matrix4& world, const Matrix4& view, const Matrix4& projection) override;
    void Bind_Texture(const platform::Gpu_View* view) override;
    void Set_Colour(const float rgba[4]) override;

    // Chooses among the shader's four samplers: 0 point wrap, 1 point clamp, 2 linear wrap, 3 linear clamp.
    void Select_Sampler(int index);
    // The two floats a sprite draw hands to its shaders (the last two size parameters).
    void Set_Shader_Vector(float x, float y);

    const Sprite_Pixel_Constants& Get_Pixel_Constants() const { return m_pixel_constants; }
    const Sprite_Vertex_Constants& Get_Vertex_Constants() const { return m_vertex_constants; }
    const platform::Gpu_Shader* Get_Vertex_Shader(int index) const;
    const platform::Gpu_Shader* Get_Pixel_Shader(int index) const;
    const platform::Gpu_Input_Layout* Get_Input_Layout(int index) const;
    const platform::Gpu_Sampler* Get_Current_Sampler() const { return m_current_sampler; }

  private:
    const platform::Gpu_Sampler* m_samplers[4] = {};
    const platform::Gpu_Sampler* m_current_sampler = nullptr;
    std::unique_ptr<platform::Gpu_Buffer> m_pixel_buffer;
    Sprite_Pixel_Constants m_pixel_constants;
    std::unique_ptr<platform::Gpu_Buffer> m_vertex_buffer;
    Sprite_Vertex_Constants m_vertex_constants;
    std::unique_ptr<platform::Gpu_Shader> m_vertex_shaders[VERTEX_SHADERS];
    std::unique_ptr<platform::Gpu_Input_Layout> m_layouts[VERTEX_SHADERS];
    std::unique_ptr<platform::Gpu_Shader> m_pixel_shaders[PIXEL_SHADERS];
};
