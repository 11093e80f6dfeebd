// Time as the program reads it: a millisecond tick for intervals and the local wall-clock time.
#pragma once

#include <cstdint>
#include <filesystem>

struct LocalTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 0; // 0 = Sunday
};

// The local time of a moment given in seconds since 1970-01-01 00:00:00 UTC (no milliseconds).
LocalTime ToLocalTime(std::int64_t secondsSinceEpoch);
// The local time at which a file was last written.
LocalTime ToLocalTime(const std::filesystem::file_time_type& written);

class IClock {
public:
    virtual ~IClock() = default;
    virtual std::uint64_t GetTickCount() const = 0;
    virtual LocalTime GetLocalTime() const = 0;
};

// The real clock: a steady millisecond tick and the system's local time.
class CSystemClock : public IClock {
public:
    std::uint64_t GetTickCount() const override;
    LocalTime GetLocalTime() const override;
};
