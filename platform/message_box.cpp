// Message box on SDL, falling back to standard error; debugger output on standard error.
#include "platform/message_box.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform
{
namespace
{
bool Set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value && std::strcmp(value, "0") != 0;
}
} // namespace

bool Headless_Run()
{
    if (Set("VORTA5_HEADLESS") || Set("CI"))
        return true;
    return !Set("DISPLAY") && !Set("WAYLAND_DISPLAY");
}

int Show_Message_Box(const char* text, const char* caption)
{
    if (Headless_Run() || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr) != 0)
    {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        std::fflush(stderr);
    }
    return 1;
}

void Debug_Output(const char* text)
{
    std::fputs(text, stderr);
    std::fflush(stderr);
}
} // namespace platform
