// The shared sample clock of synchronised simulated recorders.
#include "device/sim/SimSyncBus.h"

void CSimSyncBus::Start(std::uint64_t tick, double rateHz) {
    const std::lock_guard lock(m_mutex);
    ++m_state.generation;
    m_state.running = true;
    m_state.startTick = tick;
    m_state.stopTick = 0;
    m_state.rateHz = rateHz;
}

void CSimSyncBus::Stop(std::uint64_t tick) {
    const std::lock_guard lock(m_mutex);
    if (m_state.running) {
        m_state.running = false;
        m_state.stopTick = tick;
    }
}

SimClockState CSimSyncBus::GetState() const {
    const std::lock_guard lock(m_mutex);
    return m_state;
}
