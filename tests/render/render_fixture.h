// A real engine with its device and one small window, in a scratch folder that holds a copy of the
// program's data/shaders, and a quad drawer that goes through the sprite shader.
#pragma once
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_device.h"
#include "engine/render/d3d_swap_chain.h"
#include "engine/render/matrix.h"
#include "engine/render/shader.h"
#include "engine/render/shader_manager.h"
#include "engine/render/texture.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// Starts the fixture's engine and leaves the test when that was skipped or failed.
#define START_RENDER(...)                                                                                    \
    do                                                                                                       \
    {                                                                                                        \
        Start(__VA_ARGS__);                                                                                  \
        if (IsSkipped() || HasFatalFailure())                                                                \
            return;                                                                                          \
    } while (0)

namespace render_test
{
// Enters the folder for its lifetime.
class Folder_Scope
{
  public:
    explicit Folder_Scope(const std::filesystem::path& path);
    ~Folder_Scope();

  private:
    std::filesystem::path m_previous;
};

// Copies the built shader files into <folder>/data/shaders.
void Copy_Shaders(const std::filesystem::path& folder);

struct Rgba
{
    int r, g, b, a;
};

class Render_Test : public ::testing::Test
{
  protected:
    static constexpr int WIDTH = 64;
    static constexpr int HEIGHT = 48;

    void SetUp() override;
    void TearDown() override;
    // Starts the engine, the device and the window (after any change the test made to the folder).
    void Start(const char* config = nullptr);

    // A quad of pixels [x0, x1) x [y0, y1) from the top-left, drawn with the sprite shader in one
    // colour at a depth; `turn` transforms it about its centre (a negative scale mirrors it).
    void Draw_Quad(float x0, float y0, float x1, float y1, const float colour[4], float depth = 0.0f,
                   const Matrix4* turn = nullptr, const platform::Gpu_View* texture = nullptr);
    std::vector<uint8_t> Back_Buffer();
    Rgba Pixel(const std::vector<uint8_t>& rgba, int x, int y, int width = WIDTH) const;
    std::string Log() const { return test_support::Read_File(folder.File("sys_log.txt")); }

    test_support::Scratch_Folder folder;
    std::unique_ptr<Folder_Scope> scope;
    Vorta_Engine* engine = nullptr;
    Vorta_Window* window = nullptr;
    D3D_Device* device = nullptr;
    D3D_SwapChain* swap_chain = nullptr;
    Sprite_Shader* shader = nullptr;
    Texture white;

  private:
    std::unique_ptr<platform::Gpu_Buffer> m_vertices;
    std::unique_ptr<platform::Gpu_Buffer> m_indices;
};
} // namespace render_test
