// Auto_Event on a mutex and a condition variable.
#include "platform/thread_event.h"

#include <chrono>

namespace platform
{
void Auto_Event::Set()
{
    {
        std::lock_guard<std::mutex> hold(m_mutex);
        m_set = true;
    }
    m_condition.notify_all();
}

bool Auto_Event::Wait_For(int milliseconds)
{
    std::unique_lock<std::mutex> hold(m_mutex);
    if (!m_condition.wait_for(hold, std::chrono::milliseconds(milliseconds), [this] { return m_set; }))
        return false;
    m_set = false;
    return true;
}
} // namespace platform
