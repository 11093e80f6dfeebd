// The arrangement of the separate charts: rows and columns of panels by the number of visible
// channels and the shape of the view, and the parts of one panel.
#pragma once

#include "monitor/ChartRect.h"

#include <vector>

struct PanelGrid {
    int rows = 0;
    int columns = 0;
};

PanelGrid ArrangePanels(int visibleChannels, int clientWidth, int clientHeight);

// The k-th visible channel's panel: panels fill column by column.
ChartRect PanelRect(int k, const PanelGrid& grid, int clientWidth, int clientHeight);

struct PanelParts {
    ChartRect title; // the title line at the top of the panel
    ChartRect plot;  // the waveform below it
    ChartRect value; // the value box over the plot's lower left corner
};

// `titleLine` and `valueLine` are the heights of the title and value box lines, `charWidth`
// the width of one digit of the value box.
PanelParts SplitPanel(const ChartRect& panel, int titleLine, int valueLine, int charWidth);

// Font sizes in pixels of one panel: names, values and units.
struct PanelFonts {
    int name = 10;
    int value = 10;
    int unit = 10;
};

// Wave panels size by the screen: 12 when the panel is at least an eighth of the screen high
// and a quarter wide, else 10; the style shares it out between value and unit font. Digit panels
// size by the panel's own height.
PanelFonts WavePanelFonts(int style, const ChartRect& panel, int screenWidth, int screenHeight);
PanelFonts DigitPanelFonts(int style, const ChartRect& panel);

// The panel styles cycle 1, 2, 3, 1 ...: bit 0 shows maximum and minimum, bit 1 the current value.
int NextPanelStyle(int style);

// The widths of the lower panes of the monitor window: the digit list 4/5 and the log 1/5 of
// `total`; with a third pane the list and the log share 3/4 (1/2 and 1/4) and the third pane
// takes the rest. No pane is narrower than 10 pixels.
std::vector<int> LowerPaneWidths(int total, int panes);
// The chart row's height: two thirds of the window.
inline int ChartRowHeight(int total) {
    return total * 2 / 3;
}
