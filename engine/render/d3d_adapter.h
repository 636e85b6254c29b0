// D3D_Adapter: one video adapter with its outputs and display modes, written to the log when enumerated;
// the device holder lives with the adapter it was created on.
#pragma once
#include "platform/gpu_adapter.h"

#include <cstdint>

class D3D_Device;

struct D3D_Output
{
    platform::Gpu_Output_Desc desc;
    uint32_t mode_count = 0;
    platform::Gpu_Display_Mode* modes = nullptr; // owned, mode_count entries
};

struct D3D_Adapter
{
    static constexpr int MAX_OUTPUTS = 6;

    D3D_Adapter() = default;
    D3D_Adapter(const D3D_Adapter&) = delete;
    D3D_Adapter& operator=(const D3D_Adapter&) = delete;
    ~D3D_Adapter() { Release(); }

    // Describes adapter `number` and its outputs into this record, logging them. False when there is no
    // such adapter or it has no output.
    bool Enum(int number);
    // Frees the mode tables and the device created on this adapter.
    void Release();
    const D3D_Output* Get_Output(int number) const;
    // The desktop rectangle of an output; false when it has none.
    bool Get_Desktop(int number, platform::Rect& out) const;

    int index = 0;
    int memory = 0; // MB
    char name[128] = {};
    int output_count = 0;
    D3D_Output outputs[MAX_OUTPUTS];
    D3D_Device* device = nullptr; // owned; made by Vorta_Engine::Create_Device

  private:
    bool Describe_Output(int number, D3D_Output& out);
};
