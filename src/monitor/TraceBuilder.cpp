#include "monitor/TraceBuilder.h"

#include "monitor/CpsRingBuf.h"
#include "monitor/Grp.h"

#include <algorithm>
#include <cmath>

const std::vector<TraceLine>& CTraceBuilder::Build(const CCpsRingBuf& ring, int channel, int first,
                                                   const CGrp& transform) {
    return Build(ring, channel, first, ring.NewestRel(), transform);
}

const std::vector<TraceLine>& CTraceBuilder::Build(const CCpsRingBuf& ring, int channel, int first,
                                                   int last, const CGrp& transform) {
    m_lines.clear();
    m_open = false;
    if (channel < 0 || channel >= ring.GetChannels() || ring.NewestRel() < 0)
        return m_lines;
    first = std::max(first, 0);
    last = std::min(last, ring.NewestRel());
    const double firstTime = ring.GetFirstTime();
    const double pointTime = ring.GetPointTime();
    for (int r = first; r <= last; ++r) {
        const CpsEntry& entry = ring.GetPoint(r)[channel];
        if (!(entry.minimum == entry.minimum) || !(entry.maximum == entry.maximum))
            continue; // a point without a value leaves a gap
        const int x = transform.X(firstTime + r * pointTime);
        const int yMin = transform.Y(entry.minimum);
        const int yMax = transform.Y(entry.maximum);
        if (m_open && x == m_x) {
            m_top = std::min({m_top, yMin, yMax});
            m_bottom = std::max({m_bottom, yMin, yMax});
            m_lastMax = yMax;
            continue;
        }
        int top = std::min(yMin, yMax);
        int bottom = std::max(yMin, yMax);
        if (m_open) {
            if (std::abs(x - m_x) == 1) {
                // Next to the previous column the join is part of this column's stroke.
                top = std::min(top, m_lastMax);
                bottom = std::max(bottom, m_lastMax);
                FlushColumn();
            } else {
                const int joinFrom = m_lastMax;
                const int fromX = m_x;
                FlushColumn();
                m_lines.push_back({fromX, joinFrom, x, yMin});
            }
        }
        m_open = true;
        m_x = x;
        m_top = top;
        m_bottom = bottom;
        m_lastMax = yMax;
    }
    if (m_open)
        FlushColumn();
    return m_lines;
}

void CTraceBuilder::FlushColumn() {
    m_lines.push_back({m_x, m_top, m_x, m_bottom});
    m_open = false;
}

int CTraceBuilder::FirstPointAt(const CCpsRingBuf& ring, double time) {
    const int newest = ring.NewestRel();
    if (newest < 0)
        return -1;
    const double pointTime = ring.GetPointTime();
    if (!(pointTime > 0.0))
        return 0;
    const double position = std::ceil((time - ring.GetFirstTime()) / pointTime - 1e-9);
    if (!(position > 0.0))
        return 0;
    if (position > newest)
        return newest;
    return std::max(static_cast<int>(position) - 1, 0);
}

int CTraceBuilder::LastPointAt(const CCpsRingBuf& ring, double time) {
    const int newest = ring.NewestRel();
    const double pointTime = ring.GetPointTime();
    if (newest < 0 || !(pointTime > 0.0))
        return newest;
    const double position = std::floor((time - ring.GetFirstTime()) / pointTime + 1e-9);
    if (!(position >= 0.0))
        return std::min(newest, 0);
    if (position >= newest)
        return newest;
    return static_cast<int>(position) + 1;
}
