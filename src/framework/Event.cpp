#include "framework/Event.h"

#include <chrono>

void CEvent::Set() {
    {
        std::lock_guard lock(m_mutex);
        m_set = true;
    }
    m_signal.notify_one();
}

void CEvent::Reset() {
    std::lock_guard lock(m_mutex);
    m_set = false;
}

bool CEvent::Wait(int timeoutMs) {
    std::unique_lock lock(m_mutex);
    if (timeoutMs < 0)
        m_signal.wait(lock, [this] { return m_set; });
    else if (!m_signal.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [this] { return m_set; }))
        return false;
    m_set = false;
    return true;
}
