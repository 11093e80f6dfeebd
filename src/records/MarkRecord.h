// One mark of a PC record: a MARK the user set, or the point where a paused record went on.
#pragma once

#include "framework/Clock.h"

#include <cstdint>
#include <string>

class CMarkRecord {
public:
    std::uint32_t m_position = 0; // rows written after the pre-trigger part when it was taken
    std::string m_time;           // local time of day
    std::string m_text;           // kept empty; the header still has its field
    std::string m_memo;
};

// The local time of day as records and the log show it: 24-hour "hh:mm:ss".
std::string FormatTimeText(const LocalTime& time);
