// App: the main window and the per-frame entry points of the game.
#include "game/app/app.h"

#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "game/app/app_icon.h"

App* g_app = nullptr;

namespace
{
constexpr int k_window_width = 1280;
constexpr int k_window_height = 720;
} // namespace

void App::Initialize()
{
    m_window = g_vorta_engine->Create_Window(0, 0, k_window_width, k_window_height, false, 60, true, false,
                                             "Kestrova Reboot");
    if (!m_window)
        Report_Error(true, "Failed - Unable to open main window!\r\n");

    m_viewport = m_window->Get_Viewport(0);
    m_viewport->Set_Callbacks(this);
    m_viewport->Set_Position(0.0f, 0.0f);
    m_viewport->Set_Size(1.0f, 1.0f);
    m_window->Set_Icon(App_Icon());
    m_window->Set_Callbacks(this);
}

void App::Update(Vorta_Window* /*window*/)
{
    ++m_update_count;
}

void App::Render(Vorta_Window* /*window*/)
{
    ++m_render_count;
}
