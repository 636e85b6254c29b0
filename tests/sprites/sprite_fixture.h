// One engine with a 1920 x 1080 window on the real device for every sprite test, in a scratch folder that
// holds the shaders and the test's own textures and scripts; helpers to write pictures and read pixels back.
#pragma once
#include "engine/render/sprite.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Vorta_Engine;
class Vorta_Window;

struct Rgba
{
    uint8_t r, g, b, a;
};

class Sprite_Test : public ::testing::Test
{
  protected:
    static constexpr int WIDTH = 1920;
    static constexpr int HEIGHT = 1080;

    static void SetUpTestSuite();
    static void TearDownTestSuite();
    // Skips without a display (fails when the window did not open on one); then binds the back buffer and
    // clears it to opaque black.
    void SetUp() override;

    // data/textures/<name>.png, pixel(x, y) as 0xAABBGGRR.
    static void Write_Texture(const char* name, int width, int height,
                              const std::function<uint32_t(int, int)>& pixel);
    static void Write_Script(const char* name, const std::string& text);
    static std::string Log();

    void Clear(float r, float g, float b, float a = 1.0f);
    // Reads the back buffer; Pixel then looks into what was read.
    void Read_Back();
    Rgba Pixel(int x, int y) const;
    // The box of pixels whose red, green or blue is above `threshold`; false when none is.
    bool Lit_Box(int& left, int& top, int& right, int& bottom, int threshold = 64) const;

    static Vorta_Engine* engine;
    static Vorta_Window* window;
    static test_support::Scratch_Folder* folder;
    std::vector<uint8_t> pixels;
};

// Colour test helpers.
::testing::AssertionResult Near(const Rgba& got, int r, int g, int b, int tolerance = 3);
