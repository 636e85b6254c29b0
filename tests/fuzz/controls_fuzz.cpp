// Fuzz target: the controls file over arbitrary bytes. Whatever the file holds, the keys read are real scan
// codes, and everything read comes back unchanged from a save and a second load.
#include "engine/core/vorta_log.h"
#include "game/menus/controls.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace
{
std::string g_folder;
std::string g_input;
std::string g_saved;

void Remove_Files()
{
    std::remove(g_input.c_str());
    std::remove(g_saved.c_str());
    std::remove((g_folder + "/controls.txt").c_str());
    rmdir(g_folder.c_str());
}

void Reset(Controls& controls)
{
    const int32_t defaults[BIND_COUNT] = {30, 32, 17, 31, 28, 54, 0, -1, 0, 1};
    std::memcpy(controls.bindings, defaults, sizeof defaults);
    controls.touch_visible = true;
    controls.pad_index = 0;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_vorta_log.Set_Flags(LOG_OFF);
    char folder[] = "/tmp/vorta5-fuzz-controls-XXXXXX";
    if (!mkdtemp(folder))
        std::abort();
    g_folder = folder;
    g_input = g_folder + "/input.txt";
    g_saved = g_folder + "/saved.txt";
    // The record saves "controls.txt" where it is destroyed: keep that in the scratch folder too.
    if (chdir(folder) != 0)
        std::abort();
    std::atexit(Remove_Files);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Controls read, again;
    std::FILE* file = std::fopen(g_input.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    Reset(read);
    int32_t pad_index = 0;
    if (!Read_Controls(read, g_input.c_str(), pad_index))
        return 0;
    for (int slot = BIND_LEFT; slot <= BIND_USE; ++slot)
        if (read.bindings[slot] <= 0 || read.bindings[slot] > 255)
            std::abort();
    read.pad_index = pad_index;

    if (!Save_Controls(read, g_saved.c_str()))
        std::abort();
    Reset(again);
    again.touch_visible = !read.touch_visible;
    int32_t index_again = pad_index == 0 ? 1 : 0;
    if (!Read_Controls(again, g_saved.c_str(), index_again))
        std::abort();
    if (std::memcmp(again.bindings, read.bindings, sizeof read.bindings) != 0 || index_again != pad_index ||
        again.touch_visible != read.touch_visible)
        std::abort();
    return 0;
}
