#include "monitor/PanelLayout.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kMaxTabled = 36;
constexpr int kMaxRows = 8;

// Rows x columns of a wide view, by the number of panels 1..36.
constexpr std::array<PanelGrid, kMaxTabled + 1> kWideGrids{{
    {0, 0}, {1, 1}, {2, 1}, {3, 1}, {2, 2}, {3, 2}, {3, 2}, {4, 2}, {4, 2}, {3, 3},
    {5, 2}, {4, 3}, {4, 3}, {7, 2}, {7, 2}, {5, 3}, {8, 2}, {6, 3}, {6, 3}, {5, 4},
    {5, 4}, {7, 3}, {6, 4}, {6, 4}, {6, 4}, {5, 5}, {7, 4}, {7, 4}, {7, 4}, {8, 4},
    {8, 4}, {8, 4}, {8, 4}, {7, 5}, {7, 5}, {7, 5}, {6, 6},
}};

constexpr int kInset = 2;
constexpr int kValueLines = 4;
constexpr int kValueChars = 36;

} // namespace

PanelGrid ArrangePanels(int n, int clientWidth, int clientHeight) {
    if (n < 1)
        return {};
    if (clientWidth <= 1.3 * clientHeight || n > kMaxTabled)
        return {std::min(n, kMaxRows), (n + kMaxRows - 1) / kMaxRows};
    return kWideGrids[static_cast<std::size_t>(n)];
}

ChartRect PanelRect(int k, const PanelGrid& grid, int clientWidth, int clientHeight) {
    if (grid.rows < 1 || grid.columns < 1)
        return {};
    const int height = clientHeight / grid.rows;
    const int width = clientWidth / grid.columns;
    const int column = k / grid.rows;
    const int row = k % grid.rows;
    const int left = column * width + 1;
    const int top = row * height + 1;
    return {left, top, left + width - 1, top + height - 1};
}

PanelParts SplitPanel(const ChartRect& panel, int titleLine, int valueLine, int charWidth) {
    PanelParts parts;
    const ChartRect inner{panel.left + kInset, panel.top + kInset, panel.right - kInset - 1,
                          panel.bottom - kInset - 1};
    parts.title = {inner.left, inner.top, inner.right,
                   std::min(inner.top + titleLine, inner.bottom)};
    parts.plot = {inner.left, parts.title.bottom, inner.right, inner.bottom};
    const int valueTop = std::max(parts.plot.bottom - kValueLines * valueLine, parts.plot.top);
    parts.value = {parts.plot.left, valueTop,
                   std::min(parts.plot.left + kValueChars * charWidth, parts.plot.right),
                   parts.plot.bottom};
    return parts;
}

namespace {

PanelFonts ShareOut(int style, int base) {
    PanelFonts fonts{base, base, base};
    if (style == 3) {
        fonts.value = base * 3 / 2;
    } else if (style == 1) {
        fonts.unit = base * 3 / 2;
    } else {
        fonts.value = base * 3;
    }
    return fonts;
}

} // namespace

PanelFonts WavePanelFonts(int style, const ChartRect& panel, int screenWidth, int screenHeight) {
    const bool large = panel.Height() * 8 >= screenHeight && panel.Width() * 4 >= screenWidth;
    return ShareOut(style, large ? 12 : 10);
}

PanelFonts DigitPanelFonts(int style, const ChartRect& panel) {
    // The title line and three value lines share the height; the big value takes two of them.
    const int base = std::clamp(panel.Height() / 8, 8, 40);
    PanelFonts fonts = ShareOut(style, base);
    fonts.value = std::min(fonts.value, std::max(panel.Height() / 2, 8));
    return fonts;
}

int NextPanelStyle(int style) {
    return style >= 3 || style < 1 ? 1 : style + 1;
}

std::vector<int> LowerPaneWidths(int total, int panes) {
    constexpr int kMinPane = 10;
    std::vector<int> widths;
    if (panes <= 2) {
        widths = {total * 4 / 5, 0};
    } else {
        widths = {total / 2, total / 4, 0};
        widths.resize(static_cast<std::size_t>(panes), 0);
    }
    int used = 0;
    for (std::size_t i = 0; i + 1 < widths.size(); ++i)
        used += widths[i];
    widths.back() = total - used;
    for (int& width : widths)
        width = std::max(width, kMinPane);
    return widths;
}
