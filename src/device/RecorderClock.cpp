// The recorder clock as text and from the PC time.
#include "device/RecorderClock.h"

#include "conditions/TextNumbers.h"

#include <chrono>

namespace {

int DayOfYear(const LocalTime& time) {
    using namespace std::chrono;
    const year_month_day date{year{time.year}, month{static_cast<unsigned>(time.month)},
                              day{static_cast<unsigned>(time.day)}};
    const year_month_day newYear{year{time.year}, January, day{1}};
    return static_cast<int>((sys_days{date} - sys_days{newYear}).count());
}

} // namespace

std::string FormatRtcDate(const LinkRtc& rtc) {
    return FormatText("%02d-%02d-%04d", rtc[RtcField::kMonth], rtc[RtcField::kDay],
                      rtc[RtcField::kYear]);
}

std::string FormatRtcTime(const LinkRtc& rtc) {
    return FormatText("%02d:%02d:%02d", rtc[RtcField::kHour], rtc[RtcField::kMinute],
                      rtc[RtcField::kSecond]);
}

LinkRtc RtcFromLocalTime(const LocalTime& time) {
    LinkRtc rtc{};
    rtc[RtcField::kSecond] = time.second;
    rtc[RtcField::kMinute] = time.minute;
    rtc[RtcField::kHour] = time.hour;
    rtc[RtcField::kDay] = time.day;
    rtc[RtcField::kMonth] = time.month;
    rtc[RtcField::kYear] = time.year;
    rtc[RtcField::kDayOfWeek] = time.dayOfWeek;
    rtc[RtcField::kDayOfYear] = DayOfYear(time);
    rtc[RtcField::kDaylight] = 0;
    return rtc;
}
