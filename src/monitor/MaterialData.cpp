#include "monitor/MaterialData.h"

void CMaterialData::Clear() {
    m_title.clear();
    m_items.clear();
    m_refusedLine = 0;
}

bool CMaterialData::Refuse(int line) {
    m_refusedLine = line;
    return false;
}

bool CMaterialData::ParseLines(const TextLines& lines) {
    Clear();
    if (lines.empty() || lines[0] != kFileHeader)
        return Refuse(1);
    if (lines.size() < 3)
        return Refuse(static_cast<int>(lines.size()) + 1);
    m_title = lines[1];
    for (std::size_t i = 3; i < lines.size(); ++i) {
        CMaterialItem item;
        if (item.Parse(lines[i]))
            m_items.push_back(std::move(item));
    }
    return true;
}

void CMaterialData::FormatLines(TextLines& lines) const {
    lines.clear();
    lines.emplace_back(kFileHeader);
    lines.push_back(m_title);
    lines.emplace_back(kColumnHeader);
    for (const CMaterialItem& item : m_items)
        lines.push_back(item.Format());
}
