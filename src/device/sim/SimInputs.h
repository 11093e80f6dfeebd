// The known inputs of the simulated recorders behind a link, as the demo window sets and lists
// them. The header stays free of the simulator's own headers, whose names Qt reserves.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CSimLink;
class ILinkLibrary;

class CSimInputs {
public:
    using Place = std::pair<int, int>; // slot 1..8, 0-based channel

    // None when the link is not the in-process simulated one.
    static std::unique_ptr<CSimInputs> ForLink(ILinkLibrary& link);
    explicit CSimInputs(CSimLink& link) : m_link(link) {}

    // "<address>  <name>" of each recorder, and its address alone.
    std::vector<std::pair<std::string, std::string>> Recorders() const;
    // Every channel of every module of the recorder at `address`, in slot order.
    std::vector<Place> Channels(const std::string& address) const;
    // False when the recorder has no such channel.
    bool Set(const std::string& address, Place place, double value, double noise);
    bool Remove(const std::string& address, Place place);
    // One line per input in force: "<address>  <slot>-<channel>:  <value> +- <noise>".
    std::vector<std::string> Describe() const;

private:
    CSimLink& m_link;
};
