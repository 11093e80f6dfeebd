// Where the digit lists find a channel's upper and lower limit; the channel's material values
// hold them (the third and fourth), read as numbers when not empty.
#pragma once

#include <optional>
#include <string>

class CChCnd;

struct ChannelLimitPair {
    std::optional<double> upper;
    std::optional<double> lower;
};

// A limit text: none when empty, else read as a number (a text that is no number reads as 0).
std::optional<double> ReadLimitText(const std::string& text);

class IChannelLimits {
public:
    virtual ~IChannelLimits() = default;
    virtual ChannelLimitPair GetLimits(const CChCnd& channel) const = 0;
};

// The limits the channel's condition carries in its material values; a text that is no number
// reads as 0.
class CMatLimits : public IChannelLimits {
public:
    ChannelLimitPair GetLimits(const CChCnd& channel) const override;
};
