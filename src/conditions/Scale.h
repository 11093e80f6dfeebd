// A chart scale: minimum, maximum and the division between grid lines.
#pragma once

#include <cstdint>

class CScale {
public:
    double m_min = -1.0;
    double m_max = 1.0;
    double m_div = 1.0;
    std::int32_t m_option = 0;

    bool operator==(const CScale&) const = default;
};
