// The specification limits of the channels, which colour the smallest and largest values of the
// digit lists: red beyond a limit, green inside it.
#pragma once

#include "conditions/RecCnd.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

class CMaterialData;

struct SpecLimits {
    std::optional<double> upper;
    std::optional<double> lower;
    bool operator==(const SpecLimits&) const = default;
};

enum class LimitColour { Default, Red, Green };

// The limits of a channel from its four material values (name, identifier, upper, lower limit):
// a text that is set counts, read as a number (not a number reads as 0). When the name and the
// identifier name a material of `materials`, that material's limits count instead, so a newly
// loaded list applies to the channels that refer to it.
SpecLimits ChannelSpecLimits(const std::array<std::string, 4>& mat,
                             const CMaterialData* materials = nullptr);

// The colour of the MIN and MAX texts: with an upper limit U red when U <= maximum, else green;
// then with a lower limit L red when L >= minimum, else green (so the lower limit decides when
// both are set); the default colour without limits or before any data was seen.
LimitColour ColourForExtremes(const SpecLimits& limits, double minimum, double maximum);

// One entry per channel of the display ring's columns: the enabled channels of every recorder,
// each followed by its enabled calculation channels when calculation is on.
std::vector<SpecLimits> ChannelLimitsInColumnOrder(const std::vector<CRecCnd>& conditions,
                                                   const CMaterialData* materials = nullptr);
