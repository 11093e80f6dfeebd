// Number reading and printf-style formatting shared by every text format of the program.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Leading blanks skipped, an optional sign, then decimal digits up to the first other character;
// no digits gives 0. The value saturates at the 64-bit limits; callers narrow it to their field,
// so "4294967295" written with %lu reads back as the same 32 bits.
std::int64_t ReadWholeNumber(std::string_view text);

inline std::int32_t ReadInt32(std::string_view text) {
    return static_cast<std::int32_t>(ReadWholeNumber(text));
}
inline std::uint32_t ReadUInt32(std::string_view text) {
    return static_cast<std::uint32_t>(ReadWholeNumber(text));
}
inline std::int16_t ReadInt16(std::string_view text) {
    return static_cast<std::int16_t>(ReadWholeNumber(text));
}
inline std::uint16_t ReadUInt16(std::string_view text) {
    return static_cast<std::uint16_t>(ReadWholeNumber(text));
}

// The longest leading decimal number (leading blanks, optional sign, digits, point, exponent);
// none gives 0.0. Infinity and NaN texts are not numbers here, and a number beyond the range of
// a double reads as the largest one, so every value read is finite.
double ReadReal(std::string_view text);

// snprintf into a std::string, for the program's fixed printf formats.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The 1-2-5 step of a positive value: 1, 2, 5 or 10 times the power of ten at or below it.
// Spans that are not positive (an empty chart scale) give 1.0 so grids never collapse.
double Step125(double x);

bool StartsWith(std::string_view text, std::string_view prefix);

// The text with its letters in lower case, and a comparison without regard to case, for names of
// files (single-byte text, as everywhere).
std::string LowerText(std::string_view text);
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
