#include "monitor/DataFormat.h"

#include "conditions/TextNumbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// printf precisions beyond this add nothing a double holds and only risk huge texts.
constexpr std::int32_t kMaxDigits = 30;

std::int32_t UsableDigits(std::int32_t digits) {
    return std::clamp(digits, 0, kMaxDigits);
}

// Whole seconds toward zero; out of 32-bit range (not expected on a chart of at most five hours)
// saturates instead of being undefined.
std::int64_t WholeSeconds(double value) {
    if (!(value == value))
        return 0;
    const double limited =
        std::clamp(value, static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                   static_cast<double>(std::numeric_limits<std::int32_t>::max()));
    return static_cast<std::int64_t>(limited);
}

// "%H:%M:%S" of a time span: hours of the day part only, so whole days do not show.
std::string FormatSpan(double value) {
    const std::int64_t seconds = WholeSeconds(value);
    const std::int64_t magnitude = seconds < 0 ? -seconds : seconds;
    return FormatText("%s%02d:%02d:%02d", seconds < 0 ? "-" : "",
                      static_cast<int>(magnitude / 3600 % 24),
                      static_cast<int>(magnitude / 60 % 60), static_cast<int>(magnitude % 60));
}

std::string FormatCalendar(double value, std::time_t base, bool withDate) {
    const std::time_t when = base + static_cast<std::time_t>(WholeSeconds(value));
    const std::tm* local = std::localtime(&when);
    if (local == nullptr)
        return FormatSpan(value);
    char text[64];
    const std::size_t length =
        std::strftime(text, sizeof text, withDate ? "%y/%m/%d %X" : "%X", local);
    return std::string(text, length);
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

} // namespace

std::string Format(std::int16_t kind, std::int32_t digits, double value,
                   const std::time_t* baseTime, bool withDate,
                   std::optional<std::string_view> unit) {
    const std::int32_t d = UsableDigits(digits);
    switch (kind) {
    case CDataFormat::EXPONENTIAL:
        return FormatText(FormatText("%% %i.%iE", d + 2, d).c_str(), value);
    case CDataFormat::FRACTIONAL:
        return FormatText(FormatText("%% %i.%if", d + 2, d).c_str(), value);
    case CDataFormat::SIGNIFICANT:
        return CDataFormat::FormatSignificant(digits, value);
    case CDataFormat::RELATIVE_TIME:
        return unit ? CDataFormat::FormatDistance(value, *unit) : FormatSpan(value);
    case CDataFormat::REAL_TIME:
        if (unit)
            return CDataFormat::FormatDistance(value, *unit);
        return baseTime != nullptr ? FormatCalendar(value, *baseTime, withDate) : FormatSpan(value);
    default:
        return {};
    }
}

std::string CDataFormat::Format(double value, const std::time_t* baseTime, bool withDate,
                                std::optional<std::string_view> unit) const {
    return ::Format(m_kind, m_digits, value, baseTime, withDate, unit);
}

std::string CDataFormat::FormatSignificant(std::int32_t digits, double value) {
    if (value == 0.0)
        return "0";
    const std::string scientific = FormatText("%e", value);
    const auto e = scientific.find_first_of("eE");
    const int exponent = e == std::string::npos ? 0 : std::atoi(scientific.c_str() + e + 1);
    const std::int32_t d = UsableDigits(digits);
    const int decimals = std::clamp(d - exponent - 1, 0, std::max(d - 1, 0));
    return FormatText(FormatText("%%%i.%if", decimals + 1, decimals).c_str(), value);
}

std::string CDataFormat::FormatDistance(double value, std::string_view unit) {
    std::string key = Trimmed(unit);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (key == "mm") {
        const double metres = std::floor(value * 0.001);
        return FormatText("%1.0fm%3.2fmm", metres, value - metres * 1000.0);
    }
    if (key == "cm") {
        const double metres = std::floor(value * 0.01);
        return FormatText("%1.0fm%3.2fcm", metres, value - metres * 100.0);
    }
    if (key == "m") {
        const double kilometres = std::floor(value * 0.001);
        return FormatText("%1.0fkm%3.2fm", kilometres, value - kilometres * 1000.0);
    }
    if (key == "km") {
        const double kilometres = std::floor(value);
        return FormatText("%1.0fkm%3.2fm", kilometres, (value - kilometres) * 1000.0);
    }
    return FormatText("%3.2f", value) + std::string(unit);
}

std::string CDataFormat::Store() const {
    std::string bytes(kStoredSize, '\0');
    const auto kind = static_cast<std::uint16_t>(m_kind);
    const auto digits = static_cast<std::uint32_t>(m_digits);
    for (int i = 0; i < 2; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((kind >> (8 * i)) & 0xFF);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(2 + i)] = static_cast<char>((digits >> (8 * i)) & 0xFF);
    return bytes;
}

bool CDataFormat::Load(std::string_view bytes) {
    if (bytes.size() != kStoredSize)
        return false;
    auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
    };
    m_kind = static_cast<std::int16_t>(byte(0) | byte(1) << 8);
    m_digits = static_cast<std::int32_t>(byte(2) | byte(3) << 8 | byte(4) << 16 | byte(5) << 24);
    return true;
}

std::int32_t CDataFormat::TimeDigitsForGrid(double gridStep) {
    if (gridStep >= 1.0)
        return 0;
    if (gridStep >= 0.1)
        return 1;
    if (gridStep >= 0.01)
        return 2;
    return 3;
}
