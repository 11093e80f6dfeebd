#include "framework/Clock.h"

#include <chrono>
#include <ctime>
#include <mutex>

std::uint64_t CSystemClock::GetTickCount() const {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

LocalTime CSystemClock::GetLocalTime() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;

    // std::localtime shares one buffer between callers.
    static std::mutex localtimeLock;
    std::tm tm{};
    {
        std::lock_guard lock(localtimeLock);
        tm = *std::localtime(&seconds);
    }
    LocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.millisecond = static_cast<int>(millis);
    t.dayOfWeek = tm.tm_wday;
    return t;
}
