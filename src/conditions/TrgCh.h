// A level test on one channel of a sample, used by the PC-side level trigger.
#pragma once

#include <cstdint>

class CTrgCh {
public:
    CTrgCh() = default;
    CTrgCh(std::int32_t chIndex, std::int32_t mode, double level)
        : m_chIndex(chIndex), m_mode(mode), m_level(level) {}

    // True when the sample's value meets the trigger. UP and DOWN first have to see the value on
    // the other side of the level (they arm themselves then); the arming is never undone.
    bool Test(const double* values, int count);

    std::int32_t m_chIndex = -1; // position in one sample's values
    std::int32_t m_mode = 0;
    double m_level = 0.0;
    std::int32_t m_armed = 0;
};
