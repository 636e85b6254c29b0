// Display settings: the selectable resolutions from the display modes, the start-up choice from
// "config.txt", and the six lines written back at exit.
#pragma once
#include <cstdint>

class Config_List;
namespace platform
{
struct Gpu_Display_Mode;
}

struct Resolution_Entry
{
    int mode_index = 0;
    int width = 0;
    int height = 0;
    Resolution_Entry* next = nullptr;
};

struct Display_Settings
{
    Display_Settings() = default;
    Display_Settings(const Display_Settings&) = delete;
    Display_Settings& operator=(const Display_Settings&) = delete;
    ~Display_Settings() { Clear(); }
    // Frees the list; nothing is selected afterwards.
    void Clear();

    Resolution_Entry* list = nullptr;     // owned chain
    Resolution_Entry* selected = nullptr; // into the chain; null until chosen
    bool full_screen = false;
    bool vsync = false;
    int device = 0;
    int display = 0;
};

// The list from a mode list in the adapter's order: the first mode of each run of equal widths.
// Returns the number of entries.
int Build_Resolution_List(Display_Settings& settings, const platform::Gpu_Display_Mode* modes,
                          uint32_t count);
// The list from the modes of the settings' output on its adapter (an index beyond what exists becomes 0,
// with a log line).
int Build_Resolution_List(Display_Settings& settings);
// The last entry of the list, or null.
const Resolution_Entry* Last_Resolution(const Display_Settings& settings);
// The first entry of exactly that size, or null.
Resolution_Entry* Find_Resolution(const Display_Settings& settings, int width, int height);
// Selects the start-up entry and sets the full-screen flag from the settings list; every failure is the
// fatal error box.
void Choose_Resolution(Display_Settings& settings, const Config_List& config);
// Writes the six lines of "config.txt" (through a temporary file renamed over the old one); false when it
// could not be written.
bool Save_Config(const Display_Settings& settings, const char* file_name);
