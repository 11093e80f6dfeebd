// The recorder clock's nine values as text, and the PC's local time in that form.
#pragma once

#include "framework/Clock.h"
#include "framework/LinkLibrary.h"

#include <string>

// Positions of the nine values of the recorder clock.
namespace RtcField {
inline constexpr int kSecond = 0;
inline constexpr int kMinute = 1;
inline constexpr int kHour = 2;
inline constexpr int kDay = 3;
inline constexpr int kMonth = 4; // 1..12
inline constexpr int kYear = 5;  // full year
inline constexpr int kDayOfWeek = 6;
inline constexpr int kDayOfYear = 7; // 0 = 1 January
inline constexpr int kDaylight = 8;
} // namespace RtcField

// "%02d-%02d-%04d": month, day, year.
std::string FormatRtcDate(const LinkRtc& rtc);
// "%02d:%02d:%02d": hours, minutes, seconds.
std::string FormatRtcTime(const LinkRtc& rtc);
LinkRtc RtcFromLocalTime(const LocalTime& time);
