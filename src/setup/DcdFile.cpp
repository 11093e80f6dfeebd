// DCD files of both module kinds.
#include "setup/DcdFile.h"

#include "setup/DBCFile.h"

#include <new>

namespace {

template <class Page> TextLines FormatPages(const std::vector<Page>& pages) {
    using Item = typename decltype(Page::m_items)::value_type;
    TextLines lines{Item::kKindName};
    int channel = 1;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const int index = static_cast<int>(p);
        lines.push_back("CRO" + std::to_string(index) + "," + pages[p].m_croId);
        lines.push_back("DTO" + std::to_string(index) + "," + pages[p].m_dtoId);
        for (const Item& item : pages[p].m_items) {
            if (item.m_selected == 0)
                continue;
            lines.push_back("Ch" + item.FormatFields(channel));
            channel += item.GetWordCount();
        }
    }
    return lines;
}

template <class Page>
std::string SavePages(const std::string& path, const std::vector<Page>& pages) {
    TextLines lines = FormatPages(pages);
    for (std::string& line : lines)
        line += '\n';
    return CTextFile::WriteTextLines(path, lines, false, false);
}

std::string AfterComma(std::string_view line) {
    const std::size_t comma = line.find(',');
    return comma == std::string_view::npos ? std::string() : std::string(line.substr(comma + 1));
}

template <class Item>
bool ParseLines(const std::vector<std::string_view>& lines, CDcdSet<Item>& set) {
    if (lines.empty() || !lines.front().starts_with(Item::kKindName))
        return false;
    CDcdSet<Item> read;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.starts_with("CRO")) {
            read.m_croIds.push_back(AfterComma(line));
        } else if (line.starts_with("DTO")) {
            read.m_dtoIds.push_back(AfterComma(line));
        } else {
            Item item;
            if (ParseSignalListLine(std::string(line), item))
                read.m_items.push_back(std::move(item));
        }
    }
    set = std::move(read);
    return true;
}

template <class Item> std::string LoadSet(const std::string& path, CDcdSet<Item>& set) {
    std::string content;
    if (std::string message = CDBCFile::ReadWhole(path, content); !message.empty())
        return message;
    try {
        if (!ParseLines(CDBCFile::SplitLines(content), set))
            return path + "\nThis is not a " + Item::kKindName + " DCD File.";
    } catch (const std::bad_alloc&) {
        return CTextFile::kInsufficientMemory;
    }
    return {};
}

} // namespace

TextLines CDcdFile::Format(const std::vector<CDBCData>& pages) {
    return FormatPages(pages);
}

TextLines CDcdFile::Format(const std::vector<CDBCData_G>& pages) {
    return FormatPages(pages);
}

std::string CDcdFile::Save(const std::string& path, const std::vector<CDBCData>& pages) {
    return SavePages(path, pages);
}

std::string CDcdFile::Save(const std::string& path, const std::vector<CDBCData_G>& pages) {
    return SavePages(path, pages);
}

bool CDcdFile::Parse(const std::vector<std::string_view>& lines, CDcdSet<CDBCItem>& set) {
    return ParseLines(lines, set);
}

bool CDcdFile::Parse(const std::vector<std::string_view>& lines, CDcdSet<CDBCItem_G>& set) {
    return ParseLines(lines, set);
}

std::string CDcdFile::Load(const std::string& path, CDcdSet<CDBCItem>& set) {
    return LoadSet(path, set);
}

std::string CDcdFile::Load(const std::string& path, CDcdSet<CDBCItem_G>& set) {
    return LoadSet(path, set);
}
