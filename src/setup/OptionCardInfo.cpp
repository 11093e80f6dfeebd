#include "setup/OptionCardInfo.h"

#include "conditions/TextNumbers.h"

std::vector<std::string> CardInfoLines(const LinkCardInfo& info) {
    if (info[2] == kCardInfoUnavailable || info[0] == 0)
        return {"Memory Card : Not available"};
    const long long used = static_cast<long long>(info[1]) - info[2];
    return {
        "Memory Card : Present",
        FormatText("Capacity : %d KB", info[1]),
        FormatText("Used : %lld KB", used),
        FormatText("Free : %d KB", info[2]),
        FormatText("Files : %d", info[3]),
        FormatText("Folders : %d", info[4]),
    };
}
