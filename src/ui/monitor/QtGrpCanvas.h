// A painter as the canvas of a chart transform. Dotted lines light one pixel in every `period`,
// counted from fixed device positions shifted by `phase`, so a strip drawn after the picture
// scrolled continues the dots of the lines beside it.
#pragma once

#include "monitor/ChartRect.h"
#include "monitor/GrpCanvas.h"

#include <QPoint>
#include <QVector>

class QPainter;

class CQtGrpCanvas : public IGrpCanvas {
public:
    // Dotted lines are only dotted within `area` (the painter clips the rest anyway).
    CQtGrpCanvas(QPainter& painter, const ChartRect& area, int period = 2, int phase = 0)
        : m_painter(painter), m_area(area), m_period(period), m_phase(phase) {}

    void Line(int x1, int y1, int x2, int y2, bool dotted) override;

private:
    QPainter& m_painter;
    ChartRect m_area;
    int m_period;
    int m_phase;
    QVector<QPoint> m_dots;
};
