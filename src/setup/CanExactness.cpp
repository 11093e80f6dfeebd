// The K module's losses of a DBC signal: scale printed with three decimals, start bits off the
// byte boundary.
#include "setup/CanExactness.h"

#include "conditions/TextNumbers.h"

#include <charconv>
#include <cmath>

namespace {

constexpr double kRelativeTolerance = 1e-6;
constexpr int kIntel = 1;

// The value as the DBC file wrote it: the shortest text that reads back as the same double.
std::string ExactText(double value) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

std::string ScaleLoss(const char* name, double value) {
    if (CCanExactness::IsScaleExact(value))
        return {};
    return std::string(name) + " " + ExactText(value) + " is sent as " +
           FormatText("%5.3f", value) + "\n";
}

bool IsScaleOfItemExact(const CDBCItem& item) {
    return CCanExactness::IsScaleExact(item.m_factor) && CCanExactness::IsScaleExact(item.m_offset);
}

// "N signals cannot be sent exactly: A, B, C" and, past the named ones, " and 4 more".
std::string NamedLine(const char* what, const std::vector<const CDBCItem*>& items) {
    std::string text = std::string(what) + " of " + std::to_string(items.size()) +
                       (items.size() == 1 ? " signal" : " signals") + " cannot be sent exactly: ";
    for (std::size_t i = 0; i < items.size() && i < CCanExactness::kNamedSignals; ++i)
        text += (i == 0 ? "" : ", ") + items[i]->m_name;
    if (items.size() > CCanExactness::kNamedSignals)
        text += " and " + std::to_string(items.size() - CCanExactness::kNamedSignals) + " more";
    return text + "\n";
}

} // namespace

bool CCanExactness::IsScaleExact(double value) {
    const double sent = ReadReal(FormatText("%5.3f", value));
    return std::fabs(sent - value) <= kRelativeTolerance * std::fabs(value);
}

bool CCanExactness::IsStartExact(const CDBCItem& item) {
    if (item.m_startBit < 0)
        return true;
    return item.m_startBit % 8 == (item.m_byteOrder == kIntel ? 0 : 7);
}

std::string CCanExactness::Describe(const CDBCItem& item) {
    std::string text = ScaleLoss("Factor", item.m_factor) + ScaleLoss("Offset", item.m_offset);
    if (!IsStartExact(item))
        text += FormatText("Start bit %d is not on a byte boundary: sent as start byte %d\n",
                           item.m_startBit, item.m_start);
    if (!text.empty())
        text.pop_back();
    return text;
}

std::string CCanExactness::Question(const std::vector<const CDBCItem*>& selected,
                                    const char* verb) {
    std::vector<const CDBCItem*> scales;
    std::vector<const CDBCItem*> starts;
    for (const CDBCItem* item : selected) {
        if (!IsScaleOfItemExact(*item))
            scales.push_back(item);
        if (!IsStartExact(*item))
            starts.push_back(item);
    }
    if (scales.empty() && starts.empty())
        return {};
    std::string text;
    if (!scales.empty())
        text += NamedLine("Factor or offset", scales);
    if (!starts.empty())
        text += NamedLine("Start bit", starts);
    return text + verb + " anyway?";
}
