// A clock for tests: the tick and the local time are whatever the test sets.
#pragma once

#include "framework/Clock.h"

#include <atomic>

class CManualClock : public IClock {
public:
    std::uint64_t GetTickCount() const override { return m_tick.load(); }
    LocalTime GetLocalTime() const override { return m_localTime; }

    void Advance(std::uint64_t ms) { m_tick += ms; }

    std::atomic<std::uint64_t> m_tick{0};
    LocalTime m_localTime{2026, 12, 6, 10, 20, 30, 0, 0};
};
