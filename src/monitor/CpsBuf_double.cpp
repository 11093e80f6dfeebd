#include "monitor/CpsBuf_double.h"

#include <cstdint>
#include <new>
#include <stdexcept>

bool CCpsBuf_double::Init(int factor, int capacity, int channels) {
    Clear();
    if (factor < 1 || capacity < 0 || channels < 0)
        return false;
    const auto entries = static_cast<std::int64_t>(capacity) * channels + 1;
    try {
        m_points.assign(static_cast<std::size_t>(entries), CpsEntry{});
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    m_factor = factor;
    m_capacity = capacity;
    m_channels = channels;
    return true;
}

int CCpsBuf_double::Add(const double* row, int count) {
    if (m_filled >= m_capacity)
        return 0;
    if (count != m_channels)
        return 1;
    CpsEntry* point = Point(m_filled);
    if (m_partial == 0) {
        for (int c = 0; c < count; ++c)
            point[c] = {row[c], row[c]};
    } else {
        for (int c = 0; c < count; ++c) {
            const double x = row[c];
            CpsEntry& entry = point[c];
            // A point that began with NaN takes the first real sample after it, so one bad
            // sample does not hide the others folded into the same point.
            if (x <= entry.minimum || entry.minimum != entry.minimum)
                entry.minimum = x;
            if (entry.maximum <= x || entry.maximum != entry.maximum)
                entry.maximum = x;
        }
    }
    if (++m_partial >= m_factor) {
        m_partial = 0;
        ++m_filled;
    }
    return m_filled < m_capacity ? 1 : 0;
}

void CCpsBuf_double::Clear() {
    m_factor = 1;
    m_capacity = 0;
    m_channels = 0;
    m_points.clear();
    m_points.shrink_to_fit();
    m_filled = 0;
    m_partial = 0;
}

const CpsEntry* CCpsBuf_double::GetPoint(int point) const {
    return m_points.data() + static_cast<std::size_t>(point) * static_cast<std::size_t>(m_channels);
}

CpsEntry* CCpsBuf_double::Point(int point) {
    return m_points.data() + static_cast<std::size_t>(point) * static_cast<std::size_t>(m_channels);
}
