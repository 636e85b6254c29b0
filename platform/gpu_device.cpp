// Gpu_Device on OpenGL 3.3 core through an SDL GL context, functions loaded with libepoxy.
#include "platform/gpu_device.h"

#include "platform/os_window.h"

#include <SDL.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <epoxy/gl.h>

namespace platform
{
namespace
{
constexpr int k_pixel_constant_base = 14; // uniform buffer binding of pixel constant slot 0
constexpr int k_max_slots = 14;
constexpr int k_max_units = 16;

Gpu_Result Gl_Result()
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

void Clear_Gl_Errors()
{
    while (glGetError() != GL_NO_ERROR)
    {
    }
}

GLenum Gl_Compare(Gpu_Compare compare)
{
    static const GLenum table[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                                   GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    return table[static_cast<int>(compare)];
}

GLenum Gl_Stencil_Op(Gpu_Stencil_Op op)
{
    static const GLenum table[] = {GL_KEEP, GL_ZERO,   GL_REPLACE,   GL_INCR,
                                   GL_DECR, GL_INVERT, GL_INCR_WRAP, GL_DECR_WRAP};
    return table[static_cast<int>(op)];
}

GLenum Gl_Blend(Gpu_Blend blend)
{
    static const GLenum table[] = {GL_ZERO,      GL_ONE,
                                   GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR,
                                   GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                                   GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
                                   GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR};
    return table[static_cast<int>(blend)];
}

GLenum Gl_Blend_Op(Gpu_Blend_Op op)
{
    static const GLenum table[] = {GL_FUNC_ADD, GL_FUNC_SUBTRACT, GL_FUNC_REVERSE_SUBTRACT, GL_MIN, GL_MAX};
    return table[static_cast<int>(op)];
}

GLenum Gl_Address(Gpu_Address address)
{
    static const GLenum table[] = {GL_REPEAT, GL_MIRRORED_REPEAT, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_BORDER};
    return table[static_cast<int>(address)];
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

bool Gl_Format_Of(uint32_t format, Gl_Format& out)
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

// Slot number written as the last digit of a name; 0 when it ends otherwise.
int Trailing_Slot(const char* name)
{
    size_t length = std::strlen(name);
    if (length && std::isdigit(static_cast<unsigned char>(name[length - 1])))
    {
        size_t start = length - 1;
        while (start > 0 && std::isdigit(static_cast<unsigned char>(name[start - 1])))
            --start;
        return std::atoi(name + start);
    }
    return 0;
}
} // namespace

Gpu_Texture::~Gpu_Texture()
{
    if (m_name)
    {
        m_device->Forget_Texture(m_name);
        glDeleteTextures(1, &m_name);
    }
}

Gpu_Buffer::~Gpu_Buffer()
{
    if (m_name)
        glDeleteBuffers(1, &m_name);
}

Gpu_Sampler::~Gpu_Sampler()
{
    if (m_name)
        glDeleteSamplers(1, &m_name);
}

Gpu_Shader::~Gpu_Shader()
{
    if (m_name)
    {
        m_device->Forget_Shader(m_name);
        glDeleteShader(m_name);
    }
}

void Gpu_Set_Window_Attributes()
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
}

Gpu_Result Gpu_Device::Create()
{
    Destroy();
    if (!Open_Video_System())
    {
        std::snprintf(m_error, sizeof(m_error), "%s", SDL_GetError());
        return GPU_E_FAIL;
    }
    m_video_open = true;
    Gpu_Set_Window_Attributes();

    SDL_Window* window =
        SDL_CreateWindow("Vorta5 device", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window)
    {
        std::snprintf(m_error, sizeof(m_error), "%s", SDL_GetError());
        Destroy();
        return GPU_E_FAIL;
    }
    m_window = window;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context)
    {
        std::snprintf(m_error, sizeof(m_error), "%s", SDL_GetError());
        Destroy();
        return GPU_E_FAIL;
    }
    m_context = context;
    m_current_window = window;
    m_version = epoxy_gl_version();
    if (m_version < 33)
    {
        std::snprintf(m_error, sizeof(m_error), "OpenGL %d.%d is below 3.3", m_version / 10, m_version % 10);
        Destroy();
        return GPU_E_NOTIMPL;
    }
    glGenVertexArrays(1, &m_vertex_array);
    glBindVertexArray(m_vertex_array);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glDisable(GL_FRAMEBUFFER_SRGB);
    m_depth = Gpu_Depth_Desc{};
    m_blend = Gpu_Blend_Desc{};
    m_rasterizer = Gpu_Rasterizer_Desc{};
    Apply_Depth();
    Apply_Blend();
    Apply_Rasterizer();
    Clear_Gl_Errors();
    return GPU_OK;
}

void Gpu_Device::Destroy()
{
    if (m_context)
    {
        SDL_GL_MakeCurrent(static_cast<SDL_Window*>(m_window), static_cast<SDL_GLContext>(m_context));
        for (Framebuffer& framebuffer : m_framebuffers)
            glDeleteFramebuffers(1, &framebuffer.name);
        for (Program& program : m_programs)
            glDeleteProgram(program.name);
        if (m_vertex_array)
            glDeleteVertexArrays(1, &m_vertex_array);
        SDL_GL_MakeCurrent(nullptr, nullptr);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_context));
    }
    m_framebuffers.clear();
    m_programs.clear();
    m_vertex_array = 0;
    m_context = nullptr;
    if (m_window)
        SDL_DestroyWindow(static_cast<SDL_Window*>(m_window));
    m_window = nullptr;
    m_current_window = nullptr;
    if (m_video_open)
        Close_Video_System();
    m_video_open = false;
    m_colour_view = m_depth_view = nullptr;
    m_bound_framebuffer = 0;
    m_layout = nullptr;
    m_vertex_shader = m_pixel_shader = nullptr;
    m_program = 0;
    m_vertex_buffer = m_index_buffer = nullptr;
}

bool Gpu_Device::Make_Current(void* window)
{
    if (!m_context)
        return false;
    if (!window)
        window = m_window;
    // Another context (a second device, an adapter probe) may have been made current meanwhile.
    if (window == m_current_window && SDL_GL_GetCurrentContext() == m_context &&
        SDL_GL_GetCurrentWindow() == window)
        return true;
    if (SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window), static_cast<SDL_GLContext>(m_context)) != 0)
        return false;
    m_current_window = window;
    return true;
}

void Gpu_Device::Release_Window(void* window)
{
    if (window && window == m_current_window)
        Make_Current(m_window);
}

// Resources ---------------------------------------------------------------------------------------------

Gpu_Result Gpu_Device::Create_Texture(const Gpu_Texture_Desc& desc, const uint8_t* initial,
                                      size_t initial_size, std::unique_ptr<Gpu_Texture>& out)
{
    out.reset();
    if (!m_context)
        return GPU_ERROR_INVALID_CALL;
    Gl_Format gl;
    bool cube = (desc.misc_flags & GPU_MISC_TEXTURE_CUBE) != 0;
    bool multisampled = desc.sample_count > 1;
    GLint max_size = 0;
    glGetIntegerv(cube ? GL_MAX_CUBE_MAP_TEXTURE_SIZE : GL_MAX_TEXTURE_SIZE, &max_size);
    if (!Gl_Format_Of(desc.format, gl) || desc.width == 0 || desc.height == 0 ||
        desc.width > static_cast<uint32_t>(max_size) || desc.height > static_cast<uint32_t>(max_size) ||
        desc.mip_levels == 0 || desc.mip_levels > 16 || desc.array_size != (cube ? 6u : 1u) ||
        (cube && desc.width != desc.height) || (multisampled && (cube || desc.mip_levels != 1 || initial)) ||
        (gl.compressed && (desc.bind_flags & (GPU_BIND_RENDER_TARGET | GPU_BIND_DEPTH_STENCIL))))
        return GPU_E_INVALIDARG;
    if (multisampled)
    {
        GLint max_samples = 0;
        glGetIntegerv(desc.format == GPU_FORMAT_D24_UNORM_S8_UINT ? GL_MAX_DEPTH_TEXTURE_SAMPLES
                                                                  : GL_MAX_COLOR_TEXTURE_SAMPLES,
                      &max_samples);
        if (static_cast<GLint>(desc.sample_count) > max_samples)
            return GPU_E_INVALIDARG;
    }
    // The bytes given must cover every level of every face.
    if (initial)
    {
        size_t needed = 0;
        for (uint32_t face = 0; face < desc.array_size; ++face)
            for (uint32_t level = 0; level < desc.mip_levels; ++level)
                needed += Gpu_Level_Bytes(desc.format, std::max(1u, desc.width >> level),
                                          std::max(1u, desc.height >> level));
        if (initial_size < needed)
            return GPU_E_INVALIDARG;
    }

    std::unique_ptr<Gpu_Texture> texture(new Gpu_Texture(this, desc));
    texture->m_target = cube ? GL_TEXTURE_CUBE_MAP : multisampled ? GL_TEXTURE_2D_MULTISAMPLE : GL_TEXTURE_2D;
    if (texture->m_desc.sample_quality == GPU_STANDARD_MULTISAMPLE_PATTERN && !multisampled)
        texture->m_desc.sample_quality = 0;
    Clear_Gl_Errors();
    glGenTextures(1, &texture->m_name);
    glActiveTexture(GL_TEXTURE0 + k_max_units);
    glBindTexture(texture->m_target, texture->m_name);
    if (multisampled)
    {
        glTexImage2DMultisample(GL_TEXTURE_2D_MULTISAMPLE, desc.sample_count, gl.internal, desc.width,
                                desc.height, GL_TRUE);
    }
    else
    {
        std::vector<uint8_t> zeros;
        const uint8_t* bytes = initial;
        for (uint32_t face = 0; face < desc.array_size; ++face)
        {
            GLenum target = cube ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + face : GL_TEXTURE_2D;
            for (uint32_t level = 0; level < desc.mip_levels; ++level)
            {
                GLsizei w = std::max(1u, desc.width >> level), h = std::max(1u, desc.height >> level);
                size_t size = Gpu_Level_Bytes(desc.format, w, h);
                const uint8_t* level_bytes = bytes;
                if (!bytes && desc.usage == GPU_USAGE_DYNAMIC && !gl.compressed)
                {
                    zeros.assign(size, 0);
                    level_bytes = zeros.data();
                }
                if (gl.compressed)
                {
                    if (level_bytes)
                        glCompressedTexImage2D(target, level, gl.internal, w, h, 0,
                                               static_cast<GLsizei>(size), level_bytes);
                    else
                        glTexImage2D(target, level, gl.internal, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
                }
                else
                {
                    glTexImage2D(target, level, gl.internal, w, h, 0, gl.format, gl.type, level_bytes);
                }
                if (bytes)
                    bytes += size;
            }
        }
        glTexParameteri(texture->m_target, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(texture->m_target, GL_TEXTURE_MAX_LEVEL, desc.mip_levels - 1);
        glTexParameteri(texture->m_target, GL_TEXTURE_MIN_FILTER,
                        desc.mip_levels > 1 ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
        if (gl.opaque)
            glTexParameteri(texture->m_target, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    }
    glBindTexture(texture->m_target, 0);
    glActiveTexture(GL_TEXTURE0);
    Gpu_Result result = Gl_Result();
    if (Gpu_Failed(result))
        return result;
    out = std::move(texture);
    return GPU_OK;
}

Gpu_Result Gpu_Device::Create_View(Gpu_View::Kind kind, const Gpu_Texture* texture,
                                   std::unique_ptr<Gpu_View>& out)
{
    out.reset();
    if (!texture)
        return GPU_E_INVALIDARG;
    const Gpu_Texture_Desc& desc = texture->Desc();
    uint32_t needed = kind == Gpu_View::Kind::shader_resource ? GPU_BIND_SHADER_RESOURCE
                      : kind == Gpu_View::Kind::render_target ? GPU_BIND_RENDER_TARGET
                                                              : GPU_BIND_DEPTH_STENCIL;
    if (!(desc.bind_flags & needed))
        return GPU_E_INVALIDARG;
    if (kind != Gpu_View::Kind::shader_resource && texture->Target() == GL_TEXTURE_CUBE_MAP)
        return GPU_E_INVALIDARG;
    out = std::make_unique<Gpu_View>(kind, texture);
    return GPU_OK;
}

Gpu_Result Gpu_Device::Create_Buffer(uint32_t bind_flags, size_t size, bool dynamic, const void* initial,
                                     std::unique_ptr<Gpu_Buffer>& out)
{
    out.reset();
    if (!m_context)
        return GPU_ERROR_INVALID_CALL;
    if (size == 0 || (!dynamic && !initial) || (bind_flags & GPU_BIND_CONSTANT_BUFFER && size % 16))
        return GPU_E_INVALIDARG;
    std::unique_ptr<Gpu_Buffer> buffer(new Gpu_Buffer());
    buffer->m_size = size;
    buffer->m_bind = bind_flags;
    buffer->m_dynamic = dynamic;
    Clear_Gl_Errors();
    glGenBuffers(1, &buffer->m_name);
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer->m_name);
    std::vector<uint8_t> zeros;
    if (!initial)
    {
        zeros.assign(size, 0);
        initial = zeros.data();
    }
    glBufferData(GL_COPY_WRITE_BUFFER, static_cast<GLsizeiptr>(size), initial,
                 dynamic ? GL_STREAM_DRAW : GL_STATIC_DRAW);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    Gpu_Result result = Gl_Result();
    if (Gpu_Failed(result))
        return result;
    out = std::move(buffer);
    return GPU_OK;
}

void* Gpu_Device::Map_Discard(Gpu_Buffer* buffer)
{
    if (!buffer || !buffer->m_dynamic)
        return nullptr;
    buffer->m_shadow.assign(buffer->m_size, 0);
    buffer->m_mapped = true;
    return buffer->m_shadow.data();
}

void Gpu_Device::Unmap(Gpu_Buffer* buffer)
{
    if (!buffer || !buffer->m_mapped)
        return;
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer->m_name);
    // A new store for the whole buffer: draws still reading the old contents keep them.
    glBufferData(GL_COPY_WRITE_BUFFER, static_cast<GLsizeiptr>(buffer->m_size), buffer->m_shadow.data(),
                 GL_STREAM_DRAW);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    buffer->m_mapped = false;
}

Gpu_Result Gpu_Device::Update_Texture(Gpu_Texture* texture, const void* pixels)
{
    Gl_Format gl;
    if (!texture || !pixels || texture->Target() != GL_TEXTURE_2D ||
        !Gl_Format_Of(texture->Desc().format, gl) || gl.compressed)
        return GPU_E_INVALIDARG;
    Clear_Gl_Errors();
    glActiveTexture(GL_TEXTURE0 + k_max_units);
    glBindTexture(GL_TEXTURE_2D, texture->Name());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, texture->Desc().width, texture->Desc().height, gl.format, gl.type,
                    pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    return Gl_Result();
}

Gpu_Result Gpu_Device::Create_Sampler(const Gpu_Sampler_Desc& desc, std::unique_ptr<Gpu_Sampler>& out)
{
    out.reset();
    if (!m_context)
        return GPU_ERROR_INVALID_CALL;
    if (desc.max_anisotropy < 1 || desc.max_anisotropy > 16 || desc.min_lod > desc.max_lod)
        return GPU_E_INVALIDARG;
    std::unique_ptr<Gpu_Sampler> sampler(new Gpu_Sampler());
    sampler->m_desc = desc;
    Clear_Gl_Errors();
    glGenSamplers(1, &sampler->m_name);
    GLuint name = sampler->m_name;
    bool point = desc.filter == Gpu_Filter::point;
    glSamplerParameteri(name, GL_TEXTURE_MIN_FILTER,
                        point ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_LINEAR);
    glSamplerParameteri(name, GL_TEXTURE_MAG_FILTER, point ? GL_NEAREST : GL_LINEAR);
    glSamplerParameteri(name, GL_TEXTURE_WRAP_S, Gl_Address(desc.address_u));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_T, Gl_Address(desc.address_v));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_R, Gl_Address(desc.address_w));
    glSamplerParameterf(name, GL_TEXTURE_LOD_BIAS, desc.mip_lod_bias);
    glSamplerParameterf(name, GL_TEXTURE_MIN_LOD, desc.min_lod);
    glSamplerParameterf(name, GL_TEXTURE_MAX_LOD, desc.max_lod);
    glSamplerParameterfv(name, GL_TEXTURE_BORDER_COLOR, desc.border_colour);
    if (desc.filter == Gpu_Filter::anisotropic && epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic"))
    {
        GLfloat most = 1.0f;
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &most);
        glSamplerParameterf(name, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                            std::min(most, static_cast<float>(desc.max_anisotropy)));
    }
    Gpu_Result result = Gl_Result();
    if (Gpu_Failed(result))
        return result;
    out = std::move(sampler);
    return GPU_OK;
}

Gpu_Result Gpu_Device::Create_Depth_State(const Gpu_Depth_Desc& desc, std::unique_ptr<Gpu_Depth_State>& out)
{
    out = std::make_unique<Gpu_Depth_State>(Gpu_Depth_State{desc});
    return m_context ? GPU_OK : GPU_ERROR_INVALID_CALL;
}

Gpu_Result Gpu_Device::Create_Blend_State(const Gpu_Blend_Desc& desc, std::unique_ptr<Gpu_Blend_State>& out)
{
    out = std::make_unique<Gpu_Blend_State>(Gpu_Blend_State{desc});
    return m_context ? GPU_OK : GPU_ERROR_INVALID_CALL;
}

Gpu_Result Gpu_Device::Create_Rasterizer_State(const Gpu_Rasterizer_Desc& desc,
                                               std::unique_ptr<Gpu_Rasterizer_State>& out)
{
    out = std::make_unique<Gpu_Rasterizer_State>(Gpu_Rasterizer_State{desc});
    return m_context ? GPU_OK : GPU_ERROR_INVALID_CALL;
}

// Shaders -----------------------------------------------------------------------------------------------

Gpu_Result Gpu_Device::Compile_Shader(Gpu_Stage stage, const char* source, size_t size,
                                      const char* source_name, std::unique_ptr<Gpu_Shader>& out,
                                      std::string& messages)
{
    out.reset();
    messages.clear();
    if (!m_context)
        return GPU_ERROR_INVALID_CALL;
    if (!source || size == 0)
    {
        messages = std::string(source_name ? source_name : "") + ": empty shader source";
        return GPU_E_FAIL;
    }
    std::unique_ptr<Gpu_Shader> shader(new Gpu_Shader(this, stage));
    shader->m_name = glCreateShader(stage == Gpu_Stage::vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    const GLchar* text = source;
    GLint length = static_cast<GLint>(size);
    glShaderSource(shader->m_name, 1, &text, &length);
    glCompileShader(shader->m_name);
    GLint status = GL_FALSE;
    glGetShaderiv(shader->m_name, GL_COMPILE_STATUS, &status);
    if (status != GL_TRUE)
    {
        GLint log_length = 0;
        glGetShaderiv(shader->m_name, GL_INFO_LOG_LENGTH, &log_length);
        std::string log(static_cast<size_t>(std::max(log_length, 1)), '\0');
        glGetShaderInfoLog(shader->m_name, log_length, nullptr, log.data());
        log.resize(std::strlen(log.c_str()));
        messages =
            std::string(source_name ? source_name : "") + ": " + (log.empty() ? "compile failed" : log);
        return GPU_E_FAIL;
    }
    out = std::move(shader);
    return GPU_OK;
}

Gpu_Result Gpu_Device::Create_Input_Layout(const Gpu_Input_Element* elements, int count,
                                           const Gpu_Shader& vertex_shader,
                                           std::unique_ptr<Gpu_Input_Layout>& out)
{
    out.reset();
    if (!m_context)
        return GPU_ERROR_INVALID_CALL;
    if (!elements || count <= 0 || vertex_shader.Stage() != Gpu_Stage::vertex)
        return GPU_E_INVALIDARG;
    std::unique_ptr<Gpu_Input_Layout> layout(new Gpu_Input_Layout());
    unsigned offset = 0;
    for (int i = 0; i < count; ++i)
    {
        const Gpu_Input_Element& element = elements[i];
        if (!element.semantic || element.components < 1 || element.components > 4)
            return GPU_E_INVALIDARG;
        std::string name = element.semantic;
        if (element.semantic_index > 0)
            name += std::to_string(element.semantic_index);
        unsigned at = element.offset == GPU_APPEND_ALIGNED ? offset : element.offset;
        layout->m_elements.push_back({name, element.components, at});
        offset = at + element.components * 4;
    }
    // The shader's inputs, from a program of the vertex stage alone.
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex_shader.Name());
    glLinkProgram(program);
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    Gpu_Result result = status == GL_TRUE ? GPU_OK : GPU_E_INVALIDARG;
    GLint inputs = 0;
    if (status == GL_TRUE)
        glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &inputs);
    for (GLint i = 0; i < inputs && result == GPU_OK; ++i)
    {
        char name[128];
        GLint array_size = 0;
        GLenum type = 0;
        glGetActiveAttrib(program, i, sizeof(name), nullptr, &array_size, &type, name);
        if (std::strncmp(name, "gl_", 3) == 0)
            continue;
        auto match = std::find_if(layout->m_elements.begin(), layout->m_elements.end(),
                                  [&](const Gpu_Input_Layout::Element& e)
                                  { return SDL_strcasecmp(e.attribute.c_str(), name) == 0; });
        if (match == layout->m_elements.end())
            result = GPU_E_INVALIDARG;
        else
            match->attribute = name;
    }
    glDeleteProgram(program);
    Clear_Gl_Errors();
    if (result == GPU_OK)
        out = std::move(layout);
    return result;
}

unsigned Gpu_Device::Program_For(const Gpu_Shader* vertex, const Gpu_Shader* pixel, std::string* messages)
{
    if (!vertex || !pixel)
        return 0;
    for (const Program& program : m_programs)
        if (program.vertex == vertex->Name() && program.pixel == pixel->Name())
            return program.linked ? program.name : 0;
    Program program;
    program.vertex = vertex->Name();
    program.pixel = pixel->Name();
    program.name = glCreateProgram();
    glAttachShader(program.name, program.vertex);
    glAttachShader(program.name, program.pixel);
    glLinkProgram(program.name);
    GLint status = GL_FALSE;
    glGetProgramiv(program.name, GL_LINK_STATUS, &status);
    program.linked = status == GL_TRUE;
    if (!program.linked)
    {
        if (messages)
        {
            GLint log_length = 0;
            glGetProgramiv(program.name, GL_INFO_LOG_LENGTH, &log_length);
            std::string log(static_cast<size_t>(std::max(log_length, 1)), '\0');
            glGetProgramInfoLog(program.name, log_length, nullptr, log.data());
            log.resize(std::strlen(log.c_str()));
            *messages = log.empty() ? "link failed" : log;
        }
    }
    else
    {
        // Uniform blocks to their stage's constant slots, samplers to their texture units.
        GLint blocks = 0;
        glGetProgramiv(program.name, GL_ACTIVE_UNIFORM_BLOCKS, &blocks);
        for (GLint i = 0; i < blocks; ++i)
        {
            char name[128];
            glGetActiveUniformBlockName(program.name, i, sizeof(name), nullptr, name);
            GLint by_pixel = 0;
            glGetActiveUniformBlockiv(program.name, i, GL_UNIFORM_BLOCK_REFERENCED_BY_FRAGMENT_SHADER,
                                      &by_pixel);
            bool pixel_stage =
                std::strncmp(name, "PS_", 3) == 0 || (std::strncmp(name, "VS_", 3) != 0 && by_pixel);
            int slot = std::min(Trailing_Slot(name), k_max_slots - 1);
            glUniformBlockBinding(program.name, i, (pixel_stage ? k_pixel_constant_base : 0) + slot);
        }
        GLint uniforms = 0;
        glGetProgramiv(program.name, GL_ACTIVE_UNIFORMS, &uniforms);
        glUseProgram(program.name);
        for (GLint i = 0; i < uniforms; ++i)
        {
            char name[128];
            GLint size = 0;
            GLenum type = 0;
            glGetActiveUniform(program.name, i, sizeof(name), nullptr, &size, &type, name);
            if (type == GL_SAMPLER_2D || type == GL_SAMPLER_CUBE || type == GL_SAMPLER_2D_MULTISAMPLE)
                glUniform1i(glGetUniformLocation(program.name, name),
                            std::min(Trailing_Slot(name), k_max_units - 1));
        }
        glUseProgram(m_program);
    }
    Clear_Gl_Errors();
    m_programs.push_back(program);
    return program.linked ? program.name : 0;
}

Gpu_Result Gpu_Device::Prepare_Program(const Gpu_Shader* vertex, const Gpu_Shader* pixel,
                                       std::string& messages)
{
    messages.clear();
    if (!m_context)
        return GPU_ERROR_INVALID_CALL;
    if (!vertex || !pixel)
        return GPU_E_INVALIDARG;
    for (auto it = m_programs.begin(); it != m_programs.end(); ++it)
        if (it->vertex == vertex->Name() && it->pixel == pixel->Name() && !it->linked)
        {
            glDeleteProgram(it->name);
            m_programs.erase(it);
            break;
        }
    return Program_For(vertex, pixel, &messages) ? GPU_OK : GPU_E_FAIL;
}

void Gpu_Device::Forget_Shader(unsigned name)
{
    for (auto it = m_programs.begin(); it != m_programs.end();)
    {
        if (it->vertex == name || it->pixel == name)
        {
            if (it->name == m_program)
            {
                m_program = 0;
                glUseProgram(0);
            }
            glDeleteProgram(it->name);
            it = m_programs.erase(it);
        }
        else
        {
            ++it;
        }
    }
    if (m_vertex_shader && m_vertex_shader->Name() == name)
        m_vertex_shader = nullptr;
    if (m_pixel_shader && m_pixel_shader->Name() == name)
        m_pixel_shader = nullptr;
}

// Targets -----------------------------------------------------------------------------------------------

unsigned Gpu_Device::Framebuffer_For(const Gpu_Texture* colour, const Gpu_Texture* depth)
{
    unsigned colour_name = colour ? colour->Name() : 0;
    unsigned depth_name = depth ? depth->Name() : 0;
    if (!colour_name && !depth_name)
        return 0;
    for (const Framebuffer& framebuffer : m_framebuffers)
        if (framebuffer.colour == colour_name && framebuffer.depth == depth_name)
            return framebuffer.name;
    Framebuffer framebuffer;
    framebuffer.colour = colour_name;
    framebuffer.depth = depth_name;
    glGenFramebuffers(1, &framebuffer.name);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.name);
    if (colour)
    {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour->Target(), colour_name, 0);
        glDrawBuffer(GL_COLOR_ATTACHMENT0);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
    }
    else
    {
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
    }
    if (depth)
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, depth->Target(), depth_name, 0);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
    Clear_Gl_Errors();
    if (!complete)
    {
        glDeleteFramebuffers(1, &framebuffer.name);
        return 0;
    }
    m_framebuffers.push_back(framebuffer);
    return framebuffer.name;
}

void Gpu_Device::Forget_Texture(unsigned name)
{
    for (auto it = m_framebuffers.begin(); it != m_framebuffers.end();)
    {
        if (it->colour == name || it->depth == name)
        {
            if (it->name == m_bound_framebuffer)
            {
                m_bound_framebuffer = 0;
                glBindFramebuffer(GL_FRAMEBUFFER, 0);
            }
            glDeleteFramebuffers(1, &it->name);
            it = m_framebuffers.erase(it);
        }
        else
        {
            ++it;
        }
    }
    if (m_colour_view && m_colour_view->Texture()->Name() == name)
        m_colour_view = nullptr;
    if (m_depth_view && m_depth_view->Texture()->Name() == name)
        m_depth_view = nullptr;
}

Gpu_View::~Gpu_View()
{
    if (m_texture && m_texture->m_device)
        m_texture->m_device->Forget_View(this);
}

void Gpu_Device::Forget_View(const Gpu_View* view)
{
    // The framebuffer stays bound: it belongs to the texture, which outlives the view.
    if (m_colour_view == view)
        m_colour_view = nullptr;
    if (m_depth_view == view)
        m_depth_view = nullptr;
}

void Gpu_Device::Set_Targets(const Gpu_View* colour, const Gpu_View* depth)
{
    m_colour_view = colour;
    m_depth_view = depth;
    m_bound_framebuffer =
        Framebuffer_For(colour ? colour->Texture() : nullptr, depth ? depth->Texture() : nullptr);
    glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
}

void Gpu_Device::Set_Viewport(float x, float y, float width, float height, float min_depth, float max_depth)
{
    // Targets keep their top row first, so the viewport's top-left corner is GL's lower-left corner.
    glViewport(static_cast<GLint>(x), static_cast<GLint>(y), static_cast<GLsizei>(width),
               static_cast<GLsizei>(height));
    glDepthRange(min_depth, max_depth);
}

void Gpu_Device::Restore_Write_Masks()
{
    uint8_t mask = m_blend.write_mask;
    glColorMask(mask & 1, mask & 2, mask & 4, mask & 8);
    glDepthMask(m_depth.depth_enable && m_depth.depth_write ? GL_TRUE : GL_FALSE);
    glStencilMask(m_depth.stencil_write_mask);
}

void Gpu_Device::Clear_Target(const Gpu_View* colour, const float rgba[4])
{
    if (m_output_discarded)
        return;
    if (!colour || colour->Get_Kind() != Gpu_View::Kind::render_target)
        return;
    unsigned framebuffer = Framebuffer_For(colour->Texture(), nullptr);
    if (!framebuffer)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearBufferfv(GL_COLOR, 0, rgba);
    Restore_Write_Masks();
    glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
}

void Gpu_Device::Clear_Depth_Stencil(const Gpu_View* depth, bool clear_depth, float value, bool clear_stencil,
                                     uint8_t stencil)
{
    if (m_output_discarded)
        return;
    if (!depth || depth->Get_Kind() != Gpu_View::Kind::depth_stencil || (!clear_depth && !clear_stencil))
        return;
    unsigned framebuffer = Framebuffer_For(nullptr, depth->Texture());
    if (!framebuffer)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    if (clear_depth && clear_stencil)
        glClearBufferfi(GL_DEPTH_STENCIL, 0, value, stencil);
    else if (clear_depth)
        glClearBufferfv(GL_DEPTH, 0, &value);
    else
    {
        GLint s = stencil;
        glClearBufferiv(GL_STENCIL, 0, &s);
    }
    Restore_Write_Masks();
    glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
}

void Gpu_Device::Resolve(const Gpu_Texture* destination, const Gpu_Texture* source)
{
    if (m_output_discarded)
        return;
    if (!destination || !source)
        return;
    unsigned from = Framebuffer_For(source, nullptr);
    unsigned to = Framebuffer_For(destination, nullptr);
    if (!from || !to)
        return;
    GLint width = std::min(source->Desc().width, destination->Desc().width);
    GLint height = std::min(source->Desc().height, destination->Desc().height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
}

bool Gpu_Device::Read_Pixels(const Gpu_Texture* texture, std::vector<uint8_t>& rgba)
{
    rgba.clear();
    if (!texture || texture->Target() != GL_TEXTURE_2D)
        return false;
    uint32_t format = texture->Desc().format;
    if (format != GPU_FORMAT_R8G8B8A8_UNORM && format != GPU_FORMAT_B8G8R8A8_UNORM &&
        format != GPU_FORMAT_B8G8R8X8_UNORM)
        return false;
    const Gpu_Texture_Desc& desc = texture->Desc();
    rgba.resize(static_cast<size_t>(desc.width) * desc.height * 4);
    Clear_Gl_Errors();
    if (desc.bind_flags & GPU_BIND_RENDER_TARGET)
    {
        unsigned framebuffer = Framebuffer_For(texture, nullptr);
        if (!framebuffer)
            return false;
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
        glReadPixels(0, 0, desc.width, desc.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glBindFramebuffer(GL_FRAMEBUFFER, m_bound_framebuffer);
    }
    else
    {
        glActiveTexture(GL_TEXTURE0 + k_max_units);
        glBindTexture(GL_TEXTURE_2D, texture->Name());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTexture(GL_TEXTURE0);
    }
    if (Gpu_Failed(Gl_Result()))
    {
        rgba.clear();
        return false;
    }
    return true;
}

void Gpu_Device::Finish()
{
    if (m_context)
        glFinish();
}

// States ------------------------------------------------------------------------------------------------

void Gpu_Device::Apply_Depth()
{
    const Gpu_Depth_Desc& d = m_depth;
    if (d.depth_enable)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthFunc(Gl_Compare(d.depth_function));
    if (d.stencil_enable)
        glEnable(GL_STENCIL_TEST);
    else
        glDisable(GL_STENCIL_TEST);
    glStencilFuncSeparate(GL_FRONT, Gl_Compare(d.front.function), static_cast<GLint>(m_stencil_reference),
                          d.stencil_read_mask);
    glStencilFuncSeparate(GL_BACK, Gl_Compare(d.back.function), static_cast<GLint>(m_stencil_reference),
                          d.stencil_read_mask);
    glStencilOpSeparate(GL_FRONT, Gl_Stencil_Op(d.front.fail), Gl_Stencil_Op(d.front.depth_fail),
                        Gl_Stencil_Op(d.front.pass));
    glStencilOpSeparate(GL_BACK, Gl_Stencil_Op(d.back.fail), Gl_Stencil_Op(d.back.depth_fail),
                        Gl_Stencil_Op(d.back.pass));
    Restore_Write_Masks();
}

void Gpu_Device::Apply_Blend()
{
    const Gpu_Blend_Desc& b = m_blend;
    if (b.enable)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    glBlendFuncSeparate(Gl_Blend(b.source), Gl_Blend(b.destination), Gl_Blend(b.source_alpha),
                        Gl_Blend(b.destination_alpha));
    glBlendEquationSeparate(Gl_Blend_Op(b.op), Gl_Blend_Op(b.op_alpha));
    glBlendColor(m_blend_factor[0], m_blend_factor[1], m_blend_factor[2], m_blend_factor[3]);
    Restore_Write_Masks();
}

void Gpu_Device::Apply_Rasterizer()
{
    const Gpu_Rasterizer_Desc& r = m_rasterizer;
    glPolygonMode(GL_FRONT_AND_BACK, r.wireframe ? GL_LINE : GL_FILL);
    if (r.cull_back)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    // The vertex stage turns y over (top row first), which turns the winding over too: a triangle that is
    // clockwise on screen is counter-clockwise to GL.
    glFrontFace(r.front_clockwise ? GL_CCW : GL_CW);
    if (r.depth_bias != 0 || r.slope_scaled_depth_bias != 0.0f)
    {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(r.slope_scaled_depth_bias, static_cast<float>(r.depth_bias));
    }
    else
    {
        glDisable(GL_POLYGON_OFFSET_FILL);
    }
    if (r.depth_clip)
        glDisable(GL_DEPTH_CLAMP);
    else
        glEnable(GL_DEPTH_CLAMP);
    if (r.scissor)
        glEnable(GL_SCISSOR_TEST);
    else
        glDisable(GL_SCISSOR_TEST);
}

void Gpu_Device::Set_Depth_State(const Gpu_Depth_State* state, uint32_t stencil_reference)
{
    m_depth = state ? state->desc : Gpu_Depth_Desc{};
    m_stencil_reference = stencil_reference;
    Apply_Depth();
}

void Gpu_Device::Set_Blend_State(const Gpu_Blend_State* state, const float factor[4], uint32_t sample_mask)
{
    m_blend = state ? state->desc : Gpu_Blend_Desc{};
    for (int i = 0; i < 4; ++i)
        m_blend_factor[i] = factor ? factor[i] : 1.0f;
    Apply_Blend();
    if (sample_mask != 0xFFFFFFFF)
    {
        glEnable(GL_SAMPLE_MASK);
        glSampleMaski(0, sample_mask);
    }
    else
    {
        glDisable(GL_SAMPLE_MASK);
    }
}

void Gpu_Device::Set_Rasterizer_State(const Gpu_Rasterizer_State* state)
{
    m_rasterizer = state ? state->desc : Gpu_Rasterizer_Desc{};
    Apply_Rasterizer();
}

// Shader inputs and draws -------------------------------------------------------------------------------

void Gpu_Device::Set_Pixel_Views(int first, int count, const Gpu_View* const* views)
{
    for (int i = 0; i < count; ++i)
    {
        int unit = first + i;
        if (unit < 0 || unit >= k_max_units)
            continue;
        const Gpu_View* view = views ? views[i] : nullptr;
        glActiveTexture(GL_TEXTURE0 + unit);
        // A unit holds one texture per target: clear the others so that only this view is seen.
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
        glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, 0);
        if (view && view->Get_Kind() == Gpu_View::Kind::shader_resource)
            glBindTexture(view->Texture()->Target(), view->Texture()->Name());
    }
    glActiveTexture(GL_TEXTURE0);
}

void Gpu_Device::Set_Pixel_Samplers(int first, int count, const Gpu_Sampler* const* samplers)
{
    for (int i = 0; i < count; ++i)
    {
        int unit = first + i;
        if (unit >= 0 && unit < k_max_units)
            glBindSampler(unit, samplers && samplers[i] ? samplers[i]->m_name : 0);
    }
}

void Gpu_Device::Set_Constant_Buffer(Gpu_Stage stage, int slot, const Gpu_Buffer* buffer)
{
    if (slot < 0 || slot >= k_max_slots)
        return;
    glBindBufferBase(GL_UNIFORM_BUFFER, (stage == Gpu_Stage::pixel ? k_pixel_constant_base : 0) + slot,
                     buffer ? buffer->Name() : 0);
}

void Gpu_Device::Set_Shaders(const Gpu_Input_Layout* layout, const Gpu_Shader* vertex,
                             const Gpu_Shader* pixel)
{
    m_layout = layout;
    m_vertex_shader = vertex;
    m_pixel_shader = pixel;
}

void Gpu_Device::Set_Vertex_Buffer(const Gpu_Buffer* buffer, unsigned stride, unsigned offset)
{
    m_vertex_buffer = buffer;
    m_vertex_stride = stride;
    m_vertex_offset = offset;
}

void Gpu_Device::Set_Index_Buffer(const Gpu_Buffer* buffer)
{
    m_index_buffer = buffer;
}

void Gpu_Device::Bind_Vertex_Input()
{
    glBindVertexArray(m_vertex_array);
    GLint attributes = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributes);
    for (GLint i = 0; i < attributes; ++i)
        glDisableVertexAttribArray(i);
    glBindBuffer(GL_ARRAY_BUFFER, m_vertex_buffer ? m_vertex_buffer->Name() : 0);
    if (m_vertex_buffer && m_layout)
    {
        for (const Gpu_Input_Layout::Element& element : m_layout->Elements())
        {
            GLint location = glGetAttribLocation(m_program, element.attribute.c_str());
            if (location < 0)
                continue;
            glEnableVertexAttribArray(location);
            glVertexAttribPointer(
                location, element.components, GL_FLOAT, GL_FALSE, m_vertex_stride,
                reinterpret_cast<const void*>(static_cast<uintptr_t>(m_vertex_offset + element.offset)));
        }
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_index_buffer ? m_index_buffer->Name() : 0);
}

void Gpu_Device::Draw_Indexed(unsigned index_count, unsigned first_index, int base_vertex)
{
    if (m_output_discarded)
        return;
    if (!m_index_buffer || !m_vertex_buffer || index_count == 0 ||
        (static_cast<size_t>(first_index) + index_count) * 4 > m_index_buffer->Size())
        return;
    m_program = Program_For(m_vertex_shader, m_pixel_shader, nullptr);
    if (!m_program)
        return;
    glUseProgram(m_program);
    Bind_Vertex_Input();
    glDrawElementsBaseVertex(GL_TRIANGLES, index_count, GL_UNSIGNED_INT,
                             reinterpret_cast<const void*>(static_cast<uintptr_t>(first_index) * 4),
                             base_vertex);
}

void Gpu_Device::Draw(unsigned vertex_count, unsigned first_vertex)
{
    if (m_output_discarded)
        return;
    if (!m_vertex_buffer || vertex_count == 0)
        return;
    m_program = Program_For(m_vertex_shader, m_pixel_shader, nullptr);
    if (!m_program)
        return;
    glUseProgram(m_program);
    Bind_Vertex_Input();
    glDrawArrays(GL_TRIANGLES, first_vertex, vertex_count);
}
} // namespace platform
