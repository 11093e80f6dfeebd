#include "monitor/SepChartScale.h"

#include "conditions/TextNumbers.h"
#include "monitor/CpsRingBuf.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace SepChartScale {

namespace {

constexpr double kFlatMargin = 5.0;
constexpr std::array<double, 3> kMantissas{1.0, 2.0, 5.0};

void SetDivision(CScale& scale) {
    scale.m_div = Step125((scale.m_max - scale.m_min) / 5.0);
}

} // namespace

CpsEntry RingExtremes(const CCpsRingBuf& ring, int channel) {
    CpsEntry extremes = CCpsRingBuf::kEmptyRange;
    if (channel < 0 || channel >= ring.GetChannels())
        return extremes;
    bool seen = false;
    for (int r = 0; r <= ring.NewestRel(); ++r) {
        const CpsEntry& entry = ring.GetPoint(r)[channel];
        for (double v : {entry.minimum, entry.maximum}) {
            if (!(v == v))
                continue;
            extremes.minimum = seen ? std::min(extremes.minimum, v) : v;
            extremes.maximum = seen ? std::max(extremes.maximum, v) : v;
            seen = true;
        }
    }
    return extremes;
}

bool AutoScale(const CpsEntry& extremes, CScale& scale) {
    if (!(extremes.maximum >= extremes.minimum))
        return false;
    scale.m_min = extremes.minimum;
    scale.m_max = extremes.maximum;
    if (scale.m_min == scale.m_max) {
        scale.m_min -= kFlatMargin;
        scale.m_max += kFlatMargin;
    }
    SetDivision(scale);
    return true;
}

void Offset(CScale& scale, bool on) {
    const double half = (scale.m_max - scale.m_min) / 2.0;
    const double shift = on ? half : -half;
    scale.m_min += shift;
    scale.m_max += shift;
}

double NextHalfSpan(double halfSpan, bool smaller) {
    if (!(halfSpan > 0.0) || !std::isfinite(halfSpan))
        return 1.0;
    int exponent = static_cast<int>(std::floor(std::log10(halfSpan)));
    const double mantissa = halfSpan / std::pow(10.0, exponent);
    // A mantissa that rounding put just below 1 still counts as 1.
    int position = 0;
    for (int i = 0; i < 3; ++i) {
        if (kMantissas[static_cast<std::size_t>(i)] <= mantissa * (1.0 + 1e-9))
            position = i;
    }
    position += smaller ? -1 : 1;
    if (position < 0) {
        position = 2;
        --exponent;
    } else if (position > 2) {
        position = 0;
        ++exponent;
    }
    return kMantissas[static_cast<std::size_t>(position)] * std::pow(10.0, exponent);
}

void Zoom(CScale& scale, bool in) {
    const double center = (scale.m_max + scale.m_min) / 2.0;
    const double half = NextHalfSpan((scale.m_max - scale.m_min) / 2.0, in);
    scale.m_min = center - half;
    scale.m_max = center + half;
    SetDivision(scale);
}

void Move(CScale& scale, bool up) {
    const double tenth = (scale.m_max - scale.m_min) / 10.0;
    scale.m_min += up ? tenth : -tenth;
    scale.m_max += up ? tenth : -tenth;
}

bool IsOverRange(const CpsEntry& range, const CScale& shown) {
    if (!(range.maximum >= range.minimum))
        return false;
    return range.maximum > shown.m_max || range.minimum < shown.m_min;
}

} // namespace SepChartScale
