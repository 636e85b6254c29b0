// Display settings: the resolution list, the start-up choice and "config.txt" written back at exit.
#include "game/app/display_settings.h"

#include "engine/core/config_list.h"
#include "engine/core/file_replace.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/render/d3d_adapter.h"

#include <cstdio>
#include <new>

void Display_Settings::Clear()
{
    while (list)
    {
        Resolution_Entry* next = list->next;
        delete list;
        list = next;
    }
    selected = nullptr;
}

int Build_Resolution_List(Display_Settings& settings, const platform::Gpu_Display_Mode* modes, uint32_t count)
{
    settings.Clear();
    Resolution_Entry** tail = &settings.list;
    int entries = 0;
    int last_width = -1;
    for (uint32_t i = 0; modes && i < count; ++i)
    {
        const int width = static_cast<int>(modes[i].width);
        if (width == last_width)
            continue;
        Resolution_Entry* entry = new (std::nothrow) Resolution_Entry();
        if (!entry)
            break;
        entry->mode_index = static_cast<int>(i);
        entry->width = width;
        entry->height = static_cast<int>(modes[i].height);
        *tail = entry;
        tail = &entry->next;
        last_width = width;
        ++entries;
    }
    return entries;
}

int Build_Resolution_List(Display_Settings& settings)
{
    Vorta_Engine* engine = g_vorta_engine;
    const int adapters = engine ? engine->Get_Adapter_Count() : 0;
    if (settings.device < 0 || settings.device >= adapters)
    {
        if (adapters > 0)
            Print_Message("There is no device %d; using device 0\r\n", settings.device);
        settings.device = 0;
    }
    const D3D_Adapter* adapter = engine && adapters > 0 ? engine->Get_Adapter(settings.device) : nullptr;
    const int outputs = adapter ? adapter->output_count : 0;
    if (settings.display < 0 || settings.display >= outputs)
    {
        if (outputs > 0)
            Print_Message("There is no display %d; using display 0\r\n", settings.display);
        settings.display = 0;
    }
    const D3D_Output* output = adapter && outputs > 0 ? adapter->Get_Output(settings.display) : nullptr;
    if (!output)
    {
        settings.Clear();
        return 0;
    }
    return Build_Resolution_List(settings, output->modes, output->mode_count);
}

const Resolution_Entry* Last_Resolution(const Display_Settings& settings)
{
    const Resolution_Entry* entry = settings.list;
    while (entry && entry->next)
        entry = entry->next;
    return entry;
}

Resolution_Entry* Find_Resolution(const Display_Settings& settings, int width, int height)
{
    for (Resolution_Entry* entry = settings.list; entry; entry = entry->next)
        if (entry->width == width && entry->height == height)
            return entry;
    return nullptr;
}

void Choose_Resolution(Display_Settings& settings, const Config_List& config)
{
    const Config_Entry* automatic = Find_Config(config, "auto_select_resolution");
    if (automatic && automatic->value.flag)
    {
        static constexpr int k_sizes[][2] = {{1920, 1080}, {1680, 1050}, {1600, 900}, {1360, 768},
                                             {1280, 720},  {1024, 576},  {720, 480}};
        settings.full_screen = true;
        settings.selected = nullptr;
        for (const auto& size : k_sizes)
            if ((settings.selected = Find_Resolution(settings, size[0], size[1])))
                return;
        Report_Error(true, "Unable to find a suitable wide screen resolution!!!");
        return;
    }

    const char* const keys[3] = {"screen_width", "screen_height", "full_screen"};
    const Config_Entry* entries[3];
    for (int i = 0; i < 3; ++i)
    {
        entries[i] = Find_Config(config, keys[i]);
        if (!entries[i])
        {
            Report_Error(true, "Unable to find config parameter \"%s\"\r\n", keys[i]);
            return;
        }
    }
    const int width = entries[0]->value.integer;
    const int height = entries[1]->value.integer;
    settings.full_screen = entries[2]->value.flag;
    settings.selected = Find_Resolution(settings, width, height);
    if (!settings.selected)
        Report_Error(true, "Unable to find a resolution %d x %d\r\n!!!", width, height);
}

bool Save_Config(const Display_Settings& settings, const char* file_name)
{
    if (!settings.selected)
        return false;
    char text[512];
    const int length =
        std::snprintf(text, sizeof text,
                      "device        %d\r\n"
                      "display       %d\r\n"
                      "screen_width  %d\r\n"
                      "screen_height %d\r\n"
                      "full_screen   %s\r\n"
                      "vsync         %s\r\n",
                      settings.device, settings.display, settings.selected->width, settings.selected->height,
                      settings.full_screen ? "true" : "false", settings.vsync ? "true" : "false");
    return length > 0 && Replace_File(file_name, text, static_cast<size_t>(length));
}
