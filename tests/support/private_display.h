// An X display of a test's own (a fresh Xvfb server), for tests that send real key presses and clicks: on the
// shared test display other tests' windows would take the keyboard focus from them.
#pragma once
#include <string>

namespace test_support
{
class Private_Display
{
  public:
    // Starts the server (width x height x 24) and waits until it takes connections.
    Private_Display(int width = 1024, int height = 768);
    ~Private_Display();
    Private_Display(const Private_Display&) = delete;
    Private_Display& operator=(const Private_Display&) = delete;

    // False when there is no Xvfb or it did not start.
    bool Ready() const { return !m_name.empty(); }
    // ":N", for DISPLAY.
    const std::string& Name() const { return m_name; }
    // Makes it this process's DISPLAY until the destructor puts the previous one back.
    void Use();

  private:
    int m_pid = -1;
    std::string m_name;
    std::string m_previous;
    bool m_had_previous = false;
    bool m_in_use = false;
};
} // namespace test_support
