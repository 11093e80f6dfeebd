// A queue under one lock: jobs are few and coarse (a request or a block of samples each).
#include "device/net/NetWorkers.h"

CNetWorkers::CNetWorkers(int threads) {
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { Run(); });
}

CNetWorkers::~CNetWorkers() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void CNetWorkers::Post(std::function<void()> job) {
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void CNetWorkers::Run() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}
