#include "records/MaxMinTable.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

// The first value after the start values sets both extremes, so a channel whose values lie
// beyond -32768..32767 (counts of 32-bit channels, large physical units) is not clipped to the
// start values. NaN never enters the extremes.
void Fold(double x, double& minimum, double& maximum, double& last) {
    last = x;
    if (x != x)
        return;
    if (maximum < minimum) {
        minimum = x;
        maximum = x;
        return;
    }
    if (x <= minimum)
        minimum = x;
    if (x >= maximum)
        maximum = x;
}

} // namespace

bool CMaxMinTable::Create(int channels) {
    m_entries.clear();
    try {
        m_entries.assign(static_cast<std::size_t>(std::max(channels, 0)), MaxMinEntry{});
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

bool CMaxMinTable::Update(const double* values, const double* raw, int count) {
    if (m_entries.empty() || count != GetCount())
        return false;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        MaxMinEntry& e = m_entries[i];
        Fold(values[i], e.minimum, e.maximum, e.last);
        Fold(raw[i], e.rawMinimum, e.rawMaximum, e.rawLast);
    }
    return true;
}

void CMaxMinTable::ResetPhysical() {
    for (MaxMinEntry& e : m_entries) {
        e.minimum = MaxMinEntry::kStartMinimum;
        e.maximum = MaxMinEntry::kStartMaximum;
    }
}

bool CMaxMinTable::CopyFrom(const CMaxMinTable& source) {
    if (m_entries.empty() || source.m_entries.size() != m_entries.size())
        return false;
    std::copy(source.m_entries.begin(), source.m_entries.end(), m_entries.begin());
    return true;
}
