// The text of one number or time as chart axes, digit lists and cursor read-outs show it:
// exponential, fixed-point or significant digits, elapsed or wall-clock time, and distances.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

class CDataFormat {
public:
    static constexpr std::int16_t EXPONENTIAL = 0;
    static constexpr std::int16_t FRACTIONAL = 1;
    static constexpr std::int16_t SIGNIFICANT = 2;
    static constexpr std::int16_t RELATIVE_TIME = 3;
    static constexpr std::int16_t REAL_TIME = 4;
    // Size of the stored form: the kind as 16 bits, then the digits as 32 bits, little-endian.
    static constexpr std::size_t kStoredSize = 6;

    CDataFormat() = default;
    CDataFormat(std::int16_t kind, std::int32_t digits) : m_kind(kind), m_digits(digits) {}

    std::int16_t GetKind() const { return m_kind; }
    std::int32_t GetDigits() const { return m_digits; }
    void SetKind(std::int16_t kind) { m_kind = kind; }
    void SetDigits(std::int32_t digits) { m_digits = digits; }

    // `baseTime` is the wall-clock time that REAL_TIME adds the value's seconds to; without one it
    // writes as RELATIVE_TIME. With a unit the time kinds write the value as a distance.
    std::string Format(double value, const std::time_t* baseTime = nullptr, bool withDate = false,
                       std::optional<std::string_view> unit = std::nullopt) const;

    static std::string FormatDistance(double value, std::string_view unit);
    static std::string FormatSignificant(std::int32_t digits, double value);

    std::string Store() const;
    // False, with the format unchanged, when `bytes` is not exactly a stored form.
    bool Load(std::string_view bytes);

    // Digits of the time axis for a grid step in seconds: 0 from 1 s up, then 1, 2, 3.
    static std::int32_t TimeDigitsForGrid(double gridStep);

private:
    std::int16_t m_kind = FRACTIONAL;
    std::int32_t m_digits = 0;
};

// The same operation with kind and digits given.
std::string Format(std::int16_t kind, std::int32_t digits, double value,
                   const std::time_t* baseTime = nullptr, bool withDate = false,
                   std::optional<std::string_view> unit = std::nullopt);
