// Every test executable runs headless, however it is started (through ctest or by hand): no message box
// ever waits for a person.
#include <cstdlib>

namespace
{
const bool g_headless = [] {
    setenv("VORTA5_HEADLESS", "1", 0);
    return true;
}();
} // namespace
