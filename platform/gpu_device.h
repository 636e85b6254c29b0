// The GPU device and its immediate context on OpenGL 3.3 core: one GL context, created on a hidden window
// of its own and made current on each swap chain's window in turn. Resources are RAII objects created by
// the device; the context calls set state the way the engine's renderer thinks of it (render-target and
// depth views, depth, blend and rasterizer states, samplers, constant buffers per stage, resource slots).
//
// Render targets keep their top row first in memory, as texture files do: the vertex shaders turn y
// over, and the swap chain turns the picture the right way up when it presents. So a render target and a
// loaded texture are addressed alike, with texture coordinate (0, 0) at the top left.
#pragma once
#include "platform/gpu_types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform
{
class Gpu_Device;

// A 2D texture, multisampled 2D texture or cube map.
class Gpu_Texture
{
  public:
    Gpu_Texture(const Gpu_Texture&) = delete;
    Gpu_Texture& operator=(const Gpu_Texture&) = delete;
    ~Gpu_Texture();
    const Gpu_Texture_Desc& Desc() const { return m_desc; }
    unsigned Name() const { return m_name; }
    unsigned Target() const { return m_target; }

  private:
    friend class Gpu_Device;
    friend class Gpu_View;
    Gpu_Texture(Gpu_Device* device, const Gpu_Texture_Desc& desc) : m_device(device), m_desc(desc) {}
    Gpu_Device* m_device;
    Gpu_Texture_Desc m_desc;
    unsigned m_name = 0;
    unsigned m_target = 0;
};

// A way of using a texture: as a shader resource, as a render target or as a depth-stencil target.
// The texture must outlive its views. A view that goes while it is bound as a target is unbound.
class Gpu_View
{
  public:
    enum class Kind : uint8_t
    {
        shader_resource,
        render_target,
        depth_stencil
    };
    Gpu_View(Kind kind, const Gpu_Texture* texture)
        : m_kind(kind), m_texture(texture), m_serial(Next_Serial())
    {
    }
    Gpu_View(const Gpu_View&) = delete;
    Gpu_View& operator=(const Gpu_View&) = delete;
    ~Gpu_View();
    Kind Get_Kind() const { return m_kind; }
    const Gpu_Texture* Texture() const { return m_texture; }
    // Never 0 and never the same for two views of one run: what a record of the bound view keeps, since a
    // view made after another was freed may get the freed one's address.
    uint64_t Serial() const { return m_serial; }

  private:
    static uint64_t Next_Serial();
    Kind m_kind;
    const Gpu_Texture* m_texture;
    uint64_t m_serial;
};

// A vertex, index or constant buffer.
class Gpu_Buffer
{
  public:
    Gpu_Buffer(const Gpu_Buffer&) = delete;
    Gpu_Buffer& operator=(const Gpu_Buffer&) = delete;
    ~Gpu_Buffer();
    size_t Size() const { return m_size; }
    uint32_t Bind_Flags() const { return m_bind; }
    unsigned Name() const { return m_name; }

  private:
    friend class Gpu_Device;
    Gpu_Buffer() = default;
    unsigned m_name = 0;
    size_t m_size = 0;
    uint32_t m_bind = 0;
    bool m_dynamic = false;
    std::vector<uint8_t> m_shadow; // the mapped bytes between Map and Unmap
    bool m_mapped = false;
};

class Gpu_Sampler
{
  public:
    Gpu_Sampler(const Gpu_Sampler&) = delete;
    Gpu_Sampler& operator=(const Gpu_Sampler&) = delete;
    ~Gpu_Sampler();
    const Gpu_Sampler_Desc& Desc() const { return m_desc; }

  private:
    friend class Gpu_Device;
    Gpu_Sampler() = default;
    unsigned m_name = 0;
    Gpu_Sampler_Desc m_desc;
};

// Fixed-function state objects: a description checked once at creation.
struct Gpu_Depth_State
{
    Gpu_Depth_Desc desc;
};
struct Gpu_Blend_State
{
    Gpu_Blend_Desc desc;
};
struct Gpu_Rasterizer_State
{
    Gpu_Rasterizer_Desc desc;
};

// A compiled shader stage.
class Gpu_Shader
{
  public:
    Gpu_Shader(const Gpu_Shader&) = delete;
    Gpu_Shader& operator=(const Gpu_Shader&) = delete;
    ~Gpu_Shader();
    Gpu_Stage Stage() const { return m_stage; }
    unsigned Name() const { return m_name; }

  private:
    friend class Gpu_Device;
    Gpu_Shader(Gpu_Device* device, Gpu_Stage stage) : m_device(device), m_stage(stage) {}
    Gpu_Device* m_device;
    Gpu_Stage m_stage;
    unsigned m_name = 0;
};

class Gpu_Input_Layout
{
  public:
    struct Element
    {
        std::string attribute;
        unsigned components;
        unsigned offset;
    };
    const std::vector<Element>& Elements() const { return m_elements; }

  private:
    friend class Gpu_Device;
    std::vector<Element> m_elements;
};

// The GL set-up every window of the program is created with, so that all share the device's context:
// 3.3 core, plain RGBA, no depth or multisampling of its own (the swap chain draws into framebuffers of
// its own and copies the picture to the window when it presents). Needs the video system open.
void Gpu_Set_Window_Attributes();

// Everything the renderer needs from the GPU. The device outlives every resource it created.
class Gpu_Device
{
  public:
    Gpu_Device() = default;
    Gpu_Device(const Gpu_Device&) = delete;
    Gpu_Device& operator=(const Gpu_Device&) = delete;
    ~Gpu_Device() { Destroy(); }

    // The GL context (3.3 core) on a hidden window. Sets the window attributes that every later window
    // needs to share it. Fails with a result code; `Error()` then names the reason.
    Gpu_Result Create();
    void Destroy();
    bool Created() const { return m_context != nullptr; }
    const char* Error() const { return m_error; }
    // The GL version of the context as major * 10 + minor (33 for 3.3).
    int Version() const { return m_version; }

    // Resources. `initial` holds, for each mip level (of each cube face, faces outermost), its bytes one
    // after the other; null leaves the texture's contents undefined (zero for dynamic textures).
    Gpu_Result Create_Texture(const Gpu_Texture_Desc& desc, const uint8_t* initial, size_t initial_size,
                              std::unique_ptr<Gpu_Texture>& out);
    Gpu_Result Create_View(Gpu_View::Kind kind, const Gpu_Texture* texture, std::unique_ptr<Gpu_View>& out);
    Gpu_Result Create_Buffer(uint32_t bind_flags, size_t size, bool dynamic, const void* initial,
                             std::unique_ptr<Gpu_Buffer>& out);
    Gpu_Result Create_Sampler(const Gpu_Sampler_Desc& desc, std::unique_ptr<Gpu_Sampler>& out);
    Gpu_Result Create_Depth_State(const Gpu_Depth_Desc& desc, std::unique_ptr<Gpu_Depth_State>& out);
    Gpu_Result Create_Blend_State(const Gpu_Blend_Desc& desc, std::unique_ptr<Gpu_Blend_State>& out);
    Gpu_Result Create_Rasterizer_State(const Gpu_Rasterizer_Desc& desc,
                                       std::unique_ptr<Gpu_Rasterizer_State>& out);
    // Compiles GLSL source for a stage. On a compile error returns GPU_E_FAIL with the compiler's text in
    // `messages`.
    Gpu_Result Compile_Shader(Gpu_Stage stage, const char* source, size_t size, const char* source_name,
                              std::unique_ptr<Gpu_Shader>& out, std::string& messages);
    // Checks the layout against the vertex shader's inputs: every input must be fed by an element.
    Gpu_Result Create_Input_Layout(const Gpu_Input_Element* elements, int count,
                                   const Gpu_Shader& vertex_shader, std::unique_ptr<Gpu_Input_Layout>& out);

    // Context: targets, viewport, clears.
    void Set_Targets(const Gpu_View* colour, const Gpu_View* depth);
    void Set_Viewport(float x, float y, float width, float height, float min_depth, float max_depth);
    void Clear_Target(const Gpu_View* colour, const float rgba[4]);
    void Clear_Depth_Stencil(const Gpu_View* depth, bool clear_depth, float value, bool clear_stencil,
                             uint8_t stencil);
    // Copies a multisampled texture into a single-sampled one of the same size and format.
    void Resolve(const Gpu_Texture* destination, const Gpu_Texture* source);

    // Context: fixed-function states (null restores the defaults).
    void Set_Depth_State(const Gpu_Depth_State* state, uint32_t stencil_reference);
    void Set_Blend_State(const Gpu_Blend_State* state, const float factor[4], uint32_t sample_mask);
    void Set_Rasterizer_State(const Gpu_Rasterizer_State* state);

    // Context: shader inputs. Pixel resource and sampler slot k are texture unit k (0 to 15); a null
    // view unbinds its slot. Constant buffer slot k of a stage feeds the uniform block of that stage whose
    // name begins "VS_" (vertex) or "PS_" (pixel) and ends with the digit k (no digit: slot 0).
    void Set_Pixel_Views(int first, int count, const Gpu_View* const* views);
    void Set_Pixel_Samplers(int first, int count, const Gpu_Sampler* const* samplers);
    void Set_Constant_Buffer(Gpu_Stage stage, int slot, const Gpu_Buffer* buffer);
    void Set_Shaders(const Gpu_Input_Layout* layout, const Gpu_Shader* vertex, const Gpu_Shader* pixel);
    void Set_Vertex_Buffer(const Gpu_Buffer* buffer, unsigned stride, unsigned offset);
    void Set_Index_Buffer(const Gpu_Buffer* buffer); // 32-bit indices
    // Triangle lists.
    void Draw_Indexed(unsigned index_count, unsigned first_index, int base_vertex);
    void Draw(unsigned vertex_count, unsigned first_vertex);
    // While on, clears, resolves, draws and presents do nothing (a frame nobody will see); everything else,
    // buffer uploads and state changes included, goes on as usual.
    void Discard_Output(bool discard) { m_output_discarded = discard; }
    // A view is going: the targets forget it.
    void Forget_View(const Gpu_View* view);
    bool Output_Discarded() const { return m_output_discarded; }

    // Write-discard mapping of a dynamic buffer: the old contents are gone; Unmap uploads.
    void* Map_Discard(Gpu_Buffer* buffer);
    void Unmap(Gpu_Buffer* buffer);
    // Replaces the whole of mip 0 of a 2D texture with tightly packed pixels of its format.
    Gpu_Result Update_Texture(Gpu_Texture* texture, const void* pixels);

    // Reads mip 0 of a single-sampled 2D RGBA or BGRA texture as RGBA bytes, top row first.
    bool Read_Pixels(const Gpu_Texture* texture, std::vector<uint8_t>& rgba);
    // Waits for the GPU to finish what it was given.
    void Finish();

    // For the swap chains: makes the context current on a window, and back on the hidden window.
    bool Make_Current(void* window);
    void Release_Window(void* window);
    // Links the vertex and pixel shader into the program that draws with them (done on first use
    // otherwise). On a link error returns GPU_E_FAIL with the linker's text in `messages`.
    Gpu_Result Prepare_Program(const Gpu_Shader* vertex, const Gpu_Shader* pixel, std::string& messages);
    // Told by textures and shaders that go away, so that framebuffers and programs built on them go too.
    void Forget_Texture(unsigned name);
    void Forget_Shader(unsigned name);
    // The framebuffer that draws into the textures (either may be null); 0 when they cannot be combined.
    unsigned Framebuffer_For(const Gpu_Texture* colour, const Gpu_Texture* depth);

  private:
    bool m_output_discarded = false;
    void Apply_Depth();
    void Apply_Blend();
    void Apply_Rasterizer();
    unsigned Program_For(const Gpu_Shader* vertex, const Gpu_Shader* pixel, std::string* messages);
    void Bind_Vertex_Input();
    void Restore_Write_Masks();

    struct Framebuffer
    {
        unsigned colour = 0; // GL texture names of the attachments
        unsigned depth = 0;
        unsigned name = 0;
    };
    struct Program
    {
        unsigned vertex = 0;
        unsigned pixel = 0;
        unsigned name = 0;
        bool linked = false;
    };

    void* m_window = nullptr;  // the hidden window
    void* m_context = nullptr; // the GL context
    void* m_current_window = nullptr;
    bool m_video_open = false;
    char m_error[256] = {};
    int m_version = 0;
    unsigned m_vertex_array = 0;

    std::vector<Framebuffer> m_framebuffers;
    std::vector<Program> m_programs;
    const Gpu_View* m_colour_view = nullptr;
    const Gpu_View* m_depth_view = nullptr;
    unsigned m_bound_framebuffer = 0;

    Gpu_Depth_Desc m_depth;
    uint32_t m_stencil_reference = 0;
    Gpu_Blend_Desc m_blend;
    float m_blend_factor[4] = {};
    Gpu_Rasterizer_Desc m_rasterizer;

    const Gpu_Input_Layout* m_layout = nullptr;
    const Gpu_Shader* m_vertex_shader = nullptr;
    const Gpu_Shader* m_pixel_shader = nullptr;
    unsigned m_program = 0;
    const Gpu_Buffer* m_vertex_buffer = nullptr;
    unsigned m_vertex_stride = 0;
    unsigned m_vertex_offset = 0;
    const Gpu_Buffer* m_index_buffer = nullptr;
};
} // namespace platform
