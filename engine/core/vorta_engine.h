// Vorta_Engine: the one engine object of the process; start-up, windows, the main loop and shutdown.
#pragma once
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_timer.h"
#include "engine/pack/data_pack.h"
#include "engine/render/d3d_adapter.h"
#include "platform/os_window.h"

#include <cstdint>

class CPU_Monitor;
class D3D_Device;
class Vorta_Window;

class Vorta_Engine
{
  public:
    static constexpr int MAX_WINDOWS = 6;
    static constexpr int MAX_ADAPTERS = 4;

    Vorta_Engine();
    Vorta_Engine(const Vorta_Engine&) = delete;
    Vorta_Engine& operator=(const Vorta_Engine&) = delete;
    ~Vorta_Engine();

    // Start-up: system report, adapters, CPU monitor, window class, data pack, settings. False when a
    // step fails (it has logged why).
    bool Init(const char* command_line, const char* settings_file);
    // The device on an adapter; null when the index is 4 or more or there is no such device.
    D3D_Adapter* Create_Device(int adapter);
    // Opens a window in the first free slot. Null when all six are taken or opening fails (the window
    // then stays in its slot).
    Vorta_Window* Create_Window(int adapter, int display, int width, int height, bool full_screen, int fps,
                                bool vsync, bool spare, const char* title);
    D3D_Adapter* Get_Adapter(int index);
    int Get_Adapter_Count() const { return m_adapter_count; }
    // The device made by Create_Device (on the first adapter that has one); null before.
    D3D_Device* Get_Device();
    Vorta_Window* Get_Window(int slot) const;

    bool Get_MSAA() const { return m_msaa; }
    const char* Get_Texture_Path() const { return m_texture_path; }
    int Get_CPU_Load() const;
    const char* Get_Command_Line() const { return m_command_line; }
    const char* Get_Start_Directory() const { return m_start_directory; }

    // The data pack: the unpacked size of a member (0 when absent or when there is no pack), and the member
    // extracted into a new[] buffer that the caller owns (returns its size; 0 and no buffer when absent).
    uint32_t Pack_File_Size(const char* name);
    uint32_t Pack_Extract(const char* name, uint8_t** out);

    void Request_Quit() { m_quit = true; }
    bool Quit_Requested() const { return m_quit; }

    void Main_Loop();
    void Pump_Messages();
    void Shutdown();

    const float* Get_Mouse_Position() const { return m_mouse; }
    const platform::Window_Class& Get_Window_Class() const { return m_window_class; }

  private:
    // The target frame time of the first open window (1/60 s without one, or with an unlimited one): the
    // step of the fixed-step clock.
    float Frame_Period() const;

    class Message_Handler final : public platform::Event_Sink
    {
      public:
        explicit Message_Handler(Vorta_Engine& engine) : m_engine(engine) {}
        void On_Quit() override;
        void On_Close(uint32_t window_id) override;
        void On_Mouse_Move(uint32_t window_id, int x, int y) override;
        void On_Touch(uint32_t window_id, const platform::Touch_Point* points, int count) override;
        void On_Toggle_Full_Screen(uint32_t window_id) override;

      private:
        Vorta_Engine& m_engine;
    };

    bool m_msaa = true;
    bool m_fixed_clock = false; // this engine turned the fixed-step clock on
    platform::Window_Class m_window_class;
    CPU_Monitor* m_cpu_monitor = nullptr;
    Vorta_Window* m_windows[MAX_WINDOWS] = {};
    bool m_quit = false;
    int m_adapter_count = 0;
    D3D_Adapter m_adapters[MAX_ADAPTERS];
    float m_mouse[3] = {};
    char m_texture_path[260];
    char m_start_directory[256] = {};
    char* m_command_line = nullptr;
    Vorta_Timer m_timer;
    Data_Pack m_pack{Print_Message};
    Message_Handler m_message_handler{*this};
};

// The process-wide engine: set by the constructor, cleared by the destructor.
extern Vorta_Engine* g_vorta_engine;
