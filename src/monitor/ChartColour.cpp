#include "monitor/ChartColour.h"

#include <array>

namespace ChartColour {

std::uint32_t TraceColour(int index) {
    static constexpr std::array<std::uint32_t, 16> kPalette{
        Rgb(0, 0, 255),   Rgb(220, 0, 0),   Rgb(0, 140, 0),   Rgb(200, 0, 200),
        Rgb(0, 150, 160), Rgb(200, 120, 0), Rgb(90, 60, 200), Rgb(120, 80, 40),
        Rgb(0, 90, 140),  Rgb(170, 0, 80),  Rgb(80, 130, 0),  Rgb(230, 60, 140),
        Rgb(40, 40, 40),  Rgb(0, 170, 110), Rgb(150, 30, 30), Rgb(100, 100, 180)};
    const auto slot = static_cast<std::size_t>(index < 0 ? -index : index) % kPalette.size();
    return kPalette[slot];
}

} // namespace ChartColour
