// The device, the swap chain and its states on real GL: start-up lines, clears, blending, depth,
// culling, multisampling, the pixel-view cache, the refresh choice and the shader files' failures.
#include "engine/render/d3d_adapter.h"
#include "engine/render/gfx_buffer.h"
#include "platform/gpu_adapter.h"
#include "render_fixture.h"

#include <cmath>
#include <filesystem>

using namespace render_test;

namespace
{
void Expect_Near(Rgba pixel, Rgba expected, int tolerance, const char* what)
{
    EXPECT_NEAR(pixel.r, expected.r, tolerance) << what;
    EXPECT_NEAR(pixel.g, expected.g, tolerance) << what;
    EXPECT_NEAR(pixel.b, expected.b, tolerance) << what;
    EXPECT_NEAR(pixel.a, expected.a, tolerance) << what;
}

int Byte(float value)
{
    return static_cast<int>(std::lround(std::fmin(std::fmax(value, 0.0f), 1.0f) * 255.0f));
}
} // namespace

TEST_F(Render_Test, StartUpLogsTheAdapterTheDeviceAndItsManagers)
{
    START_RENDER();
    std::string log = Log();
    for (const char* line :
         {"\n  Video hardware\n", "    Hardware name    ", "\n  Display 0\n", "    position ",
          "    Get display mode list... \n      ", "Create D3D11 Device... 11_0 Ok\n",
          "Create Sampler Manager... OK\n", "Create Shader Manager... OK\n", "Create Texture Manager... OK\n",
          "Creating Swapchain...OK\n", "Create off screen render buffer... OK\n",
          "Create glow buffers... OK\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    EXPECT_LT(log.find("Video hardware"), log.find("Init Ok...\n"));
    EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;
    EXPECT_EQ(device->Get_Feature_Level(), FEATURE_LEVEL_11_0);
    EXPECT_EQ(swap_chain->Get_Sample_Count(), 4);
    ASSERT_NE(window->Get_Glow_Buffer(1), nullptr);
    EXPECT_EQ(window->Get_Glow_Buffer(1)->Get_Width(), WIDTH >> 3);
    EXPECT_EQ(window->Get_Offscreen_Buffer()->Get_Width(), WIDTH);
}

TEST_F(Render_Test, ClearFillsTheBoundTargetAndReadsBack)
{
    START_RENDER();
    const float colour[4] = {1.0f, 0.5f, 0.0f, 1.0f};
    swap_chain->Clear_Target(colour);
    std::vector<uint8_t> pixels = Back_Buffer();
    ASSERT_EQ(pixels.size(), size_t(WIDTH * HEIGHT * 4));
    for (int y : {0, HEIGHT / 2, HEIGHT - 1})
        for (int x : {0, WIDTH / 2, WIDTH - 1})
            Expect_Near(Pixel(pixels, x, y), {255, 128, 0, 255}, 1, "cleared pixel");
}

TEST_F(Render_Test, QuadLandsWhereItsTopLeftPixelsSay)
{
    START_RENDER();
    const float black[4] = {0, 0, 0, 1}, red[4] = {1, 0, 0, 1};
    swap_chain->Clear_Target(black);
    swap_chain->Set_Depth_State(DEPTH_NONE);
    Draw_Quad(8, 4, 24, 12, red);
    std::vector<uint8_t> pixels = Back_Buffer();
    const struct
    {
        int x, y;
        bool inside;
        const char* what;
    } cases[] = {{8, 4, true, "top-left corner"},     {23, 11, true, "bottom-right corner"},
                 {24, 4, false, "right of the quad"}, {7, 4, false, "left of the quad"},
                 {8, 12, false, "below the quad"},    {8, 3, false, "above the quad"}};
    for (const auto& c : cases)
        Expect_Near(Pixel(pixels, c.x, c.y), c.inside ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 0, 255}, 0, c.what);
}

TEST_F(Render_Test, EachBlendStateCombinesKnownColours)
{
    START_RENDER();
    const float destination[4] = {0.2f, 0.6f, 1.0f, 1.0f};
    const float source[4] = {0.8f, 0.4f, 0.2f, 0.5f};
    struct Case
    {
        Blend_State_Kind state;
        float expected[3];
        const char* name;
    };
    const float a = source[3];
    const Case cases[] = {
        {BLEND_OPAQUE, {0.8f, 0.4f, 0.2f}, "opaque"},
        {BLEND_ALPHA,
         {0.8f * a + 0.2f * (1 - a), 0.4f * a + 0.6f * (1 - a), 0.2f * a + 1.0f * (1 - a)},
         "alpha"},
        {BLEND_ADDITIVE, {0.8f * a + 0.2f, 0.4f * a + 0.6f, 0.2f * a + 1.0f}, "additive"},
        {BLEND_SUBTRACTIVE, {0.8f * a - 0.2f, 0.4f * a - 0.6f, 0.2f * a - 1.0f}, "subtractive"},
    };
    swap_chain->Set_Depth_State(DEPTH_NONE);
    for (const Case& c : cases)
    {
        swap_chain->Set_Blend_State(BLEND_OPAQUE);
        swap_chain->Clear_Target(destination);
        swap_chain->Set_Blend_State(c.state);
        EXPECT_EQ(swap_chain->Get_Blend_State(), c.state);
        Draw_Quad(0, 0, WIDTH, HEIGHT, source);
        Rgba pixel = Pixel(Back_Buffer(), WIDTH / 2, HEIGHT / 2);
        EXPECT_NEAR(pixel.r, Byte(c.expected[0]), 2) << c.name;
        EXPECT_NEAR(pixel.g, Byte(c.expected[1]), 2) << c.name;
        EXPECT_NEAR(pixel.b, Byte(c.expected[2]), 2) << c.name;
    }
}

TEST_F(Render_Test, DepthStatesDecideWhichQuadStays)
{
    START_RENDER();
    const float black[4] = {0, 0, 0, 1}, red[4] = {1, 0, 0, 1}, green[4] = {0, 1, 0, 1};
    struct Case
    {
        Depth_State_Kind state;
        float second_depth;
        bool second_wins;
        const char* name;
    };
    const Case cases[] = {
        {DEPTH_STANDARD, 0.7f, false, "standard: farther loses"},
        {DEPTH_STANDARD, 0.3f, true, "standard: nearer wins"},
        {DEPTH_REVERSE, 0.7f, true, "reverse: farther wins"},
        {DEPTH_REVERSE, 0.3f, false, "reverse: nearer loses"},
        {DEPTH_NONE, 0.7f, true, "none: the last one drawn"},
    };
    for (const Case& c : cases)
    {
        swap_chain->Clear_Target(black);
        device->Gpu().Clear_Depth_Stencil(swap_chain->Get_Depth_View(), true, 1.0f, true, 0);
        swap_chain->Set_Depth_State(DEPTH_STANDARD);
        Draw_Quad(0, 0, WIDTH, HEIGHT, red, 0.5f);
        swap_chain->Set_Depth_State(c.state);
        Draw_Quad(0, 0, WIDTH, HEIGHT, green, c.second_depth);
        Rgba pixel = Pixel(Back_Buffer(), WIDTH / 2, HEIGHT / 2);
        EXPECT_EQ(pixel.g == 255 && pixel.r == 0, c.second_wins) << c.name;
        EXPECT_EQ(pixel.r == 255 && pixel.g == 0, !c.second_wins) << c.name;
    }
}

TEST_F(Render_Test, QuadWithOneNegativeScaleIsCulled)
{
    START_RENDER();
    const float black[4] = {0, 0, 0, 1}, white_colour[4] = {1, 1, 1, 1};
    const Matrix4 mirror_x = Matrix_Scaling(-1, 1, 1), mirror_y = Matrix_Scaling(1, -1, 1),
                  both = Matrix_Scaling(-1, -1, 1);
    struct Case
    {
        const Matrix4* turn;
        bool shown;
        const char* name;
    };
    const Case cases[] = {{nullptr, true, "as written"},
                          {&mirror_x, false, "mirrored left to right"},
                          {&mirror_y, false, "mirrored top to bottom"},
                          {&both, true, "both mirrored: a half turn"}};
    swap_chain->Set_Depth_State(DEPTH_NONE);
    for (const Case& c : cases)
    {
        swap_chain->Clear_Target(black);
        Draw_Quad(16, 8, 48, 40, white_colour, 0.0f, c.turn);
        EXPECT_EQ(Pixel(Back_Buffer(), 32, 24).r, c.shown ? 255 : 0) << c.name;
    }
}

// The settings file's MSAA entry, or none at all, and whether multisampling is on.
struct Msaa_Case
{
    const char* name;
    const char* config; // nullptr: no settings file
    bool msaa;
};

void PrintTo(const Msaa_Case& c, std::ostream* out)
{
    *out << c.name;
}

class Multisample_Test : public Render_Test, public ::testing::WithParamInterface<Msaa_Case>
{
};

// Draws a turned quad on the back buffer and into the off-screen buffer and checks both.
TEST_P(Multisample_Test, FollowsTheSettingsAndIsOnByDefault)
{
    const Msaa_Case& c = GetParam();
    START_RENDER(c.config);
    const bool msaa = c.msaa;
    EXPECT_EQ(engine->Get_MSAA(), msaa);
    EXPECT_EQ(swap_chain->Get_Sample_Count(), msaa ? 4 : 1);
    const float clear[4] = {0, 0, 0, 0}, white_colour[4] = {1, 1, 1, 1};
    const Matrix4 turn = Matrix_Rotation_Z(0.3f);
    swap_chain->Set_Depth_State(DEPTH_NONE);
    swap_chain->Clear_Target(clear);
    Draw_Quad(16, 8, 48, 40, white_colour, 0.0f, &turn);
    std::vector<uint8_t> pixels = Back_Buffer();
    int mixed = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        mixed += pixels[i] != 0 && pixels[i] != 255;
    if (msaa)
        EXPECT_GT(mixed, 20);
    else
        EXPECT_EQ(mixed, 0);

    GFX_Buffer* buffer = window->Get_Offscreen_Buffer();
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Get_Sample_Count(), msaa ? 4 : 1);
    EXPECT_EQ(buffer->Get_Resolve_Texture() != nullptr, msaa);
    EXPECT_EQ(buffer->Get_View() == buffer->Texture::Get_View(), !msaa);
    buffer->Bind();
    buffer->Clear(clear, 1.0f);
    Draw_Quad(16, 8, 48, 40, white_colour, 0.0f, &turn);
    buffer->Resolve();
    std::vector<uint8_t> resolved;
    ASSERT_TRUE(
        device->Gpu().Read_Pixels(msaa ? buffer->Get_Resolve_Texture() : buffer->Get_Texture(), resolved));
    swap_chain->Bind_Back_Buffer();
    Expect_Near(Pixel(resolved, 32, 24), {255, 255, 255, 255}, 0, "inside the quad");
    Expect_Near(Pixel(resolved, 1, 1), {0, 0, 0, 0}, 0, "outside the quad");
    Expect_Near(Pixel(Back_Buffer(), 1, 1), {0, 0, 0, 0}, 0, "the back buffer is left alone");
}

INSTANTIATE_TEST_SUITE_P(Settings, Multisample_Test,
                         ::testing::Values(Msaa_Case{"NoSettingsFile", nullptr, true},
                                           Msaa_Case{"NoMsaaEntry", "screen_width 640\n", true},
                                           Msaa_Case{"On", "MSAA 1\n", true},
                                           Msaa_Case{"Off", "MSAA false\n", false}),
                         [](const ::testing::TestParamInfo<Msaa_Case>& info) { return info.param.name; });

TEST_F(Render_Test, SameViewsTwiceBindOnceAndCountOneSkip)
{
    START_RENDER();
    device->Reset_Skipped_Bindings();
    const platform::Gpu_View* views[2] = {white.Get_View(), window->Get_Offscreen_Buffer()->Get_View()};
    device->Bind_Pixel_Views(0, 2, views);
    EXPECT_EQ(device->Get_Skipped_Bindings(), 0u);
    device->Bind_Pixel_Views(0, 2, views);
    EXPECT_EQ(device->Get_Skipped_Bindings(), 1u);
    // After the frame loop's direct unbind the same views bind again.
    device->Unbind_Pixel_Views(0, 4);
    device->Bind_Pixel_Views(0, 2, views);
    EXPECT_EQ(device->Get_Skipped_Bindings(), 1u);
    // Two draws with one texture: the sprite shader binds it once.
    device->Unbind_Pixel_Views(0, 4);
    shader->Bind_Texture(white.Get_View());
    shader->Bind_Texture(white.Get_View());
    EXPECT_EQ(device->Get_Skipped_Bindings(), 1u);
    EXPECT_EQ(device->Sprite_Texture_Record(), white.Get_View()->Serial());
}

TEST_F(Render_Test, ATextureMadeInTheRoomOfAFreedOneIsBoundAndDrawn)
{
    // Each round frees the texture it drew and makes the next one, which the allocator tends to put where the
    // last one was: the records of what is bound must not take the new view for the old one.
    START_RENDER();
    const uint8_t colours[3][4] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
    const float white_colour[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 0};
    for (const uint8_t(&colour)[4] : colours)
    {
        Texture texture;
        ASSERT_TRUE(texture.Initialize(device, 1, 1, platform::GPU_FORMAT_R8G8B8A8_UNORM, true));
        ASSERT_EQ(device->Gpu().Update_Texture(texture.Get_Texture(), colour), platform::GPU_OK);
        swap_chain->Clear_Target(black);
        swap_chain->Set_Depth_State(DEPTH_NONE);
        swap_chain->Set_Blend_State(BLEND_OPAQUE);
        Draw_Quad(0, 0, 8, 8, white_colour, 0.0f, nullptr, texture.Get_View());
        Expect_Near(Pixel(Back_Buffer(), 4, 4), {colour[0], colour[1], colour[2], colour[3]}, 0, "drawn");
        texture.Release();
    }
}

TEST(Refresh_Choice, PicksTheNearestWholeRateOfTheExactSize)
{
    platform::Gpu_Display_Mode modes[] = {
        {1280, 720, 60, 1}, {1920, 1080, 60, 1}, {1920, 1080, 59940, 1000}, {1920, 1080, 75, 1}};
    D3D_Output output;
    output.modes = modes;
    output.mode_count = 4;
    struct Case
    {
        int width, height, refresh;
        uint32_t numerator, denominator;
    };
    const Case cases[] = {
        {1920, 1080, 59, 59940, 1000}, // the fractional mode's whole rate is 59
        {1920, 1080, 60, 60, 1},       // the first of equal distances... and the exact one
        {1920, 1080, 70, 75, 1},       // nearest
        {1920, 1080, 67, 60, 1},       // 7 from 60 and 8 from 75
        {1600, 900, 60, 60, 1},        // no mode of that size
    };
    for (const Case& c : cases)
    {
        uint32_t numerator = 0, denominator = 0;
        D3D_SwapChain::Choose_Refresh(&output, c.width, c.height, c.refresh, numerator, denominator);
        EXPECT_EQ(numerator, c.numerator) << c.width << "x" << c.height << " at " << c.refresh;
        EXPECT_EQ(denominator, c.denominator) << c.width << "x" << c.height << " at " << c.refresh;
    }
    uint32_t numerator = 0, denominator = 0;
    D3D_SwapChain::Choose_Refresh(nullptr, 1920, 1080, 59, numerator, denominator);
    EXPECT_EQ(numerator, 60u);
    output.modes = nullptr;
}

TEST_F(Render_Test, ModesComeInAscendingWidthHeightAndRate)
{
    START_RENDER();
    const D3D_Output* output = engine->Get_Adapter(0)->Get_Output(0);
    ASSERT_NE(output, nullptr);
    ASSERT_GT(output->mode_count, 0u);
    for (uint32_t i = 1; i < output->mode_count; ++i)
        EXPECT_TRUE(platform::Gpu_Mode_Before(output->modes[i - 1], output->modes[i])) << i;
    std::vector<platform::Gpu_Display_Mode> sorted = {
        {800, 600, 75, 1}, {640, 480, 60, 1}, {800, 600, 60, 1}, {800, 480, 60, 1}, {800, 600, 59940, 1000}};
    std::sort(sorted.begin(), sorted.end(), platform::Gpu_Mode_Before);
    const uint32_t expected[][3] = {
        {640, 480, 60}, {800, 480, 60}, {800, 600, 59940}, {800, 600, 60}, {800, 600, 75}};
    for (size_t i = 0; i < sorted.size(); ++i)
    {
        EXPECT_EQ(sorted[i].width, expected[i][0]);
        EXPECT_EQ(sorted[i].height, expected[i][1]);
        EXPECT_EQ(sorted[i].refresh_numerator, expected[i][2]);
    }
}

TEST_F(Render_Test, MissingShaderFileIsLoggedAndLeavesAnEmptySlot)
{
    std::filesystem::remove(folder.Path() / "data/shaders/sprite heat.ps");
    START_RENDER();
    EXPECT_NE(Log().find("ERROR loading \"data/shaders/sprite heat.ps\" - The file was not found.\n"),
              std::string::npos)
        << Log();
    EXPECT_EQ(shader->Get_Pixel_Shader(8), nullptr);
    EXPECT_NE(shader->Get_Pixel_Shader(0), nullptr);
    EXPECT_NE(shader->Get_Pixel_Shader(9), nullptr);
}

using Render_Death_Test = Render_Test;

TEST_F(Render_Death_Test, SyntaxErrorInAnyShaderEndsTheProgramWithTheBox)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test_support::Write_File(folder.File("data/shaders/sprite plasma.ps"),
                             "#version 330 core\nout vec4 pixel;\nvoid main() { pixel = vec4(1.0) }\n");
    EXPECT_EXIT(Start(), ::testing::ExitedWithCode(1),
                "Error!!!: Error compiling shader \"data/shaders/sprite plasma.ps\".\n.*sprite plasma.ps");
}
