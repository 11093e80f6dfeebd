#include "conditions/TextNumbers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace {

std::size_t SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    return i;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Rough power of ten of a well-formed decimal number, enough to tell overflow from underflow.
std::int64_t DecimalExponent(std::string_view number) {
    std::int64_t exponent = 0;
    const std::size_t e = number.find_first_of("eE");
    if (e != std::string_view::npos) {
        // Any exponent this far out is beyond a double either way; bounded, the sum cannot
        // overflow.
        exponent = std::clamp<std::int64_t>(ReadWholeNumber(number.substr(e + 1)), -100000, 100000);
    }
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t firstNonZero = mantissa.find_first_of("123456789");
    if (firstNonZero == std::string_view::npos)
        return 0;
    const auto position =
        static_cast<std::int64_t>(point) - static_cast<std::int64_t>(firstNonZero);
    return exponent + (position > 0 ? position : position + 1);
}

} // namespace

std::int64_t ReadWholeNumber(std::string_view text) {
    std::size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::uint64_t kLimit = std::numeric_limits<std::int64_t>::max();
    std::uint64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > kLimit) {
            value = kLimit;
            while (i + 1 < text.size() && IsDigit(text[i + 1]))
                ++i;
        }
    }
    const auto signedValue = static_cast<std::int64_t>(value);
    return negative ? -signedValue : signedValue;
}

double ReadReal(std::string_view text) {
    std::size_t i = SkipBlanks(text);
    if (i < text.size() && text[i] == '+')
        ++i; // from_chars takes no leading '+'
    const std::size_t first = i;
    if (i < text.size() && text[i] == '-')
        ++i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    const std::string_view number = text.substr(first, i - first);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow saturates at the largest finite value (an infinity would be written as "inf"
        // and read back as 0); underflow becomes zero.
        const double magnitude =
            DecimalExponent(number) > 0 ? std::numeric_limits<double>::max() : 0.0;
        return number.front() == '-' ? -magnitude : magnitude;
    }
    return value;
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    char small[256];
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string text;
    if (length < 0) {
        va_end(copy);
        return text;
    }
    if (static_cast<std::size_t>(length) < sizeof small) {
        text.assign(small, static_cast<std::size_t>(length));
    } else {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, copy);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(copy);
    return text;
}

double Step125(double x) {
    if (!(x > 0.0) || !std::isfinite(x))
        return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(x)));
    const double f = x / power;
    if (f <= 1.0)
        return power;
    if (f <= 2.0)
        return 2.0 * power;
    if (f <= 5.0)
        return 5.0 * power;
    return 10.0 * power;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.starts_with(prefix);
}

std::string LowerText(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && LowerText(a) == LowerText(b);
}
