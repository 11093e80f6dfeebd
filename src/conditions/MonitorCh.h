// One relay monitor condition: a channel watched against X and Y that drives a relay port.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

class CMonitorCh {
public:
    // The "MONITORCH" line values: "%d,%s,%d,%s,%s,%d,%d,%d,%d".
    std::string FormatValues() const;

    // Records a trigger at `now` and answers true once the ring is full (as many times as
    // trigger times asks for, at least one) and the oldest kept time is at most the count limit
    // before `now`. Times are in the caller's unit; the count limit is compared in that unit.
    bool TestTrigger(std::int64_t now);
    void ClearTriggers() { m_triggerTimes.clear(); }

    std::int16_t m_channel = 0;
    std::string m_signalName;
    std::int32_t m_condition = 0; // index of the monitor condition table
    double m_x = 0.0;
    double m_y = 0.0;
    std::int32_t m_and = 0;
    std::int32_t m_port = 0; // 0..7, shown P1..P8
    std::int32_t m_trgTimes = 0;
    std::int32_t m_countLimit = 0; // seconds
    std::int32_t m_state = -1;

private:
    std::deque<std::int64_t> m_triggerTimes;
};
