// Gpu_Device resources: textures, views, buffers with their mapping, samplers, state objects, shaders,
// input layouts and the programs linked from shader pairs.
#include "platform/gpu_device.h"

#include "platform/gpu_gl.h"

#include <SDL.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform
{
namespace
{
GLenum Gl_Address(Gpu_Address address)
{
    static const GLenum table[] = {GL_REPEAT, GL_MIRRORED_REPEAT, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_BORDER};
    return table[static_cast<int>(address)];
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
} // namespace platform
