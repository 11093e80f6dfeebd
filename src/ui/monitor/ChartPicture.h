// What the chart widgets share about their off-screen pictures: rectangles and colours of the
// chart arithmetic in Qt's terms, the screen the fonts size by, and scrolling a plot's pixels.
#pragma once

#include "monitor/ChartColour.h"
#include "monitor/ChartRect.h"

#include <QColor>
#include <QRect>
#include <QSize>

class QImage;

namespace ChartPicture {

inline QRect ToQRect(const ChartRect& r) {
    return {r.left, r.top, r.Width(), r.Height()};
}

inline QColor ToQColor(std::uint32_t colour) {
    return {ChartColour::Red(colour), ChartColour::Green(colour), ChartColour::Blue(colour)};
}

// The primary screen's size (1920 x 1080 without one).
QSize ScreenSize();

// Moves the pixels of `area` of an RGB32 picture `shift` pixels left; the strip at the right
// keeps what it held until it is drawn again.
void ScrollLeft(QImage& picture, const ChartRect& area, int shift);

} // namespace ChartPicture
