// Colours as the conditions store them: 0x00BBGGRR, red in the low byte.
#pragma once

#include <cstdint>

namespace ChartColour {

constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r & 0xFF) | static_cast<std::uint32_t>(g & 0xFF) << 8 |
           static_cast<std::uint32_t>(b & 0xFF) << 16;
}
constexpr int Red(std::uint32_t colour) {
    return static_cast<int>(colour & 0xFF);
}
constexpr int Green(std::uint32_t colour) {
    return static_cast<int>(colour >> 8 & 0xFF);
}
constexpr int Blue(std::uint32_t colour) {
    return static_cast<int>(colour >> 16 & 0xFF);
}

inline constexpr std::uint32_t kBlue = Rgb(0, 0, 255);
inline constexpr std::uint32_t kWhite = Rgb(255, 255, 255);
inline constexpr std::uint32_t kBlack = Rgb(0, 0, 0);
inline constexpr std::uint32_t kSilver = Rgb(192, 192, 192);
inline constexpr std::uint32_t kCyan = Rgb(0, 255, 255);
inline constexpr std::uint32_t kRed = Rgb(255, 0, 0);
inline constexpr std::uint32_t kGreen = Rgb(0, 255, 0);
inline constexpr std::uint32_t kYellow = Rgb(255, 255, 0);
inline constexpr std::uint32_t kDarkGrey = Rgb(64, 64, 64);

// A trace colour for channels whose condition holds none yet (0): distinct, dark enough for a
// white plot, repeating every sixteen channels.
std::uint32_t TraceColour(int index);

} // namespace ChartColour
