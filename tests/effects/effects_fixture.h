// An App without a window for the tests of play's shared pieces, with sprites that need no device: each
// has the cells a test asks for on a texture of a given pixel size, so the rules that read cell counts and
// cell sizes see real sprites. The clock is driven by the test, one sixtieth of a second a frame.
#pragma once
#include "engine/render/sprite.h"
#include "engine/render/texture.h"
#include "game/app/app.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// A texture of a pixel size and nothing on the device.
class Sized_Texture : public Texture
{
  public:
    Sized_Texture(float width, float height) : m_size{width, height} {}
    Vector2 Get_Size() const override { return m_size; }

  private:
    Vector2 m_size;
};

class Effects_Test : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;
    // Gives the App sprite `id`: `cells` cells side by side, each cell_width x cell_height pixels.
    void Give_Sprite(int id, int cells, float cell_width, float cell_height);
    // One frame of the clock (a sixtieth of a second).
    void Next_Frame();

    std::unique_ptr<App> app;

  private:
    test_support::Scratch_Folder m_folder;
    std::filesystem::path m_previous;
    int64_t m_clock_start = 0;
    std::unique_ptr<Sized_Texture> m_textures[SPRITE_COUNT];
};
