#include "setup/CalPanelLayout.h"

#include <algorithm>
#include <array>
#include <cmath>

std::pair<int, int> CCalPanelLayout::Shape(int count) {
    const int channels = std::max(count, 1);
    return channels <= 6 ? std::pair{1, channels} : std::pair{2, (channels + 1) / 2};
}

CalPanelRects CCalPanelLayout::Panel(int index, int count) {
    const int columns = Shape(count).second;
    const int x = (index % columns) * kPanelWidth;
    const int y = (index / columns) * kPanelHeight;
    const int left = x + kInset;
    const int inner = kPanelWidth - 2 * kInset;
    const int buttonTop = y + kPanelHeight - kButtonBand + 2;
    const int buttonWidth = (inner - 4) / 2;
    // A rectangle from its corner and size.
    const auto at = [](int l, int t, int width, int height) {
        return CalRect{l, t, l + width, t + height};
    };
    CalPanelRects rects;
    rects.panel = at(x, y, kPanelWidth, kPanelHeight);
    rects.title = at(left, y + kInset, inner, 18);
    rects.name = at(left, y + kInset + 18, inner, 18);
    rects.labels = at(left, y + 48, 62, 222);
    rects.scale = at(left + 67, y + 48, 44, 222);
    rects.mean = at(left, y + 274, inner, 22);
    rects.reset = at(left, buttonTop, buttonWidth, 24);
    rects.stop = at(left + inner - buttonWidth, buttonTop, buttonWidth, 24);
    return rects;
}

CalRect CCalPanelLayout::Area(int count) {
    const auto [rows, columns] = Shape(count);
    return {0, 0, columns * kPanelWidth, rows * kPanelHeight};
}

std::optional<int> CCalPanelLayout::PanelAt(int x, int y, int count) {
    for (int i = 0; i < count; ++i) {
        if (Panel(i, count).panel.Contains(x, y))
            return i;
    }
    return std::nullopt;
}

double CCalPanelLayout::StepRange(double range, bool down) {
    const double size = std::fabs(range);
    if (size == 0.0 || !std::isfinite(size))
        return range;
    int exponent = static_cast<int>(std::floor(std::log10(size)));
    const auto power = [](int e) { return e >= 0 ? std::pow(10.0, e) : 1.0 / std::pow(10.0, -e); };
    double mantissa = size / power(exponent);
    // log10 may land one decade off near a power of ten.
    if (mantissa >= 10.0) {
        mantissa /= 10.0;
        ++exponent;
    } else if (mantissa < 1.0) {
        mantissa *= 10.0;
        --exponent;
    }
    static constexpr std::array<double, 3> kSteps{1.0, 2.0, 5.0};
    int place = mantissa >= 5.0 ? 2 : mantissa >= 2.0 ? 1 : 0;
    place += down ? -1 : 1;
    if (place < 0) {
        place = 2;
        --exponent;
    } else if (place > 2) {
        place = 0;
        ++exponent;
    }
    const double step = exponent >= 0 ? kSteps[static_cast<std::size_t>(place)] * power(exponent)
                                      : kSteps[static_cast<std::size_t>(place)] / power(-exponent);
    return std::copysign(step, range);
}

int CCalPanelLayout::ValueY(const CalRect& scale, double value, double range) {
    const int top = scale.top;
    const int bottom = scale.bottom - 1;
    if (range == 0.0 || !std::isfinite(value))
        return (top + bottom) / 2;
    const double share = std::clamp(value / std::fabs(range), -1.0, 1.0);
    return static_cast<int>(std::lround((top + bottom) / 2.0 - share * (bottom - top) / 2.0));
}
