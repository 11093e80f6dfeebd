#include "acquisition/RecorderList.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"

#include <algorithm>

namespace {

std::int64_t LastOctet(const std::string& address) {
    std::size_t dot = std::string::npos;
    std::size_t from = 0;
    for (int i = 0; i < 3; ++i) {
        dot = address.find('.', from);
        if (dot == std::string::npos)
            return 0;
        from = dot + 1;
    }
    return ReadWholeNumber(std::string_view(address).substr(from));
}

} // namespace

std::vector<RecorderEntry> ParseRecorderList(const std::string& buffer) {
    TextLines entries;
    CTextFile::SplitText(entries, ";", buffer);
    std::vector<RecorderEntry> recorders;
    for (const std::string& entry : entries) {
        const std::size_t comma = entry.find(',');
        if (entry.empty() || comma == std::string::npos || comma == 0)
            continue;
        recorders.push_back({entry.substr(0, comma), entry.substr(comma + 1)});
    }
    std::stable_sort(recorders.begin(), recorders.end(),
                     [](const RecorderEntry& a, const RecorderEntry& b) {
                         return LastOctet(a.address) < LastOctet(b.address);
                     });
    return recorders;
}

std::string BuildConnectionText(const std::vector<RecorderEntry>& recorders) {
    std::string text;
    for (const RecorderEntry& recorder : recorders) {
        if (!text.empty())
            text += ',';
        std::string address = recorder.address;
        std::replace(address.begin(), address.end(), '.', '_');
        text += address + "_" + recorder.name;
    }
    return text;
}
