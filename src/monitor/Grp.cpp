#include "monitor/Grp.h"

#include "conditions/TextNumbers.h"
#include "monitor/GrpCanvas.h"

#include <cmath>

namespace {

double Scale(int pixels, double low, double high) {
    const double span = high - low;
    if (!(span != 0.0) || !std::isfinite(span))
        return 1.0;
    return std::fabs(pixels / span);
}

} // namespace

void CGrp::SetDeviceRect(const ChartRect& rect) {
    m_rect = rect;
    m_xScale = Scale(rect.Width(), m_xMin, m_xMax);
    m_yScale = Scale(rect.Height(), m_yMin, m_yMax);
}

void CGrp::SetWorld(const ChartRect& rect, double xMin, double yMin, double xMax, double yMax,
                    bool flipY, bool flipX) {
    m_xMin = xMin;
    m_yMin = yMin;
    m_xMax = xMax;
    m_yMax = yMax;
    m_flipY = flipY;
    m_flipX = flipX;
    SetDeviceRect(rect);
}

double CGrp::WorldX(int pixelX) const {
    const double offset = (pixelX - m_rect.left) / m_xScale;
    return m_flipX ? m_xMax - offset : m_xMin + offset;
}

double CGrp::WorldY(int pixelY) const {
    const double offset = (pixelY - m_rect.top) / m_yScale;
    return m_flipY ? m_yMin + offset : m_yMax - offset;
}

void CGrp::MoveTo(double x, double y) {
    m_lastX = x;
    m_lastY = y;
}

void CGrp::LineTo(IGrpCanvas& canvas, double x, double y) {
    Line(canvas, m_lastX, m_lastY, x, y, false);
    MoveTo(x, y);
}

void CGrp::Line(IGrpCanvas& canvas, double x1, double y1, double x2, double y2, bool dotted) const {
    canvas.Line(X(x1), Y(y1), X(x2), Y(y2), dotted);
}

std::vector<double> CGrp::GridPositions(double min, double max, double step) {
    std::vector<double> positions;
    if (!std::isfinite(min) || !std::isfinite(max) || max < min)
        return positions;
    if (!(step > 0.0) || (max - min) / step > kMaxGridLines)
        step = Step125((max - min) / 10.0);
    const double tolerance = step * 1e-9;
    double multiple = std::trunc(min / step + 1e-10);
    if (multiple * step < min - tolerance)
        multiple += 1.0;
    for (int i = 0; i <= kMaxGridLines; ++i, multiple += 1.0) {
        const double v = multiple * step;
        if (v > max + tolerance)
            break;
        positions.push_back(v);
    }
    return positions;
}

void CGrp::DrawXGrid(IGrpCanvas& canvas, double step, bool dotted) const {
    const int top = m_rect.top;
    const int bottom = m_rect.bottom - 1;
    for (double x : GridPositions(std::min(m_xMin, m_xMax), std::max(m_xMin, m_xMax), step)) {
        const int px = X(x);
        canvas.Line(px, top, px, bottom, dotted);
    }
}

void CGrp::DrawYGrid(IGrpCanvas& canvas, double step, bool dotted) const {
    const int left = m_rect.left;
    const int right = m_rect.right - 1;
    for (double y : GridPositions(std::min(m_yMin, m_yMax), std::max(m_yMin, m_yMax), step)) {
        const int py = Y(y);
        canvas.Line(left, py, right, py, dotted);
    }
}
