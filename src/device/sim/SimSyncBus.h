// The sample clock that a MASTER recorder shares with the SLAVE recorders of the same link.
#pragma once

#include <cstdint>
#include <mutex>

// What a slave needs to follow the master: when its sampling started and at what rate.
struct SimClockState {
    std::uint64_t generation = 0; // counts master starts; 0 = never started
    bool running = false;
    std::uint64_t startTick = 0; // ms of the link's clock
    std::uint64_t stopTick = 0;  // valid once running is false again
    double rateHz = 0.0;
};

class CSimSyncBus {
public:
    void Start(std::uint64_t tick, double rateHz);
    void Stop(std::uint64_t tick);
    SimClockState GetState() const;

private:
    mutable std::mutex m_mutex;
    SimClockState m_state; // guarded by m_mutex
};
