// The geometry of the calibration dialog's panels: how many rows and columns a channel count
// takes, where each part of a panel sits, the 1-2-5 steps of a panel's range and where a value
// falls on its bar scale. Pixels, with the panels' top-left corner at (0, 0).
#pragma once

#include "monitor/ChartRect.h"

#include <optional>
#include <utility>

// Right and bottom are exclusive, as in the charts.
using CalRect = ChartRect;

// The parts of one panel.
struct CalPanelRects {
    CalRect panel;  // the whole cell
    CalRect title;  // "Ch%d-%d"
    CalRect name;   // the signal name
    CalRect labels; // the range texts left of the scale
    CalRect scale;  // the bar scale from -range (bottom) to +range (top)
    CalRect mean;   // the mean
    CalRect reset;  // the "Reset" button
    CalRect stop;   // the "Stop" / "Start" button
};

class CCalPanelLayout {
public:
    static constexpr int kPanelWidth = 150;
    static constexpr int kPanelHeight = 330;
    static constexpr int kInset = 5;
    static constexpr int kButtonBand = 30; // the bottom of a panel, for its two buttons

    // Rows and columns of the panels: one row up to six channels, else two.
    static std::pair<int, int> Shape(int count);
    static CalPanelRects Panel(int index, int count);
    // The rectangle all panels take.
    static CalRect Area(int count);
    // The panel under a point, or none.
    static std::optional<int> PanelAt(int x, int y, int count);

    // |range| written as m x 10^e (1 <= m < 10): the largest of 1, 2, 5 not above m, moved one
    // place down (or up) the sequence ... 0.5, 1, 2, 5, 10 ...; the sign is kept. A range of 0
    // stays 0.
    static double StepRange(double range, bool down);
    // The row of `value` on a scale from -range to +range; values beyond it stay at its edge.
    static int ValueY(const CalRect& scale, double value, double range);
};
