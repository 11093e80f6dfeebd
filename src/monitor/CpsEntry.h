// One channel of one compressed display point: the smallest and largest sample folded into it.
#pragma once

struct CpsEntry {
    double minimum = 0.0;
    double maximum = 0.0;
};

static_assert(sizeof(CpsEntry) == 16, "the display copies points as arrays of 16-byte entries");
