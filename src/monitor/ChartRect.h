// A rectangle of device pixels as the chart arithmetic uses it: right and bottom are exclusive.
#pragma once

#include <algorithm>

struct ChartRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    ChartRect Inset(int dx, int dy) const { return {left + dx, top + dy, right - dx, bottom - dy}; }
    ChartRect Intersect(const ChartRect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
    bool operator==(const ChartRect&) const = default;
};
