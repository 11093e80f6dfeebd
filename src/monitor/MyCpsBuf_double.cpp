#include "monitor/MyCpsBuf_double.h"

#include "monitor/CpsRingBuf.h"

#include <algorithm>

bool CMyCpsBuf_double::TransferTo(CCpsRingBuf& ring, int& lastOld, int& dropped) {
    if (m_filled < 1 || !ring.IsValid())
        return false;
    lastOld = ring.NewestRel();
    dropped = 0;
    for (int p = 0; p < m_filled; ++p) {
        if (ring.NewestRel() == ring.GetCapacity() - 1)
            ++dropped;
        ring.Append(Point(p), m_channels);
    }
    lastOld = std::max(lastOld - dropped, 0);
    if (m_partial > 0 && m_filled < m_capacity)
        std::copy_n(Point(m_filled), m_channels, Point(0));
    m_filled = 0;
    return true;
}

bool CMyCpsBuf_double::MoveCompletedTo(CMyCpsBuf_double& staging) {
    if (m_filled < 1 || staging.m_filled != 0 || staging.m_partial != 0 ||
        staging.m_capacity != m_capacity || staging.m_channels != m_channels ||
        staging.m_factor != m_factor)
        return false;
    m_points.swap(staging.m_points);
    staging.m_filled = m_filled;
    if (m_partial > 0 && m_filled < m_capacity)
        std::copy_n(staging.Point(m_filled), m_channels, Point(0));
    m_filled = 0;
    return true;
}
