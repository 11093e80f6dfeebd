// Forwards marks to the optional unit on the recorder's side channel, one exchange per mark, on
// a thread of its own so that the UI never waits for it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class ILinkLibrary;

class CMarkForwarder {
public:
    static constexpr int kBlockCount = 77;
    static constexpr int kBlockBytes = 250;
    static constexpr std::uint8_t kFill = '@';
    static constexpr int kBlockGapMs = 5;
    using Pause = std::function<void(int ms)>;

    // `deviceLock` is the recorder's lock, taken around each library call; `pause` waits
    // between blocks (a sleep unless a test replaces it).
    CMarkForwarder(ILinkLibrary& link, std::mutex& deviceLock, Pause pause = {});
    // Ends after the block being sent; marks still waiting are dropped.
    ~CMarkForwarder();
    CMarkForwarder(const CMarkForwarder&) = delete;
    CMarkForwarder& operator=(const CMarkForwarder&) = delete;

    // Queues one exchange with the recorder of `handle`; returns at once.
    void Request(int handle);
    // Waits until every queued exchange is done; false after timeoutMs.
    bool WaitIdle(int timeoutMs);

private:
    void Run();
    void Forward(int handle);
    bool Stopping();

    ILinkLibrary& m_link;
    std::mutex& m_deviceLock;
    Pause m_pause;
    std::mutex m_queueLock;
    std::condition_variable m_changed;
    std::deque<int> m_handles; // guarded by m_queueLock
    bool m_busy = false;       // guarded by m_queueLock
    bool m_stop = false;       // guarded by m_queueLock
    std::thread m_thread;
};
