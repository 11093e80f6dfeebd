// The scale arithmetic of the separate charts: auto-scale from the display ring, the offset
// toggle, zooming along the 1-2-5 sequence and moving the scale by a tenth.
#pragma once

#include "conditions/Scale.h"
#include "monitor/CpsEntry.h"

class CCpsRingBuf;

namespace SepChartScale {

// The least minimum and greatest maximum of one channel over every point of the ring; a range
// that has seen nothing (maximum below minimum) when the ring holds no point of that channel.
CpsEntry RingExtremes(const CCpsRingBuf& ring, int channel);
// The scale over `extremes`; a flat signal gets 5 either side. False for an empty range.
bool AutoScale(const CpsEntry& extremes, CScale& scale);
// Half the span up (on) or back down (off): -1..1 becomes 0..2 and back.
void Offset(CScale& scale, bool on);
// The next smaller (zoom in) or larger (zoom out) 1-2-5 half span around the same centre.
void Zoom(CScale& scale, bool in);
// Both limits up (up) or down by a tenth of the span.
void Move(CScale& scale, bool up);
// The next value of 1, 2, 5 x 10^e below (smaller) or above a positive half span; the half span
// is placed by its mantissa, the largest of 1, 2, 5 not above it.
double NextHalfSpan(double halfSpan, bool smaller);
// Whether the ring's running range left the shown scale.
bool IsOverRange(const CpsEntry& range, const CScale& shown);

} // namespace SepChartScale
