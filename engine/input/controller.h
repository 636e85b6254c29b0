// Controller, the interface of a joypad or joystick, and DX_Controller, one attached device of the desktop.
#pragma once
#include "engine/input/key_state.h"
#include "platform/input_devices.h"

#include <cstdint>

class Input_System;

struct Orientation_Matrix
{
    float m[4][4];
};

// The dead zone applied to an axis value x (-1 to 1): inside the zone 0; outside, the rest of the travel is
// stretched so that the output starts at 0 at the zone's edge and reaches +-1 at full deflection. A zone of
// 0 leaves x as it is; a zone of 1 or more reads 0 everywhere.
float Apply_Dead_Zone(float x, float dead_zone);

class Controller
{
  public:
    Controller() = default;
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;
    // Deletes the rest of the chain after this controller.
    virtual ~Controller();

    virtual void Poll() = 0;
    virtual const char* Get_Name() const { return m_name; }
    virtual float Get_Axis(int /*index*/) const { return 0.0f; }
    virtual int Get_Axis_Count() const { return 0; }
    virtual bool Button_Pressed(int /*index*/) const { return false; }
    virtual uint32_t Button_Held(int /*index*/) const { return 0; }
    virtual bool Button_Released(int /*index*/) const { return false; }
    virtual int Get_Button_Count() const { return 0; }
    virtual int Get_POV() const { return 0; }
    virtual Orientation_Matrix Get_Orientation() const;
    // Copies up to 255 characters.
    virtual void Set_Name(const char* name);
    virtual void Set_Axis(int /*index*/, float /*value*/) {}
    virtual void Set_Button(int /*index*/, uint32_t /*held*/, uint32_t /*released*/) {}
    // Two operations kept free for other kinds of controller.
    virtual void Reserved_1() {}
    virtual void Reserved_2() {}
    virtual void Set_Dead_Zone(int /*index*/, float /*value*/) {}
    // False once a poll could not read the device (it was unplugged): its last state is then stale.
    virtual bool Is_Attached() const { return true; }

    Controller* Get_Next() const { return m_next; }
    void Set_Next(Controller* next) { m_next = next; }

  protected:
    char m_name[256] = {};
    Controller* m_next = nullptr; // owned
};

class DX_Controller : public Controller
{
  public:
    static constexpr int AXIS_COUNT = 8;
    static constexpr int MAX_BUTTONS = platform::Joystick_Device::MAX_BUTTONS;
    static constexpr float DEFAULT_DEAD_ZONE = 0.15f;

    explicit DX_Controller(Input_System* owner) : m_owner(owner) {}
    ~DX_Controller() override;

    // Opens joystick `device_index` and logs its set-up. False when the device cannot be opened.
    bool Set_Up(int device_index);

    void Poll() override;
    float Get_Axis(int index) const override;
    int Get_Axis_Count() const override { return AXIS_COUNT; }
    bool Button_Pressed(int index) const override;
    uint32_t Button_Held(int index) const override;
    bool Button_Released(int index) const override;
    int Get_Button_Count() const override { return m_button_count; }
    int Get_POV() const override { return m_pov; }
    void Set_Axis(int index, float value) override;
    void Set_Button(int index, uint32_t held, uint32_t released) override;
    void Set_Dead_Zone(int index, float value) override;
    bool Is_Attached() const override { return m_attached; }

    // Polls since the hat left the centre; 0 while it is centred.
    uint32_t Get_POV_Held() const { return m_pov_held; }
    float Get_Dead_Zone(int index) const;
    // One poll's worth of device state: axes through their dead zones, buttons by the key-state rule, hat.
    void Apply(const platform::Joystick_Reading& reading);
    Input_System* Get_Owner() const { return m_owner; }

  private:
    struct Axis
    {
        float value = 0.0f;
        float dead_zone = DEFAULT_DEAD_ZONE;
    };

    Input_System* m_owner;
    platform::Joystick_Device m_device;
    Axis m_axes[AXIS_COUNT];
    int m_button_count = 0;
    Key_State m_buttons[MAX_BUTTONS];
    int m_pov = -1;
    uint32_t m_pov_held = 0;
    bool m_attached = true;
};
