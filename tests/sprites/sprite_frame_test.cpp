// The real frame path: a game's sprites and text on the back buffer, a picture drawn into the off-screen
// buffer and composed over it, and a screen grab of the result.
#include "sprite_fixture.h"

#include "engine/core/vorta_callbacks.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_swap_chain.h"
#include "engine/render/gfx_buffer.h"
#include "engine/render/sprite.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include <filesystem>

namespace
{
class Sheet_Game : public Vorta_Callbacks
{
  public:
    Sheet_Game(Sprite& font, Sprite& picture) : m_font(font), m_picture(picture) {}
    void Render(Vorta_Window* window) override
    {
        ++renders;
        // Into the off-screen buffer: a green band across the bottom, which the compose lays over the
        // back buffer.
        window->Get_Offscreen_Buffer()->Bind();
        m_picture.Clear_Frames();
        m_picture.Set_Frame(m_picture.Get_Frame(), 0, {0.0f, 0.8f}, {1.0f, 0.2f}, 0.0f, COLOUR_GREEN,
                            SPR_LEFT | SPR_TOP);
        m_picture.Draw({0, 0}, {1, 1}, 0.0f, 1, SPR_CLEAR, COLOUR_WHITE, 0.0f, {0, 0});
        window->Get_Swap_Chain()->Bind_Back_Buffer();
        window->Get_Swap_Chain()->Full_Viewport();

        // Onto the back buffer: the picture and a line of red text.
        m_picture.Set_Frame(m_picture.Get_Frame(), 0, {0.75f, 0.3f}, {0.2f, -1.0f}, 0.0f, COLOUR_WHITE,
                            SPR_CENTRE);
        m_picture.Draw({0, 0}, {1, 1}, 0.0f, 0, SPR_CLEAR, COLOUR_WHITE, 0.0f, {0, 0});
        Vector2 pen{0.1f, 0.2f};
        Colour colour = COLOUR_WHITE;
        m_font.Print(pen, 0.1f, colour, SPR_CODES | SPR_LEFT | SPR_TOP, "|c255000000HI");
        m_font.Draw({0, 0}, {1, 1}, 0.0f, 0, SPR_ALPHA | SPR_CLEAR, COLOUR_WHITE, 0.0f, {0, 0});
    }
    int renders = 0;

  private:
    Sprite& m_font;
    Sprite& m_picture;
};

class Sprite_Frame_Test : public Sprite_Test
{
};

TEST_F(Sprite_Frame_Test, SpriteSheetAndTextReachTheScreenGrab)
{
    Write_Texture("frame_font", 256, 96,
                  [](int x, int y)
                  {
                      const int gx = x % 16, gy = y % 16;
                      return gx >= 2 && gx < 14 && gy >= 2 && gy < 14 ? 0xFFFFFFFFu : 0x00000000u;
                  });
    Write_Script("frame_font", "frames 32 textures 1 texture 0 frame_font grid 16 6 16 16 bottom_line 16\n");
    Write_Texture("frame_sheet", 64, 64, [](int x, int) { return x < 32 ? 0xFFFF0000u : 0xFFFFFFFFu; });
    Write_Texture("frame_white", 4, 4, [](int, int) { return 0xFFFFFFFFu; });
    Write_Script("frame_sheet", "frames 4 textures 2 texture 0 frame_sheet texture 1 frame_white cells 1\n"
                                "cell 0 0 0 1 1\n");
    // The window's composition sprite draws the off-screen buffer and holds the glow buffers beside it.
    const Sprite* composition = window->Get_Composition_Sprite();
    ASSERT_NE(composition, nullptr);
    ASSERT_EQ(composition->Get_Texture_Count(), 3);
    EXPECT_EQ(composition->Get_Texture(0), window->Get_Offscreen_Buffer());
    EXPECT_EQ(composition->Get_Texture(1), window->Get_Glow_Buffer(0));
    EXPECT_EQ(composition->Get_Texture(2), window->Get_Glow_Buffer(1));

    Sprite font(window), picture(window);
    ASSERT_TRUE(font.Initialize("frame_font"));
    ASSERT_TRUE(picture.Initialize("frame_sheet"));
    Sheet_Game game(font, picture);
    Vorta_Viewport* viewport = window->Get_Viewport(0);
    viewport->Set_Callbacks(&game);
    window->Frame();
    viewport->Set_Callbacks(nullptr);
    ASSERT_EQ(game.renders, 1);

    ASSERT_TRUE(window->Screen_Grab("sheet"));
    const std::string grab = folder->File("sheet 0-000.jpg");
    ASSERT_TRUE(std::filesystem::exists(grab));
    int w = 0, h = 0, n = 0;
    unsigned char* jpeg = stbi_load(grab.c_str(), &w, &h, &n, 3);
    ASSERT_NE(jpeg, nullptr);
    ASSERT_EQ(w, WIDTH);
    ASSERT_EQ(h, HEIGHT);
    auto at = [&](int x, int y)
    {
        const unsigned char* p = jpeg + (static_cast<size_t>(y) * w + x) * 3;
        return Rgba{p[0], p[1], p[2], 255};
    };
    // Red letters: inside the first glyph's block at (192, 216) + 10.8 pixels of border.
    EXPECT_TRUE(Near(at(192 + 40, 216 + 40), 255, 0, 0, 40));
    EXPECT_TRUE(Near(at(192 + 86 + 40, 216 + 40), 255, 0, 0, 40));
    // The picture: blue left half, white right half, 384 x 384 centred on (1440, 324).
    EXPECT_TRUE(Near(at(1440 - 96, 324), 0, 0, 255, 40));
    EXPECT_TRUE(Near(at(1440 + 96, 324), 255, 255, 255, 40));
    // The band composed from the off-screen buffer, and black elsewhere.
    EXPECT_TRUE(Near(at(960, 1000), 0, 255, 0, 40));
    EXPECT_TRUE(Near(at(960, 700), 0, 0, 0, 40));
    stbi_image_free(jpeg);
}
} // namespace
