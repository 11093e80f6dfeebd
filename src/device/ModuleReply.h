// Reading the recorder's slot information replies: module identity and the range and filter
// lists a module offers.
#pragma once

#include "conditions/SlotInfo.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct QueryItem {
    std::string key; // "PN", "TY", "NCH", "RV", "RS", "RG", "RF" or "CF"
    std::string value;
};

// The items of a reply (separated by the byte 0x01, leading blanks removed) that begin with a
// known key and its blank; other items are dropped.
std::vector<QueryItem> SplitQueryReply(const std::string& reply);

// Up to eight hexadecimal digits, ending at the first other character: type codes and
// residuals (32-bit two's complement) come this way.
std::uint32_t ReadHex(std::string_view text);

// The identity query and the range query that suits a module type.
inline constexpr const char* kModuleQuery = "PN,TY,NCH";
std::string GetRangeQuery(std::int32_t typeCode);

// Part number, type code and channel count from the reply to kModuleQuery.
void ApplyModuleReply(const std::string& reply, CSlotInfo& slot);
// Appends the ranges and filters of a range-query reply to the slot's lists.
void ApplyRangeReply(const std::string& reply, CSlotInfo& slot);

// Both CAN kinds report type 10; these part numbers are the G kind.
std::int32_t NormaliseModuleType(const CSlotInfo& slot);
