// The render test fixture.
#include "render_fixture.h"

#include "engine/render/matrix.h"
#include "platform/os_window.h"
#include "support/requirements.h"

#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace render_test
{
Folder_Scope::Folder_Scope(const fs::path& path) : m_previous(fs::current_path())
{
    fs::current_path(path);
}

Folder_Scope::~Folder_Scope()
{
    fs::current_path(m_previous);
}

void Copy_Shaders(const fs::path& folder)
{
    fs::create_directories(folder / "data");
    fs::copy(fs::path(VORTA5_RUNTIME_DIR) / "data" / "shaders", folder / "data" / "shaders",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void Render_Test::SetUp()
{
    if (!test_support::Have_Display())
        VORTA5_SKIP() << "no display with OpenGL 3.3 to render on";
    Copy_Shaders(folder.Path());
    scope = std::make_unique<Folder_Scope>(folder.Path());
}

void Render_Test::Start(const char* config)
{
    g_vorta_log.Set_Flags(LOG_FILE);
    if (config)
        test_support::Write_File(folder.File("config.txt"), config);
    engine = new Vorta_Engine();
    // SetUp made sure of the display: from here on a failure is the engine's.
    ASSERT_TRUE(engine->Init("", "config.txt")) << Log();
    ASSERT_TRUE(engine->Get_Window_Class().Registered()) << platform::Last_Window_Error() << "\n" << Log();
    ASSERT_NE(engine->Create_Device(0), nullptr) << Log();
    window = engine->Create_Window(0, 0, WIDTH, HEIGHT, false, 60, false, false, "render test");
    ASSERT_NE(window, nullptr) << Log();
    device = window->Get_Device();
    swap_chain = window->Get_Swap_Chain();
    ASSERT_NE(device, nullptr);
    ASSERT_NE(swap_chain, nullptr);
    shader = device->Get_Shader_Manager()->Get_Sprite_Shader();
    ASSERT_NE(shader, nullptr);

    const uint8_t white_pixel[4] = {255, 255, 255, 255};
    ASSERT_TRUE(white.Initialize(device, 1, 1, platform::GPU_FORMAT_R8G8B8A8_UNORM, true));
    ASSERT_EQ(device->Gpu().Update_Texture(white.Get_Texture(), white_pixel), platform::GPU_OK);

    const uint32_t indices[6] = {0, 1, 2, 0, 2, 3};
    ASSERT_EQ(
        device->Gpu().Create_Buffer(platform::GPU_BIND_VERTEX_BUFFER, 4 * 36, true, nullptr, m_vertices),
        platform::GPU_OK);
    ASSERT_EQ(device->Gpu().Create_Buffer(platform::GPU_BIND_INDEX_BUFFER, sizeof(indices), false, indices,
                                          m_indices),
              platform::GPU_OK);
}

void Render_Test::TearDown()
{
    m_vertices.reset();
    m_indices.reset();
    white.Release();
    delete engine;
    engine = nullptr;
    scope.reset();
}

void Render_Test::Draw_Quad(float x0, float y0, float x1, float y1, const float colour[4], float depth,
                            const Matrix4* turn, const platform::Gpu_View* texture)
{
    float width = 0, height = 0;
    swap_chain->Get_Target_Size(width, height);
    // Pixels with y up and the origin at the centre; top-left, top-right, bottom-right, bottom-left.
    float centre_x = (x0 + x1) / 2 - width / 2, centre_y = height / 2 - (y0 + y1) / 2;
    float left = x0 - (x0 + x1) / 2, right = -left, top = (y1 - y0) / 2, bottom = -top;
    const float corners[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    float vertices[4][9];
    for (int i = 0; i < 4; ++i)
    {
        const float v[9] = {corners[i][0], corners[i][1], depth, uv[i][0], uv[i][1], 1, 1, 1, 1};
        std::memcpy(vertices[i], v, sizeof(v));
    }
    platform::Gpu_Device& gpu = device->Gpu();
    void* mapped = gpu.Map_Discard(m_vertices.get());
    ASSERT_NE(mapped, nullptr);
    std::memcpy(mapped, vertices, sizeof(vertices));
    gpu.Unmap(m_vertices.get());

    Matrix4 world =
        Matrix_Multiply(turn ? *turn : Matrix_Identity(), Matrix_Translation(centre_x, centre_y, 0));
    shader->Select_Sampler(0);
    shader->Set_Sampler();
    shader->Set_Matrices(world, Matrix_Identity(), swap_chain->Get_Projection());
    shader->Bind_Texture(texture ? texture : white.Get_View());
    shader->Set_Colour(colour);
    shader->Set_Shader_Vector(0, 0);
    shader->Update_Constants();
    gpu.Set_Vertex_Buffer(m_vertices.get(), 36, 0);
    gpu.Set_Index_Buffer(m_indices.get());
    shader->Draw_Indexed(6, 0);
}

std::vector<uint8_t> Render_Test::Back_Buffer()
{
    std::vector<uint8_t> rgba;
    EXPECT_TRUE(swap_chain->Read_Back_Buffer(rgba));
    return rgba;
}

Rgba Render_Test::Pixel(const std::vector<uint8_t>& rgba, int x, int y, int width) const
{
    size_t at = (static_cast<size_t>(y) * width + x) * 4;
    if (at + 3 >= rgba.size())
        return {-1, -1, -1, -1};
    return {rgba[at], rgba[at + 1], rgba[at + 2], rgba[at + 3]};
}
} // namespace render_test
