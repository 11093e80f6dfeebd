// Fuzz target of the DBC reader for both module kinds. Beyond not crashing, every signal read
// must survive its way to a module: written to a DCD file and read back it gives the same lines,
// channel numbers count the signals' words, and value types are ones the modules know.
#include "setup/CanExactness.h"
#include "setup/DBCFile.h"
#include "setup/DcdFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

template <class Page> void CheckPage(std::string_view text) {
    using Item = typename decltype(Page::m_items)::value_type;
    std::vector<Page> pages(1);
    CDbcLeftOut leftOut;
    CDBCFile::Parse(text, pages[0], leftOut);
    (void)leftOut.Describe();
    int channel = 1;
    for (Item& item : pages[0].m_items) {
        if (item.m_chNo != channel || item.m_valueType < CCanSignal::kInt16 ||
            item.m_valueType > CCanSignal::kFloat32 || item.m_msgLength < 1)
            __builtin_trap();
        channel += item.GetWordCount();
        (void)CCanExactness::Describe(item);
        item.m_selected = 1;
    }
    const TextLines written = CDcdFile::Format(pages);
    std::vector<std::string_view> views(written.begin(), written.end());
    CDcdSet<Item> set;
    if (!CDcdFile::Parse(views, set) || set.m_items.size() != pages[0].m_items.size())
        __builtin_trap();
    for (std::size_t i = 0; i < set.m_items.size(); ++i) {
        if (FormatSignalListLine(set.m_items[i]) != FormatSignalListLine(pages[0].m_items[i]))
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckPage<CDBCData>(text);
    CheckPage<CDBCData_G>(text);
    return 0;
}
