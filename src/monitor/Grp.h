// The world-to-device transform of one plot area (time or values across, values up) and the
// grids drawn with it.
#pragma once

#include "monitor/ChartRect.h"

#include <algorithm>
#include <vector>

class IGrpCanvas;

class CGrp {
public:
    // At most this many grid lines are drawn; a finer step falls back to the 1-2-5 step of a
    // tenth of the range, so a bad setting cannot stall the drawing.
    static constexpr int kMaxGridLines = 2000;

    void SetDeviceRect(const ChartRect& rect);
    void SetWorld(const ChartRect& rect, double xMin, double yMin, double xMax, double yMax,
                  bool flipY = false, bool flipX = false);

    // Inline: the traces map every point through these.
    int X(double x) const {
        // Negated world values run the axis the other way; the left edge is then -xMax.
        const double offset = m_flipX ? (m_xMax - x) : (x - m_xMin);
        return ToPixel(offset * m_xScale) + m_rect.left;
    }
    int Y(double y) const {
        // Larger values are higher: the top edge is yMax, or -yMin when the axis is flipped.
        const double offset = m_flipY ? (y - m_yMin) : (m_yMax - y);
        return ToPixel(offset * m_yScale) + m_rect.top;
    }
    double WorldX(int pixelX) const;
    double WorldY(int pixelY) const;

    const ChartRect& GetDeviceRect() const { return m_rect; }
    double GetXMin() const { return m_xMin; }
    double GetXMax() const { return m_xMax; }
    double GetYMin() const { return m_yMin; }
    double GetYMax() const { return m_yMax; }
    // Pixels per world unit; never negative.
    double GetXScale() const { return m_xScale; }
    double GetYScale() const { return m_yScale; }

    void MoveTo(double x, double y);
    void LineTo(IGrpCanvas& canvas, double x, double y);
    void Line(IGrpCanvas& canvas, double x1, double y1, double x2, double y2, bool dotted) const;
    // Vertical lines at the multiples of `step` across the x range, horizontal ones at the
    // multiples of `step` up the y range; a step that is not positive takes the 1-2-5 step of a
    // tenth of the range.
    void DrawXGrid(IGrpCanvas& canvas, double step, bool dotted = true) const;
    void DrawYGrid(IGrpCanvas& canvas, double step, bool dotted = true) const;

    // The multiples of `step` from `min` to `max`, found as trunc(v / step + 1e-10) x step so
    // that a value a rounding error below a multiple still counts as that multiple.
    static std::vector<double> GridPositions(double min, double max, double step);

private:
    // Truncated toward zero; values far off the plot clamp to a coordinate the painter can still
    // clip, and NaN maps to the edge.
    static int ToPixel(double offset) {
        if (!(offset == offset))
            return 0;
        return static_cast<int>(std::clamp(offset, -kFarPixel, kFarPixel));
    }
    static constexpr double kFarPixel = 1.0e7;

    ChartRect m_rect;
    double m_xMin = 0.0;
    double m_yMin = 0.0;
    double m_xMax = 1.0;
    double m_yMax = 1.0;
    double m_xScale = 1.0;
    double m_yScale = 1.0;
    bool m_flipY = false;
    bool m_flipX = false;
    double m_lastX = 0.0;
    double m_lastY = 0.0;
};
