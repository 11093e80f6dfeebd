#include "conditions/MonitorCh.h"

#include "conditions/TextNumbers.h"

#include <algorithm>

std::string CMonitorCh::FormatValues() const {
    const std::string x = FormatText("%5.3f", m_x);
    const std::string y = FormatText("%5.3f", m_y);
    return FormatText("%d,%s,%d,%s,%s,%d,%d,%d,%d", m_channel, m_signalName.c_str(), m_condition,
                      x.c_str(), y.c_str(), m_and, m_port & 0xFF, m_trgTimes, m_countLimit);
}

bool CMonitorCh::TestTrigger(std::int64_t now) {
    const std::size_t capacity = static_cast<std::size_t>(std::max(1, m_trgTimes));
    while (m_triggerTimes.size() >= capacity)
        m_triggerTimes.pop_front();
    m_triggerTimes.push_back(now);
    return m_triggerTimes.size() == capacity && now - m_triggerTimes.front() <= m_countLimit;
}
