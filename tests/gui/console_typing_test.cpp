// Typing into the console on a recording host: characters come out in the order the keys went down,
// however many go down in one frame (console_window_test.cpp types through a real window's keyboard).
#include "engine/gui/console.h"
#include "engine/gui/gdt_edit.h"
#include "engine/gui/intuition.h"
#include "fake_host.h"

#include <gtest/gtest.h>

namespace
{
// Scan codes of the letters used.
constexpr int KEY_H = 35, KEY_E = 18, KEY_L = 38, KEY_P = 25;

TEST(ConsoleTypingTest, KeysDownInOneFrameTypeInTheOrderTheyWentDown)
{
    struct Case
    {
        const char* what;
        std::initializer_list<int> keys; // in the order they went down
        bool shift;
        const char* text;
    } cases[] = {
        {"help, typed fast", {KEY_H, KEY_E, KEY_L, KEY_P}, false, "help"},
        {"the same keys the other way round", {KEY_P, KEY_L, KEY_E, KEY_H}, false, "pleh"},
        {"with shift held", {KEY_H, KEY_E, KEY_L, KEY_P}, true, "HELP"},
    };
    for (const Case& c : cases)
    {
        Fake_Host host;
        Intuition gui(&host);
        Console* console = new Console(&gui); // owned by the manager
        host.Hold({console->Get_Toggle_Key()});
        gui.Update();
        host.Hold({});
        gui.Update();
        ASSERT_FALSE(console->Is_Hidden());
        host.shift = c.shift;
        host.Hold(c.keys); // all four go down within one frame
        gui.Update();
        host.Hold({});
        gui.Update();
        EXPECT_STREQ(console->Get_CLI()->Get_Text(), c.text) << c.what;
    }
}

} // namespace
