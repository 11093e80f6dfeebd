#include "framework/Prompt.h"

#include <cstdio>

std::string FormatProgressPercent(int pos, int low, int high) {
    if (high == low)
        return {};
    long long percent =
        (static_cast<long long>(pos) - low) * 100 / (static_cast<long long>(high) - low);
    if (percent != 100)
        percent %= 100;
    char text[32];
    std::snprintf(text, sizeof text, "%lld%c", percent, '%');
    return text;
}
