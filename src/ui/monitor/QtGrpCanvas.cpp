#include "ui/monitor/QtGrpCanvas.h"

#include <QPainter>

#include <algorithm>

namespace {

// The first value from `from` on whose (value + phase) is a multiple of `period`.
int FirstDot(int from, int period, int phase) {
    const int rest = ((from + phase) % period + period) % period;
    return rest == 0 ? from : from + period - rest;
}

} // namespace

void CQtGrpCanvas::Line(int x1, int y1, int x2, int y2, bool dotted) {
    if (!dotted || (x1 != x2 && y1 != y2)) {
        m_painter.drawLine(x1, y1, x2, y2);
        return;
    }
    m_dots.clear();
    if (y1 == y2) {
        const int last = std::min(std::max(x1, x2), m_area.right - 1);
        for (int x = FirstDot(std::max(std::min(x1, x2), m_area.left), m_period, m_phase);
             x <= last; x += m_period)
            m_dots.append(QPoint(x, y1));
    } else {
        const int last = std::min(std::max(y1, y2), m_area.bottom - 1);
        for (int y = FirstDot(std::max(std::min(y1, y2), m_area.top), m_period, 0); y <= last;
             y += m_period)
            m_dots.append(QPoint(x1, y));
    }
    m_painter.drawPoints(m_dots.constData(), static_cast<int>(m_dots.size()));
}
