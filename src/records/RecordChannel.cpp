#include "records/RecordChannel.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// Significant digits of the header's numbers ("%e") and of a double.
constexpr int kHeaderDigits = 7;
constexpr int kDoubleDigits = 15;
constexpr int kFloatDigits = 9;

int DecimalsOf(double number) {
    if (number == 0.0 || !std::isfinite(number))
        return 0;
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(number))));
    return std::max(0, kHeaderDigits - 1 - exponent);
}

} // namespace

SampleKind SampleKindOf(int dataType, int words) {
    if (words == 2) {
        switch (dataType) {
        case 3:
            return SampleKind::UInt32;
        case 4:
            return SampleKind::Float32;
        default:
            return SampleKind::Int32;
        }
    }
    return dataType == 1 ? SampleKind::UInt16 : SampleKind::Int16;
}

int WordsOf(SampleKind kind) {
    return kind == SampleKind::Int16 || kind == SampleKind::UInt16 ? 1 : 2;
}

int RecordChannel::ValueDecimals() const {
    if (kind == SampleKind::Float32)
        return -1;
    return std::max(DecimalsOf(slope), DecimalsOf(offset));
}

void AppendValueText(std::string& out, double value, int decimals) {
    char text[400];
    if (decimals < 0 || !std::isfinite(value)) {
        const auto end = std::to_chars(text, text + sizeof(text), value, std::chars_format::general,
                                       kFloatDigits);
        out.append(text, end.ptr);
        return;
    }
    const double magnitude = std::fabs(value);
    const int whole = magnitude < 1.0 ? 0 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    const int shown = std::clamp(std::min(decimals, kDoubleDigits - whole), 0, 17);
    char* end =
        std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed, shown).ptr;
    if (shown > 0) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    const std::string_view digits(text, static_cast<std::size_t>(end - text));
    out += digits == "-0" ? std::string_view("0") : digits;
}

std::string ValueText(double value, int decimals) {
    std::string text;
    AppendValueText(text, value, decimals);
    return text;
}
