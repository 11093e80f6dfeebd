#include "monitor/ChannelLimits.h"

#include "conditions/ChCnd.h"
#include "conditions/TextNumbers.h"

namespace {

std::optional<double> LimitOf(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    return ReadReal(text);
}

} // namespace

ChannelLimitPair CMatLimits::GetLimits(const CChCnd& channel) const {
    return {LimitOf(channel.m_mat[2]), LimitOf(channel.m_mat[3])};
}
