#include "monitor/MaterialLimits.h"

#include "conditions/TextNumbers.h"
#include "monitor/MaterialData.h"

#include <algorithm>

namespace {

std::optional<double> Limit(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    return ReadReal(text);
}

} // namespace

SpecLimits ChannelSpecLimits(const std::array<std::string, 4>& mat,
                             const CMaterialData* materials) {
    if (materials != nullptr && !(mat[0].empty() && mat[1].empty())) {
        const auto found = std::find_if(materials->m_items.begin(), materials->m_items.end(),
                                        [&](const CMaterialItem& item) {
                                            return item.m_material == mat[0] && item.m_id == mat[1];
                                        });
        if (found != materials->m_items.end())
            return {Limit(found->m_max), Limit(found->m_min)};
    }
    return {Limit(mat[2]), Limit(mat[3])};
}

LimitColour ColourForExtremes(const SpecLimits& limits, double minimum, double maximum) {
    if (maximum < minimum)
        return LimitColour::Default;
    LimitColour colour = LimitColour::Default;
    if (limits.upper)
        colour = *limits.upper <= maximum ? LimitColour::Red : LimitColour::Green;
    if (limits.lower)
        colour = *limits.lower >= minimum ? LimitColour::Red : LimitColour::Green;
    return colour;
}

std::vector<SpecLimits> ChannelLimitsInColumnOrder(const std::vector<CRecCnd>& conditions,
                                                   const CMaterialData* materials) {
    std::vector<SpecLimits> limits;
    for (const CRecCnd& condition : conditions) {
        for (const CChCnd& channel : condition.m_channels) {
            if (channel.m_enabled)
                limits.push_back(ChannelSpecLimits(channel.m_mat, materials));
        }
        if (condition.m_calc == 0)
            continue;
        for (const CCalcChCnd& calc : condition.m_calcChannels) {
            if (calc.m_enabled)
                limits.push_back(ChannelSpecLimits(calc.m_mat, materials));
        }
    }
    return limits;
}
