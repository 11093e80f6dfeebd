#include "framework/Clock.h"

#include <chrono>
#include <ctime>
#include <mutex>

std::uint64_t CSystemClock::GetTickCount() const {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

LocalTime ToLocalTime(std::int64_t secondsSinceEpoch) {
    const auto seconds = static_cast<std::time_t>(secondsSinceEpoch);
    // std::localtime shares one buffer between callers.
    static std::mutex localtimeLock;
    std::tm tm{};
    {
        std::lock_guard lock(localtimeLock);
        if (const std::tm* local = std::localtime(&seconds))
            tm = *local;
    }
    LocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.dayOfWeek = tm.tm_wday;
    return t;
}

LocalTime ToLocalTime(const std::filesystem::file_time_type& written) {
    using namespace std::chrono;
    return ToLocalTime(
        duration_cast<seconds>(file_clock::to_sys(written).time_since_epoch()).count());
}

LocalTime CSystemClock::GetLocalTime() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    LocalTime t = ToLocalTime(system_clock::to_time_t(now));
    t.millisecond =
        static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return t;
}
