// Shader compilation, Shader and Sprite_Shader.
#include "engine/render/shader.h"

#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/render/d3d_device.h"
#include "engine/render/d3d_result.h"
#include "engine/render/sampler_manager.h"
#include "platform/image_file.h"

#include <cstring>
#include <string>
#include <vector>

using namespace platform;

bool Compile_Shader(D3D_Device* device, const char* file, const char* entry, const char* profile,
                    std::unique_ptr<Gpu_Shader>& out)
{
    out.reset();
    if (!device || !file || !profile)
        return false;
    // 1. The data pack first, else the disk.
    std::vector<uint8_t> source;
    Gpu_Result result = GPU_OK;
    uint8_t* packed = nullptr;
    uint32_t packed_size = 0;
    if (g_vorta_engine && g_vorta_engine->Pack_File_Size(file) > 0)
        packed_size = g_vorta_engine->Pack_Extract(file, &packed);
    if (packed)
    {
        source.assign(packed, packed + packed_size);
        delete[] packed;
    }
    else if (!Read_Whole_File(file, source))
        result = GPU_ERROR_FILE_NOT_FOUND;

    std::string messages;
    if (result == GPU_OK)
    {
        if (std::strncmp(profile, "vs_", 3) == 0)
            result =
                device->Gpu().Compile_Shader(Gpu_Stage::vertex, reinterpret_cast<const char*>(source.data()),
                                             source.size(), file, out, messages);
        else if (std::strncmp(profile, "ps_", 3) == 0)
            result =
                device->Gpu().Compile_Shader(Gpu_Stage::pixel, reinterpret_cast<const char*>(source.data()),
                                             source.size(), file, out, messages);
        else
            result = GPU_E_INVALIDARG;
    }
    if (!Gpu_Failed(result))
        return true;
    // 2. Compiler messages: the program ends.
    if (!messages.empty())
    {
        Print_Message("%s - ", entry ? entry : "");
        Print_Message("Shader Error!!!!  %s\n", messages.c_str());
        Report_Error(true, "Error compiling shader \"%s\".\n%s\n", file, messages.c_str());
        return false;
    }
    // 3. No messages (a missing file): logged, and the slot stays empty.
    Print_Message("ERROR loading \"%s\" - ", file);
    Print_Message("%s", Shader_Result_Text(result));
    return false;
}

// Shader ------------------------------------------------------------------------------------------------

Shader::~Shader()
{
    m_vertex_shader = nullptr;
    m_input_layout = nullptr;
    m_pixel_shader = nullptr;
}

void Shader::Release()
{
    m_input_layout = nullptr;
    m_pixel_shader = nullptr;
    m_vertex_shader = nullptr;
}

void Shader::Apply()
{
    if (!m_owner)
        return;
    m_owner->Gpu().Set_Shaders(m_input_layout, m_vertex_shader, m_pixel_shader);
    Update_Constants();
    Set_Sampler();
}

void Shader::Draw_Indexed(unsigned index_count, unsigned first_index)
{
    if (!m_owner)
        return;
    Apply();
    m_owner->Gpu().Draw_Indexed(index_count, first_index, 0);
}

// Sprite_Shader -----------------------------------------------------------------------------------------

const char* const Sprite_Shader::VERTEX_FILES[VERTEX_SHADERS] = {
    "data/shaders/sprite.vs", "data/shaders/sprite blur h.vs", "data/shaders/sprite blur v.vs"};
const char* const Sprite_Shader::PIXEL_FILES[PIXEL_SHADERS] = {"data/shaders/sprite.ps",
                                                               "data/shaders/sprite colour.ps",
                                                               "data/shaders/sprite blur.ps",
                                                               "data/shaders/sprite blur more.ps",
                                                               "data/shaders/sprite plasma.ps",
                                                               "data/shaders/sprite acid.ps",
                                                               "data/shaders/sprite psychedelix.ps",
                                                               "data/shaders/sprite distort.ps",
                                                               "data/shaders/sprite heat.ps",
                                                               "data/shaders/sprite sine v.ps",
                                                               "data/shaders/sprite non zero.ps"};

Sprite_Shader::Sprite_Shader()
{
    m_pixel_constants =
        Sprite_Pixel_Constants{{0.0f, 0.0f, 3840.0f, 2160.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {0, 0}, {}};
    m_vertex_constants =
        Sprite_Vertex_Constants{Matrix_Identity(), Matrix_Identity(), {1.0f, 1.0f, 0.0f, 0.0f}};
}

Sprite_Shader::~Sprite_Shader()
{
    Release();
}

bool Sprite_Shader::Initialize(D3D_Device* owner, const char* /*vertex_file*/, const char* /*pixel_file*/)
{
    Release();
    m_owner = owner;
    if (!owner)
        return false;
    Gpu_Device& gpu = owner->Gpu();

    // 1. Vertex shaders and their layouts.
    static const Gpu_Input_Element elements[3] = {
        {"POSITION", 0, 3, 0}, {"TEXCOORD", 0, 2, GPU_APPEND_ALIGNED}, {"COLOR", 0, 4, GPU_APPEND_ALIGNED}};
    for (int i = 0; i < VERTEX_SHADERS; ++i)
    {
        if (!Compile_Shader(owner, VERTEX_FILES[i], "Sprite_VertexShader", "vs_4_0", m_vertex_shaders[i]))
            continue;
        Gpu_Result result =
            gpu.Create_Input_Layout(elements, i == 0 ? 3 : 2, *m_vertex_shaders[i], m_layouts[i]);
        if (Gpu_Failed(result))
        {
            Log_Result("Sprite_Shader - Failed to create input layout", result);
            return false;
        }
    }
    // 2. Pixel shaders.
    for (int i = 0; i < PIXEL_SHADERS; ++i)
        Compile_Shader(owner, PIXEL_FILES[i], "Sprite_PixelShader", "ps_4_0", m_pixel_shaders[i]);

    // 3. The pair every sprite draws with; linking them now reports a mismatch at start-up.
    m_vertex_shader = m_vertex_shaders[0].get();
    m_input_layout = m_layouts[0].get();
    m_pixel_shader = m_pixel_shaders[0].get();
    if (m_vertex_shader && m_pixel_shader)
    {
        std::string messages;
        if (Gpu_Failed(gpu.Prepare_Program(m_vertex_shader, m_pixel_shader, messages)))
        {
            Print_Message("Sprite_PixelShader - ");
            Print_Message("Shader Error!!!!  %s\n", messages.c_str());
            Report_Error(true, "Error compiling shader \"%s\".\n%s\n", PIXEL_FILES[0], messages.c_str());
            return false;
        }
    }

    // 4. Samplers.
    Sampler_Manager* samplers = owner->Get_Sampler_Manager();
    for (int i = 0; i < 4; ++i)
        m_samplers[i] = samplers ? samplers->Get(i) : nullptr;
    m_current_sampler = m_samplers[0];

    // 5, 6. Constant buffers from their CPU copies.
    Gpu_Result result = gpu.Create_Buffer(GPU_BIND_CONSTANT_BUFFER, sizeof(m_pixel_constants), true,
                                          &m_pixel_constants, m_pixel_buffer);
    if (Gpu_Failed(result))
    {
        Log_Result("Sprite_Shader - Failed to create clip parameter buffer", result);
        return false;
    }
    result = gpu.Create_Buffer(GPU_BIND_CONSTANT_BUFFER, sizeof(m_vertex_constants), true,
                               &m_vertex_constants, m_vertex_buffer);
    if (Gpu_Failed(result))
    {
        Log_Result("Sprite_Shader - Failed to create size parameter buffer", result);
        return false;
    }
    return true;
}

void Sprite_Shader::Release()
{
    m_vertex_shader = nullptr;
    m_input_layout = nullptr;
    m_pixel_shader = nullptr;
    for (auto& layout : m_layouts)
        layout.reset();
    for (auto& shader : m_vertex_shaders)
        shader.reset();
    for (auto& shader : m_pixel_shaders)
        shader.reset();
    m_vertex_buffer.reset();
    m_pixel_buffer.reset();
    Shader::Release();
}

bool Sprite_Shader::Update_Vertex_Constants()
{
    if (!m_owner || !m_vertex_buffer)
        return false;
    void* mapped = m_owner->Gpu().Map_Discard(m_vertex_buffer.get());
    if (!mapped)
        return false;
    std::memcpy(mapped, &m_vertex_constants, sizeof(m_vertex_constants));
    m_owner->Gpu().Unmap(m_vertex_buffer.get());
    m_owner->Gpu().Set_Constant_Buffer(Gpu_Stage::vertex, 0, m_vertex_buffer.get());
    return true;
}

bool Sprite_Shader::Update_Pixel_Constants()
{
    if (!m_owner || !m_pixel_buffer)
        return false;
    void* mapped = m_owner->Gpu().Map_Discard(m_pixel_buffer.get());
    if (!mapped)
        return false;
    std::memcpy(mapped, &m_pixel_constants, sizeof(m_pixel_constants));
    m_owner->Gpu().Unmap(m_pixel_buffer.get());
    m_owner->Gpu().Set_Constant_Buffer(Gpu_Stage::pixel, 0, m_pixel_buffer.get());
    return true;
}

bool Sprite_Shader::Update_Constants()
{
    Update_Vertex_Constants();
    Update_Pixel_Constants();
    return true;
}

void Sprite_Shader::Set_Sampler()
{
    if (m_owner)
        m_owner->Gpu().Set_Pixel_Samplers(0, 1, &m_current_sampler);
}

void Sprite_Shader::Select_Sampler(int index)
{
    if (index >= 0 && index < 4)
        m_current_sampler = m_samplers[index];
}

void Sprite_Shader::Set_Matrices(const Matrix4& world, const Matrix4& view, const Matrix4& projection)
{
    Matrix4 world_t = Matrix_Transpose(world);
    Matrix4 view_t = Matrix_Transpose(view);
    Matrix4 projection_t = Matrix_Transpose(projection);
    m_vertex_constants.world = world_t;
    m_vertex_constants.view_projection = Matrix_Multiply(projection_t, view_t);
}

void Sprite_Shader::Bind_Texture(const Gpu_View* view)
{
    if (!m_owner)
        return;
    uint64_t& record = m_owner->Sprite_Texture_Record();
    const uint64_t serial = view ? view->Serial() : 0;
    if (serial == record)
        return;
    m_owner->Bind_Pixel_Views(0, 1, &view);
    record = serial;
}

void Sprite_Shader::Set_Colour(const float rgba[4])
{
    for (int i = 0; i < 4; ++i)
        m_pixel_constants.colour[i] = rgba[i];
}

void Sprite_Shader::Set_Shader_Vector(float x, float y)
{
    m_vertex_constants.size[2] = x;
    m_vertex_constants.size[3] = y;
}

const Gpu_Shader* Sprite_Shader::Get_Vertex_Shader(int index) const
{
    return index >= 0 && index < VERTEX_SHADERS ? m_vertex_shaders[index].get() : nullptr;
}

const Gpu_Shader* Sprite_Shader::Get_Pixel_Shader(int index) const
{
    return index >= 0 && index < PIXEL_SHADERS ? m_pixel_shaders[index].get() : nullptr;
}

const Gpu_Input_Layout* Sprite_Shader::Get_Input_Layout(int index) const
{
    return index >= 0 && index < VERTEX_SHADERS ? m_layouts[index].get() : nullptr;
}
