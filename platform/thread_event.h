// Auto_Event: a signal that one thread sets and another waits on; a successful wait clears it again.
#pragma once
#include <condition_variable>
#include <mutex>

namespace platform
{
class Auto_Event
{
  public:
    void Set();
    // Waits until the event is set or the time has passed. True when it was set (it is then clear again).
    bool Wait_For(int milliseconds);

  private:
    std::mutex m_mutex;
    std::condition_variable m_condition;
    bool m_set = false;
};
} // namespace platform
