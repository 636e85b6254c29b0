// Vorta_Window: opening, viewports, the frame limiter and the frame.
#include "engine/core/vorta_window.h"

#include "engine/audio/sound_system.h"
#include "engine/core/vorta_callbacks.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/input/input_system.h"
#include "platform/clock.h"

#include <new>

Vorta_Window::Vorta_Window(Vorta_Engine* engine, int slot) : m_engine(engine), m_slot(slot)
{
    m_second_timer.Clear();
    m_frame_timer.Reset();
}

Vorta_Window::~Vorta_Window()
{
    Destroy();
}

bool Vorta_Window::Open(int adapter, int display, int width, int height, bool full_screen, int fps,
                        bool /*vsync*/, const char* title)
{
    // 1. Parameters and the display's desktop rectangle.
    Print_Message("Setting up parameters...");
    m_adapter = adapter;
    m_full_screen = full_screen;
    m_width = width;
    m_height = height;
    Set_Target_Fps(static_cast<float>(fps));
    platform::Rect desktop;
    if (!platform::Display_Bounds(display, desktop))
        desktop = {0, 0, width, height};

    // 2. Window placement: full screen switches the display mode; a window is centred on the display.
    int x = desktop.left, y = desktop.top;
    if (full_screen)
    {
        Print_Message("full screen\n");
    }
    else
    {
        x = desktop.left + ((desktop.right - desktop.left) - width) / 2;
        y = desktop.top + ((desktop.bottom - desktop.top) - height) / 2;
        Print_Message("window\n");
    }

    // 3. The window itself.
    Print_Message("Opening display...");
    if (!m_engine->Get_Window_Class().Registered() ||
        !m_os_window.Create(title ? title : "", display, x, y, width, height, full_screen))
    {
        Print_Message("Failed - Unable to open display: %s\n", platform::Last_Window_Error());
        return false;
    }
    m_os_window.Show();
    m_os_window.Focus();
    if (full_screen)
        platform::Show_Cursor(false);
    Print_Message("OK\n");

    // 4. Touch: every window receives finger events; it starts with no points.
    m_touch.Clear();

    // 5. Swap chain: comes with the renderer.

    // 6, 7. Off-screen and glow render buffers: come with the renderer.

    // 8. Composition sprite: comes with sprites.

    // 9. Sound system. Its own failures are logged and do not stop the opening.
    Print_Message("Allocating Sound System... ");
    m_sound_system = new (std::nothrow) Sound_System();
    if (!m_sound_system)
    {
        Print_Message("Failed - to initialize sound system...\n");
        return false;
    }
    Print_Message("OK\n");
    m_sound_system->Init(m_os_window.Handle());

    // 10. Input devices.
    m_input = new (std::nothrow) Input_System();
    if (!m_input)
    {
        Print_Message("Failed - to allocate input...\n");
        return false;
    }
    if (!m_input->Create(m_os_window.Id()))
    {
        Print_Message("Failed - to initialize input...\n");
        return false;
    }

    // 11, 12. Gadget manager and console: come with the gadget toolkit.

    return true;
}

void Vorta_Window::Destroy()
{
    // Released in this order: gadget manager, sound system, camera, input, swap chain, then the window.
    delete m_sound_system;
    m_sound_system = nullptr;
    // Viewports own their cameras; the current camera goes with its viewport.
    for (Vorta_Viewport*& viewport : m_viewports)
    {
        delete viewport;
        viewport = nullptr;
    }
    m_current_viewport = nullptr;
    m_current_camera = nullptr;
    delete m_input; // releases its devices
    m_input = nullptr;
    m_os_window.Destroy(); // restores the display mode of a full-screen window
}

Vorta_Viewport* Vorta_Window::Get_Viewport(int index)
{
    if (index == -1)
        return m_current_viewport;
    if (index < 0 || index >= MAX_VIEWPORTS)
        Report_Error(true, "Vorta_Window::Get_Viewport - Invalid viewport index\n");
    if (!m_viewports[index])
        m_viewports[index] = new (std::nothrow) Vorta_Viewport(this);
    m_current_viewport = m_viewports[index];
    return m_current_viewport;
}

Vorta_Camera* Vorta_Window::Get_Camera(int index)
{
    if (index < 0 || index >= MAX_VIEWPORTS || !m_viewports[index])
        Report_Error(true, "Vorta_Window::Get_Camera - Invalid viewport index\n");
    return m_viewports[index]->Get_Camera();
}

void Vorta_Window::Set_Target_Fps(float fps)
{
    m_target_frame_time = fps > 0.0f ? 1.0f / fps : 0.0f;
}

void Vorta_Window::Set_Icon(const platform::Icon_Image& icon)
{
    m_os_window.Set_Icon(icon);
}

Input_System* Vorta_Window::Get_Input()
{
    if (m_input && m_input->Get_Mouse())
    {
        const float* mouse = m_engine->Get_Mouse_Position();
        int width = 0, height = 0;
        Get_Render_Size(width, height);
        m_input->Get_Mouse()->Set_Position(width > 0 ? mouse[0] / static_cast<float>(width) : 0.0f,
                                           height > 0 ? mouse[1] / static_cast<float>(height) : 0.0f);
    }
    return m_input;
}

void Vorta_Window::Get_Render_Size(int& width, int& height) const
{
    width = m_width;
    height = m_height;
}

void Vorta_Window::Limit_Frame()
{
    ++m_frame_count;
    if (m_second_timer.Expired())
    {
        m_second_timer.Start(1.0f);
        m_frames_per_second = m_frame_count;
        m_frame_count = 0;
    }
    if (m_target_frame_time <= 0.0f)
    {
        m_time_scale = 1.0f;
        return;
    }
    if (m_lock)
    {
        while (m_frame_timer.Elapsed_Seconds() < m_target_frame_time)
        {
            Sample_Clock();
            platform::Yield_Thread();
        }
    }
    if (m_frame_count <= 1)
        m_time_scale = 1.0f;
    else
        m_time_scale = m_frame_timer.Elapsed_Seconds() / m_target_frame_time;
    m_frame_timer.Reset();
}

void Vorta_Window::Frame()
{
    // 1. Frame limiter.
    Limit_Frame();

    // 2. Input poll.
    if (m_input)
        m_input->Poll();

    // 3. Gadget manager update: comes with the gadget toolkit.

    // 4. Each active viewport.
    for (Vorta_Viewport* viewport : m_viewports)
    {
        if (!viewport || !viewport->Is_Active())
            continue;
        m_current_viewport = viewport;
        m_callbacks = viewport->Get_Callbacks();
        m_current_camera = viewport->Get_Camera();

        // Skipped-binding counter reset: comes with the renderer.

        Get_Input(); // the normalised mouse position

        if (m_callbacks)
            m_callbacks->Update(this);
        if (m_current_camera)
            m_current_camera->Apply(this);

        // Unbind, clear the back buffer and the off-screen buffer: come with the renderer.

        if (m_callbacks)
            m_callbacks->Render(this);

        // Compose the off-screen buffer onto the back buffer: comes with sprites.
    }

    // 5. Gadget pass into the off-screen buffer and its compose: come with the gadget toolkit and sprites.

    // 6. SysRq screen grab: comes with the input layer.

    // 7. Present: comes with the renderer.
}
