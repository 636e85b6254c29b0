// The machine's requirements for tests: the display through Xlib, programs through the shell.
#include "support/requirements.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace test_support
{
bool Require_All()
{
    const char* value = std::getenv("VORTA5_REQUIRE_ALL");
    return value && *value && std::strcmp(value, "0") != 0;
}

bool Have_Display()
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return false;
    Display* display = XOpenDisplay(name);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

bool Have_Program(const char* name)
{
    std::string command = std::string("command -v '") + name + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

::testing::TestPartResult::Type Missing_Requirement_Kind()
{
    return Require_All() ? ::testing::TestPartResult::kFatalFailure : ::testing::TestPartResult::kSkip;
}

const char* Missing_Requirement_Prefix()
{
    return Require_All()
               ? "VORTA5_REQUIRE_ALL is set (the test command), so a test that would skip fails here"
               : "";
}
} // namespace test_support
