// An auto-reset event: Set wakes one waiter (or the next one to wait) and resets itself.
#pragma once

#include <condition_variable>
#include <mutex>

class CEvent {
public:
    void Set();
    void Reset();
    // Waits at most timeoutMs (negative waits for ever); true when the event was set.
    bool Wait(int timeoutMs = -1);

private:
    std::mutex m_mutex;
    std::condition_variable m_signal;
    bool m_set = false; // guarded by m_mutex
};
