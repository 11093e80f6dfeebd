#include "monitor/CpsRingBuf.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

// Widens a range by one value; NaN never enters, and an empty range takes the value as it is,
// so values beyond the start values are not clipped to them.
void Widen(CpsEntry& range, double x) {
    if (x != x)
        return;
    if (range.maximum < range.minimum) {
        range = {x, x};
        return;
    }
    if (x < range.minimum)
        range.minimum = x;
    if (x > range.maximum)
        range.maximum = x;
}

} // namespace

bool CCpsRingBuf::Create(int capacity, int channels, double firstTime, double pointTime) {
    m_points.clear();
    m_points.shrink_to_fit();
    m_valid = false;
    m_capacity = 0;
    m_channels = 0;
    m_oldest = -1;
    m_newest = -1;
    m_firstTime = firstTime;
    m_pointTime = pointTime;
    std::lock_guard lock(m_rangeLock);
    m_range.clear();
    if (capacity < 1 || channels < 0)
        return false;
    try {
        m_points.assign(static_cast<std::size_t>(capacity) * static_cast<std::size_t>(channels) + 1,
                        CpsEntry{});
        m_range.assign(static_cast<std::size_t>(channels), kEmptyRange);
    } catch (const std::bad_alloc&) {
        m_points.clear();
        m_range.clear();
        return false;
    } catch (const std::length_error&) {
        m_points.clear();
        m_range.clear();
        return false;
    }
    m_capacity = capacity;
    m_channels = channels;
    m_valid = true;
    return true;
}

void CCpsRingBuf::Append(const CpsEntry* point, int count) {
    if (!m_valid)
        return;
    const int n = std::clamp(count, 0, m_channels);
    m_newest = (m_newest + 1) % m_capacity;
    std::copy_n(point, n, m_points.data() + static_cast<std::size_t>(m_newest) * m_channels);
    if (m_newest == m_oldest) {
        m_oldest = (m_oldest + 1) % m_capacity;
        m_firstTime += m_pointTime;
    }
    if (m_oldest == -1)
        m_oldest = 0;
    std::lock_guard lock(m_rangeLock);
    for (int c = 0; c < n; ++c) {
        Widen(m_range[static_cast<std::size_t>(c)], point[c].minimum);
        Widen(m_range[static_cast<std::size_t>(c)], point[c].maximum);
    }
}

int CCpsRingBuf::NewestRel() const {
    if (m_newest == -1)
        return -1;
    return (m_capacity - m_oldest + m_newest) % m_capacity;
}

const CpsEntry* CCpsRingBuf::GetPoint(int rel) const {
    return m_points.data() + static_cast<std::size_t>(StorageIndex(rel)) * m_channels;
}

CpsEntry CCpsRingBuf::GetRange(int channel) const {
    std::lock_guard lock(m_rangeLock);
    if (channel < 0 || channel >= static_cast<int>(m_range.size()))
        return kEmptyRange;
    return m_range[static_cast<std::size_t>(channel)];
}

void CCpsRingBuf::ResetRanges() {
    std::lock_guard lock(m_rangeLock);
    std::fill(m_range.begin(), m_range.end(), kEmptyRange);
}
