// Slot information replies: module identity, ranges and filters.
#include "device/ModuleReply.h"

#include "conditions/ConditionTables.h"
#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "framework/LinkLibrary.h"

#include <array>
#include <cstddef>

namespace {

constexpr std::array<std::string_view, 8> kReplyKeys{"PN ", "TY ", "NCH ", "RV ",
                                                     "RS ", "RG ", "RF ",  "CF "};
// At most this many items answer one query (no query asks for more keys).
constexpr std::size_t kItemsPerQuery = 3;

std::string_view TrimLeadingBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

bool IsVoltageNumber(const std::string& element) {
    return !element.empty() && element.find_first_not_of("0123456789.kKmM") == std::string::npos;
}

// An item counts only when its list is not empty and leads with a positive number (a whole
// number of at least 1 for frequency lists, whose first element is a channel-section head).
// Filter lists are texts that commonly lead with "OFF", so they need only be non-empty.
bool HasUsableList(const QueryItem& item, const TextLines& list) {
    if (list.empty() || list.front().empty())
        return false;
    if (item.key == "CF")
        return true;
    if (item.key == "RF")
        return ReadWholeNumber(list.front()) >= 1;
    return ReadReal(list.front()) > 0.0;
}

void AppendRanges(const QueryItem& item, const TextLines& list, CSlotInfo& slot) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string& element = list[i];
        if (item.key == "RV")
            slot.m_ranges.push_back(IsVoltageNumber(element) ? element + "V" : element);
        else if (item.key == "RS")
            slot.m_ranges.push_back(FormatText("%2.0fuST", ReadReal(element) * 1000.0));
        else if (item.key == "RG")
            slot.m_ranges.push_back(element + "DEG");
        else if (item.key == "RF")
            slot.m_ranges.push_back(i == 0 || i == 3 ? element : element + "Hz");
        else if (item.key == "CF")
            slot.m_filters.push_back(element);
    }
}

} // namespace

std::vector<QueryItem> SplitQueryReply(const std::string& reply) {
    std::vector<QueryItem> items;
    TextLines pieces;
    CTextFile::SplitText(pieces, std::string(1, LinkCode::kItemSeparator), reply);
    for (const std::string& piece : pieces) {
        const std::string_view item = TrimLeadingBlanks(piece);
        for (std::string_view key : kReplyKeys) {
            if (StartsWith(item, key)) {
                items.push_back({std::string(key.substr(0, key.size() - 1)),
                                 std::string(item.substr(key.size()))});
                break;
            }
        }
    }
    return items;
}

std::uint32_t ReadHex(std::string_view text) {
    constexpr std::size_t kMaxDigits = 8; // 32 bits
    std::uint32_t value = 0;
    for (char c : text.substr(0, kMaxDigits)) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::string GetRangeQuery(std::int32_t typeCode) {
    switch (typeCode) {
    case ModuleType::kVoltage:
        return "RV,CF";
    case ModuleType::kStrain:
        return "RS,CF";
    case ModuleType::kTemperature:
        return "RG";
    case ModuleType::kFrequency:
        return "RF";
    case ModuleType::kVoltageStrain:
    case ModuleType::kVoltageStrain2:
        return "RV,RS,CF";
    default:
        return "RV";
    }
}

void ApplyModuleReply(const std::string& reply, CSlotInfo& slot) {
    std::vector<QueryItem> items = SplitQueryReply(reply);
    if (items.size() > kItemsPerQuery)
        items.resize(kItemsPerQuery);
    for (const QueryItem& item : items) {
        if (item.key == "PN")
            slot.m_partNo = item.value;
        else if (item.key == "TY")
            slot.m_typeCode = static_cast<std::int32_t>(ReadHex(item.value));
        else if (item.key == "NCH")
            slot.m_chCount = ReadUInt16(item.value);
    }
}

void ApplyRangeReply(const std::string& reply, CSlotInfo& slot) {
    std::vector<QueryItem> items = SplitQueryReply(reply);
    if (items.size() > kItemsPerQuery)
        items.resize(kItemsPerQuery);
    for (const QueryItem& item : items) {
        TextLines list;
        if (!item.value.empty())
            CTextFile::SplitText(list, ",", item.value);
        if (HasUsableList(item, list))
            AppendRanges(item, list, slot);
    }
}

std::int32_t NormaliseModuleType(const CSlotInfo& slot) {
    if (slot.m_typeCode == ModuleType::kCanK &&
        (slot.m_partNo == "QA-80CAN-G" || slot.m_partNo == "QA-80CAN-J"))
        return ModuleType::kCanG;
    return slot.m_typeCode;
}
