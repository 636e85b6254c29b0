// Vorta_Window: opening, viewports, the frame limiter and the frame.
#include "engine/core/vorta_window.h"

#include "engine/audio/sound_system.h"
#include "engine/core/run_settings.h"
#include "engine/core/user_folder.h"
#include "engine/core/vorta_callbacks.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/gui/console.h"
#include "engine/gui/intuition.h"
#include "engine/gui/window_gui_host.h"
#include "engine/input/input_system.h"
#include "engine/render/d3d_device.h"
#include "engine/render/d3d_swap_chain.h"
#include "engine/render/gfx_buffer.h"
#include "engine/render/sprite.h"
#include "platform/clock.h"

#include <cstdio>
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
                        bool vsync, const char* title)
{
    // 1. Parameters and the display's desktop rectangle.
    Print_Message("Setting up parameters...");
    m_adapter = adapter;
    m_full_screen = full_screen;
    m_width = width;
    m_height = height;
    Set_Target_Fps(static_cast<float>(fps));
    platform::Rect desktop;
    D3D_Adapter* adapter_record = m_engine->Get_Adapter(adapter);
    if (!(adapter_record && adapter_record->Get_Desktop(display, desktop)) &&
        !platform::Display_Bounds(display, desktop))
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

    // 5. Swap chain.
    Print_Message("Creating Swapchain...");
    m_swap_chain = new (std::nothrow) D3D_SwapChain();
    if (!m_swap_chain)
    {
        Print_Message("Failed - to allocate swap chain...\n");
        return false;
    }
    if (!m_swap_chain->Create(display, m_os_window, Get_Device(), width, height, fps, full_screen, vsync))
        return false;
    Print_Message("OK\n");

    // 6. Off-screen render buffer; its failures do not stop start-up.
    Print_Message("Create off screen render buffer... ");
    m_offscreen_buffer = new (std::nothrow) GFX_Buffer();
    if (!m_offscreen_buffer)
        Print_Message("Failed - to allocate buffer...\n");
    else if (!m_offscreen_buffer->Initialize(this, width, height, platform::GPU_FORMAT_R8G8B8A8_UNORM,
                                             platform::GPU_FORMAT_D24_UNORM_S8_UINT))
        Print_Message("Failed - to initialize buffer...\n");
    Print_Message("OK\n");

    // 7. Glow buffers, an eighth of the size each way.
    Print_Message("Create glow buffers... ");
    for (GFX_Buffer*& glow : m_glow_buffers)
    {
        glow = new (std::nothrow) GFX_Buffer();
        if (!glow)
            Print_Message("Failed - Glow buffer allocation...\n");
        else if (!glow->Initialize(this, width >> 3, height >> 3, platform::GPU_FORMAT_R8G8B8A8_UNORM,
                                   platform::GPU_FORMAT_D24_UNORM_S8_UINT))
            Print_Message("Failed - Glow buffer initialization...\n");
    }
    Print_Message("OK\n");

    // 8. Composition sprite: draws the off-screen buffer (slot 0) and the glow buffers (slots 1, 2).
    m_composition = new (std::nothrow) Sprite(this);
    if (m_composition)
    {
        m_composition->Create_Frames(1);
        m_composition->Create_Textures(3);
        m_composition->Set_Texture(0, m_offscreen_buffer);
        m_composition->Set_Texture(1, m_glow_buffers[0]);
        m_composition->Set_Texture(2, m_glow_buffers[1]);
    }

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
    // A run on recorded input reads it instead of the devices; a recording run shows every poll to its tap.
    m_input->Attach(g_vorta_run.input_source, g_vorta_run.input_tap);
    m_input->Attach_Touch(&m_touch);
    if (!m_input->Create(m_os_window.Id()))
    {
        Print_Message("Failed - to initialize input...\n");
        return false;
    }

    // 11. Gadget manager, on the window's sprites and input.
    Print_Message("Create Intuition interface... ");
    m_gui_host = new (std::nothrow) Window_Gui_Host(this);
    m_intuition = m_gui_host ? new (std::nothrow) Intuition(m_gui_host) : nullptr;
    if (!m_intuition)
    {
        Print_Message("Failed - to allocate Intuition interface...\n");
        return false;
    }
    Print_Message("OK\n");

    // 12. Console: the manager owns it.
    Print_Message("Creating Console...\n");
    m_console = new (std::nothrow) Console(m_intuition);
    if (!m_console)
    {
        Print_Message("Failed - to allocate console...\n");
        return false;
    }
    return true;
}

void Vorta_Window::Destroy()
{
    // Released in this order: gadget manager, sound system, camera, input, swap chain, then the window.
    // Sprites and buffers are freed with the window's context current.
    if (m_swap_chain)
        m_swap_chain->Make_Current();
    delete m_intuition; // and with it the console
    m_intuition = nullptr;
    m_console = nullptr;
    delete m_gui_host;
    m_gui_host = nullptr;
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
    // Composition sprite, render buffers, then the swap chain: the reverse of their creation.
    delete m_composition;
    m_composition = nullptr;
    for (GFX_Buffer*& glow : m_glow_buffers)
    {
        delete glow;
        glow = nullptr;
    }
    delete m_offscreen_buffer;
    m_offscreen_buffer = nullptr;
    delete m_swap_chain;
    m_swap_chain = nullptr;
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

D3D_Device* Vorta_Window::Get_Device() const
{
    D3D_Adapter* adapter = m_engine ? m_engine->Get_Adapter(m_adapter) : nullptr;
    return adapter ? adapter->device : nullptr;
}

bool Vorta_Window::Screen_Grab(const char* name)
{
    if (!m_swap_chain || !name)
        return false;
    char file[512];
    char path[1024];
    for (long n = 0; n < 100000000; ++n)
    {
        std::snprintf(file, sizeof(file), "%s %d-%03ld.jpg", name, m_slot, n);
        // Numbers already used beside the program, in the pack or in the player's folder are skipped.
        if (!Vorta_File_Exists(file))
            return User_Write_Path(file, path, sizeof(path)) && m_swap_chain->Save_Back_Buffer(path);
    }
    return false;
}

void Vorta_Window::Compose(float x, float y, float width, float height, uint32_t flags)
{
    if (!m_swap_chain || !m_composition)
        return;
    m_swap_chain->Bind_Back_Buffer();
    m_swap_chain->Full_Viewport();
    if (m_offscreen_buffer)
        m_offscreen_buffer->Resolve();
    m_composition->Clear_Frames();
    m_composition->Set_Frame(m_composition->Get_Frame(), 0, {x, y}, {width, height}, 0.0f, COLOUR_WHITE,
                             SPR_LEFT | SPR_TOP);
    m_composition->Draw({0.0f, 0.0f}, {1.0f, 1.0f}, 0.0f, 0, flags, COLOUR_WHITE, 1.0f, {0.0f, 0.0f});
}

bool Vorta_Window::Set_Full_Screen(bool full_screen)
{
    if (!m_os_window.Is_Open())
        return false;
    if (full_screen == m_full_screen)
        return true;
    int width = 0, height = 0;
    Get_Render_Size(width, height);
    if (!m_os_window.Set_Full_Screen(full_screen, width, height))
    {
        Print_Message("Failed - to switch to %s: %s\n", full_screen ? "full screen" : "a window",
                      platform::Last_Window_Error());
        return false;
    }
    m_full_screen = full_screen;
    platform::Show_Cursor(!full_screen);
    Print_Message("Switched to %s\n", full_screen ? "full screen" : "a window");
    return true;
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
    // Input from a source brings its own mouse position.
    if (m_input && m_input->Get_Mouse() && !m_input->Has_Source())
    {
        const float* mouse = m_engine->Get_Mouse_Position();
        // The picture is stretched over the client area (a full-screen mode that is not the render size, a
        // high-density display), so the mouse is measured against the client area; it is the render size
        // whenever the two agree.
        int width = 0, height = 0;
        m_os_window.Client_Size(width, height);
        if (width <= 0 || height <= 0)
            Get_Render_Size(width, height);
        m_input->Get_Mouse()->Set_Position(width > 0 ? mouse[0] / static_cast<float>(width) : 0.0f,
                                           height > 0 ? mouse[1] / static_cast<float>(height) : 0.0f);
    }
    return m_input;
}

void Vorta_Window::Get_Render_Size(int& width, int& height) const
{
    if (m_swap_chain)
    {
        width = m_swap_chain->Get_Width();
        height = m_swap_chain->Get_Height();
        return;
    }
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
        if (!platform::Fixed_Clock_On())
        {
            while (m_frame_timer.Elapsed_Seconds() < m_target_frame_time)
            {
                Sample_Clock();
                platform::Yield_Thread();
            }
        }
        else if (g_vorta_run.real_time_pacing)
            Pace_Real_Time();
    }
    if (m_frame_count <= 1)
        m_time_scale = 1.0f;
    else
        m_time_scale = m_frame_timer.Elapsed_Seconds() / m_target_frame_time;
    m_frame_timer.Reset();
}

// The fixed-step clock has already moved on by exactly one period; for a player the frame is still held to
// the period in real time. A frame that came late starts the next period from its own end: no catching up.
void Vorta_Window::Pace_Real_Time()
{
    const int64_t period =
        static_cast<int64_t>(static_cast<double>(m_target_frame_time) * platform::Clock_Frequency());
    int64_t now = platform::Clock_Ticks();
    if (m_paced_frame_start != 0)
        while (now - m_paced_frame_start < period)
        {
            platform::Yield_Thread();
            now = platform::Clock_Ticks();
        }
    m_paced_frame_start = now;
}

void Vorta_Window::Frame()
{
    // 1. Frame limiter.
    Limit_Frame();
    D3D_Device* device = Get_Device();
    if (m_swap_chain)
        m_swap_chain->Make_Current();

    // 2. Input poll (the mouse's normalised position first, so that what the poll saw includes it).
    if (Input_System* input = Get_Input())
        input->Poll();

    // A run that nobody watches draws only the frames it keeps (or the hook asks for); the game and the
    // engine do all the rest of every frame as usual.
    if (device && g_vorta_run.frame_hook)
    {
        const bool grab =
            m_input && m_input->Get_Keyboard() && m_input->Get_Keyboard()->Key_Pressed(Keyboard::SYSRQ);
        device->Gpu().Discard_Output(!grab && !g_vorta_run.frame_hook->Draw_Frame(this));
    }

    // 3. Gadget manager, and with it the console.
    if (m_intuition)
        m_intuition->Update();

    // 4. Each active viewport.
    for (Vorta_Viewport* viewport : m_viewports)
    {
        if (!viewport || !viewport->Is_Active())
            continue;
        m_current_viewport = viewport;
        m_callbacks = viewport->Get_Callbacks();
        m_current_camera = viewport->Get_Camera();

        if (device)
            device->Reset_Skipped_Bindings();

        Get_Input(); // the normalised mouse position

        if (m_callbacks)
            m_callbacks->Update(this);
        if (m_current_camera)
            m_current_camera->Apply(this);

        // Unbind the shader views, clear the bound target (the back buffer) and the off-screen buffer.
        if (device && m_swap_chain)
        {
            static const float opaque_black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
            static const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            device->Unbind_Pixel_Views(0, 4);
            m_swap_chain->Clear_Target(opaque_black);
            if (m_offscreen_buffer)
                m_offscreen_buffer->Clear(clear, 1.0f);
        }

        if (m_callbacks)
            m_callbacks->Render(this);

        // Compose the off-screen buffer onto the back buffer, over the viewport's rectangle.
        Compose(viewport->Get_X(), viewport->Get_Y(), viewport->Get_Width(), viewport->Get_Height(),
                SPR_LINEAR | SPR_ALPHA);
    }

    // 5. Gadget pass: into the cleared off-screen buffer, which is then composed over the whole back buffer.
    if (device && m_swap_chain && m_offscreen_buffer)
    {
        static const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        device->Unbind_Pixel_Views(0, 1);
        m_offscreen_buffer->Bind();
        m_offscreen_buffer->Clear(clear, 1.0f);
        if (m_intuition)
            m_intuition->Draw();
        Compose(0.0f, 0.0f, 1.0f, 1.0f, SPR_LINEAR | SPR_ALPHA | SPR_CLEAR);
    }

    // 6. SysRq (Print Screen) went down in this frame: save the frame.
    if (m_input && m_input->Get_Keyboard() && m_input->Get_Keyboard()->Key_Pressed(Keyboard::SYSRQ))
        Screen_Grab("screen_grab");

    // The finished frame, for a run that traces or grabs it.
    if (g_vorta_run.frame_hook)
        g_vorta_run.frame_hook->Frame_Done(this);

    // 7. Present.
    if (m_swap_chain)
        m_swap_chain->Present();
    if (device)
        device->Gpu().Discard_Output(false);
}
