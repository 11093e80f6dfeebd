// The geometry of the display buffers of one acquisition, fixed at its start: about one
// compressed point per screen pixel of chart width.
#pragma once

class CCpsRingBuf;

struct DisplaySizing {
    int factor = 1;         // rows folded into one compressed point
    int bufferCapacity = 0; // points of the compressed buffer: about ten seconds
    int ringCapacity = 0;   // points of the display ring: about two chart widths
    double pointTime = 0.0; // seconds covered by one point
};

// `rate` in Hz, `chartSeconds` the chart width (at least 1), `screenWidth` in pixels, `subSamp` the
// long interval setting of the recorder (1 or 2 stretch a 0.1 Hz point by 3 or 6).
DisplaySizing SizeDisplay(double rate, int chartSeconds, int screenWidth, int subSamp);

// Where the time axis of a new ring starts: the time of the previous ring's newest point when
// the acquisition is resumed and that ring holds a point, else 0.
double NextRingFirstTime(const CCpsRingBuf* previous, bool resumed);
