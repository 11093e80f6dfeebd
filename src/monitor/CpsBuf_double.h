// The compressed display buffer: each group of `factor` consecutive rows becomes one point that
// keeps only the minimum and the maximum of every channel.
#pragma once

#include "monitor/CpsEntry.h"

#include <vector>

class CCpsBuf_double {
public:
    CCpsBuf_double() = default;
    virtual ~CCpsBuf_double() = default;
    CCpsBuf_double(const CCpsBuf_double&) = delete;
    CCpsBuf_double& operator=(const CCpsBuf_double&) = delete;

    // Sizes the buffer once, before the rows arrive. False (and no storage) when the storage
    // cannot be had or a size is out of range (factor below 1, negative counts).
    bool Init(int factor, int capacity, int channels);
    // Folds one row of `count` values into the point under construction. 0 when the buffer is
    // full (the row is dropped) or this row completed the last point; 1 otherwise, also for a
    // row of the wrong width, which is ignored.
    int Add(const double* row, int count);
    void Clear();

    int GetFactor() const { return m_factor; }
    int GetCapacity() const { return m_capacity; }
    int GetChannels() const { return m_channels; }
    int GetFilled() const { return m_filled; }
    int GetPartial() const { return m_partial; }
    const CpsEntry* GetPoint(int point) const;

protected:
    CpsEntry* Point(int point);

    int m_factor = 1;
    int m_capacity = 0;
    int m_channels = 0;
    // capacity x channels entries plus one spare; entry (p, c) at p x channels + c
    std::vector<CpsEntry> m_points;
    int m_filled = 0;  // completed points, and the index of the point under construction
    int m_partial = 0; // rows already folded into the point under construction
};
