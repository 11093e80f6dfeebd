#include "monitor/LiveScroll.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPageMode = 1;
// Beyond this the whole picture is new anyway; the shift stays a sane int.
constexpr double kMaxShift = 1.0e6;

} // namespace

LiveStep PlanLiveStep(int scrollMode, double pixelsPerSecond, double newest, double start,
                      double end, int minStep) {
    LiveStep step;
    step.start = start;
    step.end = end;
    if (!(newest > end))
        return step;
    if (scrollMode == kPageMode || !(pixelsPerSecond > 0.0)) {
        const double advance = std::max((end - start) / 2.0, newest - end);
        step.action = LiveStep::Action::Page;
        step.start = start + advance;
        step.end = end + advance;
        return step;
    }
    const double pixels = std::min(std::ceil(pixelsPerSecond * (newest - end)), kMaxShift);
    step.action = LiveStep::Action::Scroll;
    step.shift = std::max(static_cast<int>(pixels), minStep);
    const double advance = step.shift / pixelsPerSecond;
    step.start = start + advance;
    step.end = end + advance;
    return step;
}
