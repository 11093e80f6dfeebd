// One channel of a record as its header describes it: where its words sit in a row, how they
// are read, and the straight line that turns the number into a physical value.
#pragma once

#include <bit>
#include <cstdint>
#include <string>

// How the words of a channel make a number. Two-word kinds are low word first.
enum class SampleKind : std::uint8_t { Int16, UInt16, Int32, UInt32, Float32 };

// The kind of a channel from the header's data type code and the words it takes in a row:
// 1 unsigned 16-bit, 2 signed 32-bit, 3 unsigned 32-bit, 4 float; anything else signed 16-bit.
// A two-word channel whose code names no 32-bit type is read as signed 32-bit.
SampleKind SampleKindOf(int dataType, int words);
int WordsOf(SampleKind kind);

// The number of `kind` at `words`.
inline double ReadSample(const std::uint16_t* words, SampleKind kind) {
    const auto wide = [words] {
        return static_cast<std::uint32_t>(words[0]) | static_cast<std::uint32_t>(words[1]) << 16;
    };
    switch (kind) {
    case SampleKind::Int16:
        return static_cast<std::int16_t>(words[0]);
    case SampleKind::UInt16:
        return words[0];
    case SampleKind::Int32:
        return static_cast<std::int32_t>(wide());
    case SampleKind::UInt32:
        return wide();
    case SampleKind::Float32:
        return std::bit_cast<float>(wide());
    }
    return 0.0;
}

struct RecordChannel {
    std::string name;   // NAME= of its channel line, else its series name
    std::string series; // "CH_10"
    std::string unit;
    std::string range;
    double slope = 1.0;    // physical units per number
    double offset = 0.0;   // physical value of the number 0
    double scaleMin = 0.0; // the chart scale the recording used; min >= max when it had none
    double scaleMax = 0.0;
    SampleKind kind = SampleKind::Int16;
    int dataType = 0;
    int wordIndex = 0; // first word in the row
    bool calculated = false;

    double Physical(double number) const { return number * slope + offset; }
    // Digits after the point that show one count of the channel and the offset as the header
    // gives them (seven significant digits each); -1 for float numbers, which have no step.
    int ValueDecimals() const;
    double Read(const std::uint16_t* row) const { return ReadSample(row + wordIndex, kind); }
    bool HasScale() const { return scaleMax > scaleMin; }
};

// A physical value with `decimals` digits after the point (-1: 9 significant digits), trailing
// zeros dropped and never more digits than a double holds.
void AppendValueText(std::string& out, double value, int decimals);
std::string ValueText(double value, int decimals);
