// Painting the envelope lines of a trace: vertical strokes straight into an off-screen picture
// (one pixel column each, far cheaper than the painter's line spans), everything else through
// the painter.
#pragma once

#include "monitor/ChartRect.h"
#include "monitor/TraceBuilder.h"

#include <QLine>
#include <QVector>

#include <vector>

class QColor;
class QPainter;

class CTracePaint {
public:
    // Draws `lines` clipped to `clip` in `colour`; the painter's own clip is left as it was.
    void Paint(QPainter& painter, const std::vector<TraceLine>& lines, const ChartRect& clip,
               const QColor& colour);

private:
    QVector<QLine> m_others;
};
