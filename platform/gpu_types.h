// Plain types of the GPU layer: result codes, format codes and the descriptions of textures, states,
// samplers and vertex inputs. The numbers are the ones the engine's tables and log lines are written in.
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform
{
// Result of a GPU call: 0 is success, negative values are failures (the codes of the Windows graphics
// stack, so that one table turns each into its log text).
using Gpu_Result = int32_t;

constexpr Gpu_Result GPU_OK = 0;
constexpr Gpu_Result GPU_S_FALSE = 1;
constexpr Gpu_Result GPU_E_NOTIMPL = static_cast<int32_t>(0x80004001u);
constexpr Gpu_Result GPU_E_FAIL = static_cast<int32_t>(0x80004005u);
constexpr Gpu_Result GPU_E_OUTOFMEMORY = static_cast<int32_t>(0x8007000Eu);
constexpr Gpu_Result GPU_E_INVALIDARG = static_cast<int32_t>(0x80070057u);
constexpr Gpu_Result GPU_D3DERR_WASSTILLDRAWING = static_cast<int32_t>(0x8876021Cu);
constexpr Gpu_Result GPU_D3DERR_INVALIDCALL = static_cast<int32_t>(0x8876086Cu);
constexpr Gpu_Result GPU_ERROR_INVALID_CALL = static_cast<int32_t>(0x887A0001u);
constexpr Gpu_Result GPU_ERROR_WAS_STILL_DRAWING = static_cast<int32_t>(0x887A000Au);
constexpr Gpu_Result GPU_ERROR_TOO_MANY_UNIQUE_STATE_OBJECTS = static_cast<int32_t>(0x887C0001u);
constexpr Gpu_Result GPU_ERROR_FILE_NOT_FOUND = static_cast<int32_t>(0x887C0002u);
constexpr Gpu_Result GPU_ERROR_TOO_MANY_UNIQUE_VIEW_OBJECTS = static_cast<int32_t>(0x887C0003u);
constexpr Gpu_Result GPU_ERROR_DEFERRED_CONTEXT_MAP_WITHOUT_INITIAL_DISCARD =
    static_cast<int32_t>(0x887C0004u);

inline bool Gpu_Failed(Gpu_Result result)
{
    return result < 0;
}

// Pixel format codes (DXGI numbering).
enum Gpu_Format : uint32_t
{
    GPU_FORMAT_UNKNOWN = 0,
    GPU_FORMAT_R8G8B8A8_UNORM = 28,
    GPU_FORMAT_D24_UNORM_S8_UINT = 45,
    GPU_FORMAT_BC1_UNORM = 71,
    GPU_FORMAT_BC2_UNORM = 74,
    GPU_FORMAT_BC3_UNORM = 77,
    GPU_FORMAT_B8G8R8A8_UNORM = 87,
    GPU_FORMAT_B8G8R8X8_UNORM = 88,
};

// Bytes of one mip level of a format (block-compressed formats in whole 4 x 4 blocks); 0 for a format the
// layer does not store.
inline size_t Gpu_Level_Bytes(uint32_t format, uint32_t width, uint32_t height)
{
    size_t blocks = static_cast<size_t>((width + 3) / 4) * ((height + 3) / 4);
    switch (format)
    {
    case GPU_FORMAT_BC1_UNORM:
        return blocks * 8;
    case GPU_FORMAT_BC2_UNORM:
    case GPU_FORMAT_BC3_UNORM:
        return blocks * 16;
    case GPU_FORMAT_R8G8B8A8_UNORM:
    case GPU_FORMAT_B8G8R8A8_UNORM:
    case GPU_FORMAT_B8G8R8X8_UNORM:
    case GPU_FORMAT_D24_UNORM_S8_UINT:
        return static_cast<size_t>(width) * height * 4;
    default:
        return 0;
    }
}

enum Gpu_Usage : uint32_t
{
    GPU_USAGE_DEFAULT = 0,
    GPU_USAGE_IMMUTABLE = 1,
    GPU_USAGE_DYNAMIC = 2,
};

enum Gpu_Bind : uint32_t
{
    GPU_BIND_VERTEX_BUFFER = 0x1,
    GPU_BIND_INDEX_BUFFER = 0x2,
    GPU_BIND_CONSTANT_BUFFER = 0x4,
    GPU_BIND_SHADER_RESOURCE = 0x8,
    GPU_BIND_RENDER_TARGET = 0x20,
    GPU_BIND_DEPTH_STENCIL = 0x40,
};

constexpr uint32_t GPU_CPU_ACCESS_WRITE = 0x10000;
constexpr uint32_t GPU_MISC_TEXTURE_CUBE = 0x4;
// Sample quality that asks for the standard multisample pattern.
constexpr uint32_t GPU_STANDARD_MULTISAMPLE_PATTERN = 0xFFFFFFFF;

// A texture as it reports itself: eleven 32-bit values.
struct Gpu_Texture_Desc
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t mip_levels = 1;
    uint32_t array_size = 1;
    uint32_t format = GPU_FORMAT_UNKNOWN;
    uint32_t sample_count = 1;
    uint32_t sample_quality = 0;
    uint32_t usage = GPU_USAGE_DEFAULT;
    uint32_t bind_flags = 0;
    uint32_t cpu_access_flags = 0;
    uint32_t misc_flags = 0;
};

enum class Gpu_Compare : uint8_t
{
    never,
    less,
    equal,
    less_equal,
    greater,
    not_equal,
    greater_equal,
    always
};

enum class Gpu_Stencil_Op : uint8_t
{
    keep,
    zero,
    replace,
    increment_saturate,
    decrement_saturate,
    invert,
    increment,
    decrement
};

struct Gpu_Stencil_Face
{
    Gpu_Stencil_Op fail = Gpu_Stencil_Op::keep;
    Gpu_Stencil_Op depth_fail = Gpu_Stencil_Op::keep;
    Gpu_Stencil_Op pass = Gpu_Stencil_Op::keep;
    Gpu_Compare function = Gpu_Compare::always;
};

struct Gpu_Depth_Desc
{
    bool depth_enable = true;
    bool depth_write = true;
    Gpu_Compare depth_function = Gpu_Compare::less;
    bool stencil_enable = false;
    uint8_t stencil_read_mask = 0xFF;
    uint8_t stencil_write_mask = 0xFF;
    Gpu_Stencil_Face front;
    Gpu_Stencil_Face back;
};

enum class Gpu_Blend : uint8_t
{
    zero,
    one,
    source_colour,
    inverse_source_colour,
    source_alpha,
    inverse_source_alpha,
    destination_alpha,
    inverse_destination_alpha,
    destination_colour,
    inverse_destination_colour
};

enum class Gpu_Blend_Op : uint8_t
{
    add,
    subtract,         // source - destination
    reverse_subtract, // destination - source
    min,
    max
};

// Blend of render target 0.
struct Gpu_Blend_Desc
{
    bool enable = false;
    Gpu_Blend source = Gpu_Blend::one;
    Gpu_Blend destination = Gpu_Blend::zero;
    Gpu_Blend_Op op = Gpu_Blend_Op::add;
    Gpu_Blend source_alpha = Gpu_Blend::one;
    Gpu_Blend destination_alpha = Gpu_Blend::zero;
    Gpu_Blend_Op op_alpha = Gpu_Blend_Op::add;
    uint8_t write_mask = 0xF; // red 1, green 2, blue 4, alpha 8
};

struct Gpu_Rasterizer_Desc
{
    bool wireframe = false;
    bool cull_back = true; // else no culling
    bool front_clockwise = true;
    int depth_bias = 0;
    float depth_bias_clamp = 0.0f;
    float slope_scaled_depth_bias = 0.0f;
    bool depth_clip = true;
    bool scissor = false;
};

enum class Gpu_Filter : uint8_t
{
    point,
    linear,
    anisotropic
};

enum class Gpu_Address : uint8_t
{
    wrap,
    mirror,
    clamp,
    border
};

struct Gpu_Sampler_Desc
{
    Gpu_Filter filter = Gpu_Filter::linear;
    Gpu_Address address_u = Gpu_Address::clamp;
    Gpu_Address address_v = Gpu_Address::clamp;
    Gpu_Address address_w = Gpu_Address::clamp;
    float mip_lod_bias = 0.0f;
    unsigned max_anisotropy = 1;
    Gpu_Compare comparison = Gpu_Compare::always;
    float border_colour[4] = {0, 0, 0, 0};
    float min_lod = 0.0f;
    float max_lod = 3.402823466e+38f;
};

// One element of a vertex input layout: the vertex shader input of the same name (the semantic, with its
// index appended when that is above 0) reads `components` 32-bit floats at `offset` of each vertex.
struct Gpu_Input_Element
{
    const char* semantic = nullptr;
    unsigned semantic_index = 0;
    unsigned components = 0;
    unsigned offset = 0; // GPU_APPEND_ALIGNED: right after the previous element
};
constexpr unsigned GPU_APPEND_ALIGNED = 0xFFFFFFFF;

enum class Gpu_Stage : uint8_t
{
    vertex,
    pixel
};
} // namespace platform
