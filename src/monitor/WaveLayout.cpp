#include "monitor/WaveLayout.h"

#include "conditions/TextNumbers.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMinPlotChars = 5;
constexpr int kMinPlotLines = 5;
constexpr int kNameLeftChars = 2;
constexpr int kScaleChars = 5;
constexpr int kRightScaleChars = 10;

} // namespace

ChartRect ComputePlotRect(const WaveLayoutInput& in) {
    const int halfTime = std::max(in.startLabelChars, in.endLabelChars) / 2;
    const int divisionChars = static_cast<int>(FormatText("%d", in.divisions).size()) + 1;
    int leftChars = std::max(halfTime, divisionChars);
    if (in.showNames)
        leftChars = std::max(leftChars, in.longestNameChars + kNameLeftChars);
    leftChars += kScaleChars;
    int rightChars = halfTime;
    if (in.showNames && in.scaleMode != 0)
        rightChars = std::max(rightChars, kRightScaleChars);
    rightChars += 2;

    ChartRect plot;
    plot.left = in.client.left + leftChars * in.charWidth;
    plot.right = in.client.right - rightChars * in.charWidth;
    plot.top = in.client.top + (in.hasTitle ? 2 : 1) * in.titleLine;
    plot.bottom = in.client.bottom - 2 * in.labelLine;
    plot.right = std::max(plot.right, plot.left + kMinPlotChars * in.charWidth);
    plot.bottom = std::max(plot.bottom, plot.top + kMinPlotLines * in.labelLine);
    return plot;
}

int BandDivisions(int visibleChannels, int divisions, bool autoScale) {
    if (visibleChannels < 1)
        return std::max(divisions, 1);
    int h = divisions / visibleChannels;
    if (!autoScale)
        return std::max(h, 1);
    if (h < 4)
        return 2;
    return h % 2 != 0 ? h - 1 : h;
}

ChartRect BandRect(const ChartRect& plot, int firstDivision, int divisions, int y, int height) {
    if (divisions < 1)
        return {};
    const double perDivision = static_cast<double>(plot.Height()) / divisions;
    const double low = y - height / 2.0 - firstDivision;
    auto rowOf = [&](double division) {
        return plot.bottom - static_cast<int>(std::lround(division * perDivision));
    };
    const ChartRect band{plot.left, rowOf(low + height), plot.right, rowOf(low)};
    return band.Intersect(plot);
}

double TimeLabelStep(double gridStep, double pixelsPerSecond, int labelPixels) {
    if (!(gridStep > 0.0) || !(pixelsPerSecond > 0.0))
        return gridStep;
    const double wanted = 1.5 * labelPixels / pixelsPerSecond;
    if (gridStep >= wanted)
        return gridStep;
    // Multiples of the grid step that read well: 2, 5, 10, 20, 50 ...; the 1-2-5 step rounds
    // up, and above 1 it is a whole number.
    return std::round(Step125(wanted / gridStep)) * gridStep;
}
