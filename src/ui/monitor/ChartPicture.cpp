#include "ui/monitor/ChartPicture.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <cstring>

namespace ChartPicture {

QSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->size() : QSize(1920, 1080);
}

void ScrollLeft(QImage& picture, const ChartRect& area, int shift) {
    const ChartRect inside = area.Intersect({0, 0, picture.width(), picture.height()});
    const int keep = inside.Width() - shift;
    if (keep <= 0 || shift <= 0 || picture.format() != QImage::Format_RGB32)
        return;
    const auto bytes = static_cast<std::size_t>(keep) * sizeof(QRgb);
    for (int y = inside.top; y < inside.bottom; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        std::memmove(row + inside.left, row + inside.left + shift, bytes);
    }
}

} // namespace ChartPicture
