// Fuzz target of the DCD reader for both module kinds. Beyond not crashing, what the program
// writes must read back as the same: a set read and written once is a fixed point of reading
// and writing.
#include "setup/DBCFile.h"
#include "setup/DcdFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// The set as one page of chosen signals, written.
template <class Page, class Item> TextLines Written(const CDcdSet<Item>& set) {
    std::vector<Page> pages(1);
    pages[0].m_croId = set.m_croIds.empty() ? std::string() : set.m_croIds.front();
    pages[0].m_dtoId = set.m_dtoIds.empty() ? std::string() : set.m_dtoIds.front();
    pages[0].m_items = set.m_items;
    for (Item& item : pages[0].m_items)
        item.m_selected = 1;
    return CDcdFile::Format(pages);
}

template <class Page> void CheckSet(std::string_view text) {
    using Item = typename decltype(Page::m_items)::value_type;
    CDcdSet<Item> set;
    if (!CDcdFile::Parse(CDBCFile::SplitLines(text), set))
        return;
    const TextLines first = Written<Page>(set);
    CDcdSet<Item> again;
    if (!CDcdFile::Parse(std::vector<std::string_view>(first.begin(), first.end()), again))
        __builtin_trap();
    if (Written<Page>(again) != first)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckSet<CDBCData>(text);
    CheckSet<CDBCData_G>(text);
    return 0;
}
