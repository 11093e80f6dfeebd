// How a live chart follows new data: draw the new points where they fall, scroll the picture
// left, or turn a page.
#pragma once

struct LiveStep {
    enum class Action { DrawNew, Scroll, Page };
    Action action = Action::DrawNew;
    int shift = 0;      // pixels the picture moves left (Scroll)
    double start = 0.0; // the time range after the step
    double end = 0.0;
};

// `newest` is the time of the newest point, `pixelsPerSecond` the plot's; scrolling moves at
// least `minStep` pixels, a page at least half the time range (scrollMode 1).
LiveStep PlanLiveStep(int scrollMode, double pixelsPerSecond, double newest, double start,
                      double end, int minStep);
