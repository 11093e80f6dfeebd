// Turns the compressed points of one channel into the lines of its min/max envelope in device
// pixels. Points that fall on the same pixel column merge into one vertical stroke, so the work
// of drawing is bounded by the plot's width, not by the number of samples.
#pragma once

#include <vector>

class CCpsRingBuf;
class CGrp;

struct TraceLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
};

class CTraceBuilder {
public:
    // The envelope of ring column `channel` from relative position `first` to the newest point,
    // mapped through `transform` (time across, values up). Consecutive points join from the
    // previous maximum to the next minimum; each point is a stroke from its minimum to its
    // maximum. The lines replace the previous ones; the storage is kept for the next channel.
    const std::vector<TraceLine>& Build(const CCpsRingBuf& ring, int channel, int first,
                                        const CGrp& transform);
    // The same for positions `first` .. `last` only.
    const std::vector<TraceLine>& Build(const CCpsRingBuf& ring, int channel, int first, int last,
                                        const CGrp& transform);

    // The first relative position whose time is at or after `time`, one before it (for the line
    // that joins it), and never below 0. -1 when the ring is empty.
    static int FirstPointAt(const CCpsRingBuf& ring, double time);
    // The last relative position whose time is at or before `time`, one after it, and never past
    // the newest point.
    static int LastPointAt(const CCpsRingBuf& ring, double time);

private:
    void FlushColumn();

    std::vector<TraceLine> m_lines;
    bool m_open = false; // a column is being merged
    int m_x = 0;
    int m_top = 0;     // highest pixel (smallest y) of the column
    int m_bottom = 0;  // lowest pixel of the column
    int m_lastMax = 0; // pixel of the column's last maximum, where the next join starts
};
