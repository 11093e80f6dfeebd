// A message target for tests: keeps posted messages in order until the test drains them.
#pragma once

#include "framework/MessageTarget.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

class CMessageQueue : public IMessageTarget {
public:
    struct Message {
        int id;
        std::intptr_t wparam;
        std::intptr_t lparam;
        bool operator==(const Message&) const = default;
    };

    void Post(int id, std::intptr_t wparam, std::intptr_t lparam) override {
        {
            std::lock_guard lock(m_lock);
            m_messages.push_back({id, wparam, lparam});
        }
        m_posted.notify_all();
    }

    // Waits until at least `count` messages wait; false after timeoutMs.
    bool WaitFor(std::size_t count, int timeoutMs) {
        std::unique_lock lock(m_lock);
        return m_posted.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return m_messages.size() >= count; });
    }

    std::vector<Message> Drain() {
        std::lock_guard lock(m_lock);
        std::vector<Message> messages;
        messages.swap(m_messages);
        return messages;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_posted;
    std::vector<Message> m_messages; // guarded by m_lock
};
