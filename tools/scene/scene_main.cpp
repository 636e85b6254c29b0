// vorta5-scene: renders a sample screen of the game from the built sprites at 1280 x 720 through the
// engine's window, device and sprite renderer, and saves it as a PNG picture.
//
//   vorta5-scene OUT.png [play|menu|credits|messages] [WIDTH HEIGHT]
//
// It runs in the folder that holds the data folder (the build's bin folder) and needs a display: run it
// under Xvfb (xvfb-run -a) or with SDL_VIDEODRIVER=offscreen.
#include "scene.h"

#include "engine/core/vorta_callbacks.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_swap_chain.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <stb_image_write.h>

namespace
{
class Scene_Callbacks : public Vorta_Callbacks
{
  public:
    Scene_Callbacks(const std::string& screen, const std::string& out) : m_screen(screen), m_out(out) {}
    void Update(Vorta_Window*) override {}
    void Render(Vorta_Window* window) override
    {
        if (m_done)
            return;
        m_done = true;
        Scene_Sprites sprites(window);
        float aspect = window->Get_Viewport(-1) ? window->Get_Viewport(-1)->Get_Aspect() : 0.5625f;
        if (m_screen == "menu")
            Draw_Menu_Scene(sprites, aspect);
        else if (m_screen == "credits")
            Draw_Credits_Scene(sprites, aspect);
        else if (m_screen == "messages")
            Draw_Messages_Scene(sprites, aspect);
        else
            Draw_Play_Scene(sprites, aspect);
        m_failures = sprites.Failures();
        std::vector<uint8_t> rgba;
        float fw = 0, fh = 0;
        D3D_SwapChain* chain = window->Get_Swap_Chain();
        if (!chain || !chain->Read_Back_Buffer(rgba))
        {
            std::fprintf(stderr, "vorta5-scene: the back buffer cannot be read\n");
            return;
        }
        chain->Get_Target_Size(fw, fh);
        const int width = static_cast<int>(fw), height = static_cast<int>(fh);
        // The screen shows the colours; the back buffer's alpha is not part of the picture.
        for (size_t k = 3; k < rgba.size(); k += 4)
            rgba[k] = 255;
        m_saved = stbi_write_png(m_out.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
        if (!m_saved)
            std::fprintf(stderr, "vorta5-scene: %s cannot be written (%d x %d)\n", m_out.c_str(), width,
                         height);
    }
    bool Saved() const { return m_saved; }
    int Failures() const { return m_failures; }

  private:
    std::string m_screen, m_out;
    bool m_done = false, m_saved = false;
    int m_failures = 0;
};
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s OUT.png [play|menu|credits|messages] [WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    // A relative name is taken from the caller's folder (the engine works in the program's own folder).
    std::filesystem::path out_path = argv[1];
    if (out_path.is_relative() && std::getenv("PWD"))
        out_path = std::filesystem::path(std::getenv("PWD")) / out_path;
    std::string out = out_path.string();
    std::string screen = argc > 2 ? argv[2] : "play";
    int width = argc > 4 ? std::atoi(argv[3]) : 1280, height = argc > 4 ? std::atoi(argv[4]) : 720;
    std::filesystem::current_path(VORTA5_RUNTIME_DIR);
    g_vorta_log.Set_Flags(LOG_FILE);
    Vorta_Engine engine;
    if (!engine.Init("", "scene config.txt"))
        return 1;
    engine.Create_Device(0);
    Vorta_Window* window = engine.Create_Window(0, 0, width, height, false, 60, false, false, "vorta5-scene");
    if (!window || !window->Get_Swap_Chain())
    {
        std::fprintf(stderr, "vorta5-scene: no window (run under Xvfb or with SDL_VIDEODRIVER=offscreen)\n");
        return 1;
    }
    Scene_Callbacks callbacks(screen, out);
    Vorta_Viewport* viewport = window->Get_Viewport(0);
    viewport->Set_Position(0.0f, 0.0f);
    viewport->Set_Size(1.0f, 1.0f);
    viewport->Set_Callbacks(&callbacks);
    viewport->Set_Active(true);
    window->Frame();
    if (!callbacks.Saved())
    {
        std::fprintf(stderr, "vorta5-scene: the frame could not be read back\n");
        return 1;
    }
    std::printf("vorta5-scene: %s screen at %d x %d in %s\n", screen.c_str(), width, height, out.c_str());
    return callbacks.Failures() ? 1 : 0;
}
