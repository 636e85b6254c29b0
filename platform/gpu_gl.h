// Inside the GPU layer only: the GL error helpers, texture format mapping and slot limits that the
// device's resource, state and drawing code share.
#pragma once
#include "platform/gpu_types.h"

#include <epoxy/gl.h>

namespace platform
{
inline constexpr int k_pixel_constant_base = 14; // uniform buffer binding of pixel constant slot 0
inline constexpr int k_max_slots = 14;
inline constexpr int k_max_units = 16;

// The result of the GL calls made since the errors were last cleared (and clears them).
inline Gpu_Result Gl_Result()
{
    GLenum error = glGetError();
    Gpu_Result result = GPU_OK;
    while (error != GL_NO_ERROR)
    {
        result = error == GL_OUT_OF_MEMORY ? GPU_E_OUTOFMEMORY : GPU_E_INVALIDARG;
        error = glGetError();
    }
    return result;
}

inline void Clear_Gl_Errors()
{
    while (glGetError() != GL_NO_ERROR)
    {
    }
}

// How a format is stored and uploaded.
struct Gl_Format
{
    GLenum internal = 0;
    GLenum format = 0;
    GLenum type = 0;
    bool compressed = false;
    bool opaque = false; // alpha reads as 1
};

inline bool Gl_Format_Of(uint32_t format, Gl_Format& out)
{
    switch (format)
    {
    case GPU_FORMAT_R8G8B8A8_UNORM:
        out = {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, false, false};
        return true;
    case GPU_FORMAT_B8G8R8A8_UNORM:
        out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, false, false};
        return true;
    case GPU_FORMAT_B8G8R8X8_UNORM:
        out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, false, true};
        return true;
    case GPU_FORMAT_D24_UNORM_S8_UINT:
        out = {GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, false, false};
        return true;
    case GPU_FORMAT_BC1_UNORM:
        out = {GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 0, 0, true, false};
        return true;
    case GPU_FORMAT_BC2_UNORM:
        out = {GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 0, true, false};
        return true;
    case GPU_FORMAT_BC3_UNORM:
        out = {GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 0, true, false};
        return true;
    default:
        return false;
    }
}
} // namespace platform
