// Where a chart transform draws its lines; the widgets give it a painter, the tests a recorder.
#pragma once

class IGrpCanvas {
public:
    virtual ~IGrpCanvas() = default;
    // A line between two device pixels, both ends drawn; dotted lines light one pixel in every
    // dot period (two on the screen, eight on paper).
    virtual void Line(int x1, int y1, int x2, int y2, bool dotted) = 0;
};
