// The moving-average window of a calculation channel: the last m values and their sum.
#pragma once

#include <vector>

class CMovingAverage {
public:
    // Makes room for m values; m below 1 leaves the window unusable (the average is then 0).
    void Prepare(int window);
    // Adds a value and returns the average of the values now held (at most the window).
    double Add(double value);

private:
    std::vector<double> m_ring; // capacity m + 1 slots, one of which stays free
    std::size_t m_head = 0;     // oldest value
    std::size_t m_tail = 0;     // next free slot
    double m_sum = 0.0;
    int m_window = 0;
};
