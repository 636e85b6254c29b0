// Vorta_Engine: Init, windows, message pump, main loop and shutdown.
#include "engine/core/vorta_engine.h"

#include "engine/core/config_list.h"
#include "engine/core/cpu_monitor.h"
#include "engine/core/run_settings.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_device.h"
#include "platform/clock.h"
#include "platform/process.h"

#include <cstdio>
#include <cstring>
#include <new>

Vorta_Engine* g_vorta_engine = nullptr;

Vorta_Engine::Vorta_Engine()
{
    g_vorta_engine = this;
    std::snprintf(m_texture_path, sizeof(m_texture_path), "%s", "data/textures/");
    // SIGINT and SIGTERM end the program the way a closed window does.
    platform::Install_Quit_Signals();
    // The run settings come first: the clock sample below and every window read them.
    if (g_vorta_run.headless)
        platform::Use_Headless_Drivers();
    if (g_vorta_run.fixed_clock)
    {
        platform::Start_Fixed_Clock(FIXED_CLOCK_START_SECONDS * g_vorta_clock.frequency);
        m_fixed_clock = true;
    }
    Sample_Clock();
    m_timer.Reset();
}

Vorta_Engine::~Vorta_Engine()
{
    Shutdown();
    if (m_fixed_clock)
        platform::Stop_Fixed_Clock();
    delete[] m_command_line;
    if (g_vorta_engine == this)
        g_vorta_engine = nullptr;
}

bool Vorta_Engine::Init(const char* command_line, const char* settings_file)
{
    // 1. Start directory and command line.
    platform::Current_Directory(m_start_directory, sizeof(m_start_directory));
    delete[] m_command_line;
    m_command_line = nullptr;
    if (command_line && *command_line)
    {
        size_t length = std::strlen(command_line) + 1;
        m_command_line = new (std::nothrow) char[length];
        if (m_command_line)
            std::memcpy(m_command_line, command_line, length);
    }

    // 2, 3. Banner and system report.
    Print_Message("Vorta5 DX11 startup....\n");
    System_Report();

    // 4. Adapters 0 to 3, up to the first that fails.
    m_adapter_count = 0;
    for (D3D_Adapter& adapter : m_adapters)
        adapter.Release();
    while (m_adapter_count < MAX_ADAPTERS && m_adapters[m_adapter_count].Enum(m_adapter_count))
        ++m_adapter_count;
    if (m_adapter_count == 0)
    {
        Print_Message("Failed - No 3d adapters found???\n");
        return false;
    }

    // 5. CPU monitor.
    m_cpu_monitor = new (std::nothrow) CPU_Monitor();
    if (!m_cpu_monitor)
    {
        Print_Message("Failed - Create the cpu object\n");
        return false;
    }
    m_cpu_monitor->Open();

    // 6. The window class. Without a display this fails quietly here; Create_Window reports it.
    m_window_class.Register("Vorta5");

    // 7. Data pack: "data.pak", else "data.7z"; with neither, every file comes from disk.
    if (!m_pack.Open("data.pak"))
        m_pack.Open("data.7z");

    // 8. Settings file into the process-wide list; a missing file leaves it empty. "MSAA" stays on unless the
    // file says otherwise.
    g_vorta_config.Clear();
    Load_Config(g_vorta_config, settings_file);
    if (const Config_Entry* msaa = Find_Config(g_vorta_config, "MSAA"))
        m_msaa = msaa->value.flag;

    // 9.
    Print_Message("Init Ok...\n");
    return true;
}

D3D_Adapter* Vorta_Engine::Create_Device(int adapter)
{
    D3D_Adapter* record = Get_Adapter(adapter);
    if (!record)
        return nullptr;
    if (record->device)
        return record;
    record->device = new (std::nothrow) D3D_Device();
    if (!record->device)
    {
        Print_Message("Failed - Allocation\n");
        return nullptr;
    }
    if (!record->device->Create(record))
    {
        delete record->device;
        record->device = nullptr;
        return nullptr;
    }
    return record;
}

D3D_Adapter* Vorta_Engine::Get_Adapter(int index)
{
    if (index < 0 || index >= m_adapter_count)
        return nullptr;
    return &m_adapters[index];
}

D3D_Device* Vorta_Engine::Get_Device()
{
    for (int i = 0; i < m_adapter_count; ++i)
        if (m_adapters[i].device)
            return m_adapters[i].device;
    return nullptr;
}

Vorta_Window* Vorta_Engine::Create_Window(int adapter, int display, int width, int height, bool full_screen,
                                          int fps, bool vsync, bool /*spare*/, const char* title)
{
    int slot = 0;
    while (slot < MAX_WINDOWS && m_windows[slot])
        ++slot;
    if (slot == MAX_WINDOWS)
        return nullptr;
    Vorta_Window* window = new (std::nothrow) Vorta_Window(this, slot);
    if (!window)
        return nullptr;
    m_windows[slot] = window;
    if (!window->Open(adapter, display, width, height, full_screen, fps, vsync, title))
        return nullptr;
    return window;
}

Vorta_Window* Vorta_Engine::Get_Window(int slot) const
{
    return slot >= 0 && slot < MAX_WINDOWS ? m_windows[slot] : nullptr;
}

uint32_t Vorta_Engine::Pack_File_Size(const char* name)
{
    return m_pack.File_Size(name);
}

uint32_t Vorta_Engine::Pack_Extract(const char* name, uint8_t** out)
{
    return m_pack.Extract(name, out);
}

int Vorta_Engine::Get_CPU_Load() const
{
    return m_cpu_monitor ? m_cpu_monitor->Get_Load() : 0;
}

void Vorta_Engine::Message_Handler::On_Quit()
{
    m_engine.m_quit = true;
}

// A closed window quits the program, as the quit message it posts would within this same pump.
void Vorta_Engine::Message_Handler::On_Close(uint32_t /*window_id*/)
{
    m_engine.m_quit = true;
}

void Vorta_Engine::Message_Handler::On_Mouse_Move(uint32_t /*window_id*/, int x, int y)
{
    m_engine.m_mouse[0] = static_cast<float>(x);
    m_engine.m_mouse[1] = static_cast<float>(y);
}

void Vorta_Engine::Message_Handler::On_Touch(uint32_t window_id, const platform::Touch_Point* points,
                                             int count)
{
    for (Vorta_Window* window : m_engine.m_windows)
        if (window && window->Is_Open() && window->Get_Os_Window().Id() == window_id)
            window->Get_Touch()->Set(points, count);
}

// Alt+Return: the window switches at once; the settings file still decides how the next start opens.
void Vorta_Engine::Message_Handler::On_Toggle_Full_Screen(uint32_t window_id)
{
    for (Vorta_Window* window : m_engine.m_windows)
        if (window && window->Is_Open() && window->Get_Os_Window().Id() == window_id)
            window->Set_Full_Screen(!window->Is_Full_Screen());
}

void Vorta_Engine::Pump_Messages()
{
    for (Vorta_Window* window : m_windows)
        if (window && window->Is_Open())
            window->Get_Touch()->Clear();
    platform::Pump_Events(m_message_handler);
    if (platform::Quit_Signal_Received())
        m_quit = true;
}

void Vorta_Engine::Main_Loop()
{
    while (!m_quit)
    {
        Pump_Messages();
        if (m_quit)
            break;
        if (m_cpu_monitor)
            m_cpu_monitor->Update();
        // One sample a pass; on the fixed-step clock, exactly one frame of the first window later.
        Step_Clock(Frame_Period());
        for (Vorta_Window* window : m_windows)
            if (window && window->Is_Open())
                window->Frame();
    }
}

float Vorta_Engine::Frame_Period() const
{
    for (const Vorta_Window* window : m_windows)
        if (window && window->Is_Open())
            return window->Get_Target_Frame_Time() > 0.0f ? window->Get_Target_Frame_Time() : 1.0f / 60.0f;
    return 1.0f / 60.0f;
}

void Vorta_Engine::Shutdown()
{
    if (m_cpu_monitor)
    {
        m_cpu_monitor->Close();
        delete m_cpu_monitor;
        m_cpu_monitor = nullptr;
    }
    platform::Show_Cursor(true);
    // Windows before the adapters: their swap chains and buffers are the device's resources, and the
    // device goes last.
    for (Vorta_Window*& window : m_windows)
    {
        delete window;
        window = nullptr;
    }
    for (D3D_Adapter& adapter : m_adapters)
        adapter.Release();
    m_adapter_count = 0;
    m_window_class.Unregister();
}
