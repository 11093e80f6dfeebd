#include "acquisition/MarkForwarder.h"

#include "framework/LinkLibrary.h"

#include <array>
#include <chrono>
#include <utility>

CMarkForwarder::CMarkForwarder(ILinkLibrary& link, std::mutex& deviceLock, Pause pause)
    : m_link(link), m_deviceLock(deviceLock), m_pause(std::move(pause)) {
    if (!m_pause) {
        m_pause = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    }
}

CMarkForwarder::~CMarkForwarder() {
    {
        std::lock_guard lock(m_queueLock);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CMarkForwarder::Request(int handle) {
    {
        std::lock_guard lock(m_queueLock);
        m_handles.push_back(handle);
        if (!m_thread.joinable())
            m_thread = std::thread(&CMarkForwarder::Run, this);
    }
    m_changed.notify_all();
}

bool CMarkForwarder::WaitIdle(int timeoutMs) {
    std::unique_lock lock(m_queueLock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [this] { return m_handles.empty() && !m_busy; });
}

void CMarkForwarder::Run() {
    std::unique_lock lock(m_queueLock);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_handles.empty(); });
        if (m_stop)
            return;
        const int handle = m_handles.front();
        m_handles.pop_front();
        m_busy = true;
        lock.unlock();
        Forward(handle);
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

bool CMarkForwarder::Stopping() {
    std::lock_guard lock(m_queueLock);
    return m_stop;
}

// Failures are silent: the unit only misses this mark.
void CMarkForwarder::Forward(int handle) {
    {
        std::lock_guard lock(m_deviceLock);
        if (m_link.LnkOpenAux(handle, LinkCode::kAuxAcqStream) != 1)
            return;
    }
    std::array<std::uint8_t, kBlockBytes> block;
    for (int i = 0; i < kBlockCount && !Stopping(); ++i) {
        block.fill(kFill);
        int result = 0;
        {
            std::lock_guard lock(m_deviceLock);
            result = m_link.LnkReadAux(handle, block.data(), kBlockBytes);
        }
        if (result != 1)
            break;
        m_pause(kBlockGapMs);
    }
    std::lock_guard lock(m_deviceLock);
    m_link.LnkCloseAux(handle);
}
