// A fixed set of threads that carry out posted jobs, so that what the jobs serve (any number of
// connections) never adds a thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CNetWorkers {
public:
    explicit CNetWorkers(int threads);
    // Carries out the jobs still waiting, then ends the threads.
    ~CNetWorkers();
    CNetWorkers(const CNetWorkers&) = delete;
    CNetWorkers& operator=(const CNetWorkers&) = delete;

    // The job runs on one of the threads, in the order of posting among those free; it is
    // destroyed there too.
    void Post(std::function<void()> job);

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs; // guarded by m_mutex
    bool m_stopping = false;                  // guarded by m_mutex
    std::vector<std::thread> m_threads;
};
