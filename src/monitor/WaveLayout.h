// The geometry of the common waveform chart: the plot rectangle inside the view's margins, the
// bands the channels are clipped to, and the spacing of the time labels.
#pragma once

#include "monitor/ChartRect.h"

#include <string>

struct WaveLayoutInput {
    ChartRect client;
    int charWidth = 8;       // average character of the label font
    int labelLine = 16;      // line height of the label font
    int titleLine = 20;      // line height of the title font
    int startLabelChars = 0; // the time range start as the time axis writes it (with the date)
    int endLabelChars = 0;   // and the end (without the date)
    int divisions = 25;
    bool showNames = true;
    int longestNameChars = 0; // of the visible channels
    bool hasTitle = false;
    int scaleMode = 1;
};

ChartRect ComputePlotRect(const WaveLayoutInput& input);

// How many divisions each visible channel's band spans: the divisions shared out among the
// visible channels; auto-scaling never goes below 2 and makes an odd height even.
int BandDivisions(int visibleChannels, int divisions, bool autoScale);

// The band of a channel centred on division `y`, `height` divisions high, over a plot of
// `divisions` divisions starting at `firstDivision`, cut to the plot.
ChartRect BandRect(const ChartRect& plot, int firstDivision, int divisions, int y, int height);

// The interval of labelled time positions: the smallest whole multiple of the grid step whose
// labels, `labelPixels` wide, leave room between them at `pixelsPerSecond`.
double TimeLabelStep(double gridStep, double pixelsPerSecond, int labelPixels);
