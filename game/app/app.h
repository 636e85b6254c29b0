// App: the game object. It opens the main window and receives Update and Render every frame.
#pragma once
#include "engine/core/vorta_callbacks.h"

class Vorta_Viewport;

class App : public Vorta_Callbacks
{
  public:
    App() = default;
    ~App() override = default;

    // Opens the main window and binds viewport 0 to the game. A window that does not open is fatal.
    void Initialize();

    void Update(Vorta_Window* window) override;
    void Render(Vorta_Window* window) override;

    Vorta_Window* Get_Window() const { return m_window; }
    unsigned Get_Update_Count() const { return m_update_count; }
    unsigned Get_Render_Count() const { return m_render_count; }

  private:
    Vorta_Window* m_window = nullptr; // owned by the engine
    Vorta_Viewport* m_viewport = nullptr;
    unsigned m_update_count = 0;
    unsigned m_render_count = 0;
};

// The one App of the process: set when it is created, cleared after it is deleted.
extern App* g_app;
