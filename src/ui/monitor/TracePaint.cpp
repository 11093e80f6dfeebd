#include "ui/monitor/TracePaint.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace {

// The picture the painter draws on when its pixels may be written directly.
QImage* DirectImage(QPainter& painter) {
    auto* image = dynamic_cast<QImage*>(painter.device());
    if (image == nullptr || image->format() != QImage::Format_RGB32 ||
        !painter.transform().isIdentity())
        return nullptr;
    return image;
}

} // namespace

void CTracePaint::Paint(QPainter& painter, const std::vector<TraceLine>& lines,
                        const ChartRect& clip, const QColor& colour) {
    m_others.clear();
    QImage* image = DirectImage(painter);
    const ChartRect area =
        image != nullptr ? clip.Intersect({0, 0, image->width(), image->height()}) : clip;
    if (area.IsEmpty())
        return;
    if (image != nullptr) {
        const auto stride = static_cast<std::ptrdiff_t>(image->bytesPerLine() / sizeof(QRgb));
        QRgb* bits = reinterpret_cast<QRgb*>(image->bits());
        const QRgb rgb = colour.rgb();
        for (const TraceLine& line : lines) {
            if (line.x1 != line.x2) {
                m_others.append(QLine(line.x1, line.y1, line.x2, line.y2));
                continue;
            }
            if (line.x1 < area.left || line.x1 >= area.right)
                continue;
            const int top = std::max(std::min(line.y1, line.y2), area.top);
            const int bottom = std::min(std::max(line.y1, line.y2), area.bottom - 1);
            QRgb* pixel = bits + top * stride + line.x1;
            for (int y = top; y <= bottom; ++y, pixel += stride)
                *pixel = rgb;
        }
    } else {
        for (const TraceLine& line : lines)
            m_others.append(QLine(line.x1, line.y1, line.x2, line.y2));
    }
    if (m_others.isEmpty())
        return;
    painter.save();
    painter.setClipRect(QRect(area.left, area.top, area.Width(), area.Height()), Qt::IntersectClip);
    painter.setPen(QPen(colour, 0));
    painter.drawLines(m_others);
    painter.restore();
}
