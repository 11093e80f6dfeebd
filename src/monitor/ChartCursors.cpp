#include "monitor/ChartCursors.h"

#include <algorithm>
#include <cstdlib>

void CChartCursors::SetCursorRange(int left, int right) {
    const int oldLeft = m_left;
    const int oldWidth = m_right - m_left;
    m_left = left;
    m_right = std::max(right, left);
    const int width = m_right - m_left;
    for (int i = 0; i < kCount; ++i) {
        auto& x = m_cursors[static_cast<std::size_t>(i)];
        if (m_cursorPlaced[static_cast<std::size_t>(i)] && oldWidth > 0)
            x = m_left + static_cast<int>(static_cast<long long>(x - oldLeft) * width / oldWidth);
        else
            x = m_left + width * (i + 1) / 3;
        x = std::clamp(x, m_left, m_right);
    }
}

void CChartCursors::SetMarkerRange(int range) {
    const int old = m_markerRange;
    m_markerRange = std::max(range, 0);
    for (int i = 0; i < kCount; ++i) {
        auto& y = m_markers[static_cast<std::size_t>(i)];
        y = old > 0 ? static_cast<int>(static_cast<long long>(y) * m_markerRange / old)
                    : m_markerRange * (i + 1) / 3;
    }
}

void CChartCursors::ShowCursors(bool show) {
    m_showCursors = show;
}

void CChartCursors::ShowMarkers(bool show) {
    m_showMarkers = show;
}

void CChartCursors::Reset() {
    m_showCursors = false;
    m_showMarkers = false;
    m_cursorPlaced = {};
    SetCursorRange(m_left, m_right);
    for (int i = 0; i < kCount; ++i)
        m_markers[static_cast<std::size_t>(i)] = m_markerRange * (i + 1) / 3;
}

void CChartCursors::SetCursorPosition(int cursor, int x) {
    if (cursor < 0 || cursor >= kCount)
        return;
    m_cursors[static_cast<std::size_t>(cursor)] = std::clamp(x, m_left, m_right);
    m_cursorPlaced[static_cast<std::size_t>(cursor)] = true;
}

void CChartCursors::SetMarkerPosition(int marker, int value) {
    if (marker < 0 || marker >= kCount)
        return;
    m_markers[static_cast<std::size_t>(marker)] = std::clamp(value, 0, m_markerRange);
}

bool CChartCursors::OnArrow(bool right, bool shift, bool ctrl) {
    const int which = shift ? 1 : 0;
    const int sign = right ? 1 : -1;
    if (m_showCursors) {
        const int before = GetCursor(which);
        SetCursorPosition(which, before + sign * (ctrl ? 10 : 1));
        return GetCursor(which) != before;
    }
    if (m_showMarkers) {
        const int before = GetMarker(which);
        const int step = ctrl ? std::max(m_markerRange / 10, 1) : 1;
        SetMarkerPosition(which, before + sign * step);
        return GetMarker(which) != before;
    }
    return false;
}

CChartCursors::Grab CChartCursors::HitTest(int x, int markerY) const {
    for (int i = 0; m_showCursors && i < kCount; ++i) {
        if (std::abs(x - GetCursor(i)) <= kGrabPixels)
            return {Grab::Kind::Cursor, i};
    }
    for (int i = 0; m_showMarkers && i < kCount; ++i) {
        if (std::abs(markerY - GetMarker(i)) <= kGrabPixels)
            return {Grab::Kind::Marker, i};
    }
    return {};
}

std::optional<int> NextChannelByDivision(const std::vector<std::int16_t>& ys,
                                         const std::vector<bool>& visible, int selected,
                                         bool forward, int firstDivision, int lastDivision) {
    const int count = static_cast<int>(std::min(ys.size(), visible.size()));
    if (selected < 0 || selected >= count)
        return LowestVisibleChannel(ys, visible);
    const int from = ys[static_cast<std::size_t>(selected)];
    std::optional<int> best;
    for (int i = 0; i < count; ++i) {
        const int y = ys[static_cast<std::size_t>(i)];
        if (!visible[static_cast<std::size_t>(i)] || y < firstDivision || y > lastDivision)
            continue;
        const bool beyond = forward ? y > from : y < from;
        if (!beyond)
            continue;
        const int bestY = best ? ys[static_cast<std::size_t>(*best)] : 0;
        if (!best || (forward ? y < bestY : y > bestY))
            best = i;
    }
    return best;
}

std::optional<int> LowestVisibleChannel(const std::vector<std::int16_t>& ys,
                                        const std::vector<bool>& visible) {
    std::optional<int> best;
    const std::size_t count = std::min(ys.size(), visible.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (visible[i] && (!best || ys[i] < ys[static_cast<std::size_t>(*best)]))
            best = static_cast<int>(i);
    }
    return best;
}
