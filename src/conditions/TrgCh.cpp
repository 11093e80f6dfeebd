#include "conditions/TrgCh.h"

#include "conditions/ConditionTables.h"

#include <cmath>

bool CTrgCh::Test(const double* values, int count) {
    if (m_chIndex < 0 || m_chIndex >= count)
        return false;
    const double v = values[m_chIndex];
    switch (m_mode) {
    case ConditionTables::kTriggerAbs:
        return std::fabs(v) >= std::fabs(m_level);
    case ConditionTables::kTriggerUp:
        if (m_armed)
            return v >= m_level;
        if (v < m_level)
            m_armed = 1;
        return false;
    case ConditionTables::kTriggerDown:
        if (m_armed)
            return v <= m_level;
        if (v > m_level)
            m_armed = 1;
        return false;
    default:
        return false;
    }
}
