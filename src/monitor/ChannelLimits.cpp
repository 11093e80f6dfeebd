#include "monitor/ChannelLimits.h"

#include "conditions/ChCnd.h"
#include "conditions/TextNumbers.h"

std::optional<double> ReadLimitText(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    return ReadReal(text);
}

ChannelLimitPair CMatLimits::GetLimits(const CChCnd& channel) const {
    return {ReadLimitText(channel.m_mat[2]), ReadLimitText(channel.m_mat[3])};
}
