#include "monitor/MyMatData.h"

#include <algorithm>
#include <cctype>

bool CMyMatData::IsCommaSeparatedPath(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == "csv";
}

bool CMyMatData::ParseLines(const TextLines& lines) {
    if (!m_commaSeparated)
        return CMaterialData::ParseLines(lines);
    Clear();
    if (lines.empty())
        return Refuse(1);
    m_title = lines[0];
    TextLines pieces;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        CTextFile::SplitText(pieces, ",", lines[i]);
        if (pieces.size() < 6)
            continue;
        CMaterialItem item;
        item.m_material = pieces[1];
        item.m_id = pieces[2];
        item.m_unit = pieces[3];
        item.m_max = pieces[4];
        item.m_min = pieces[5];
        m_items.push_back(std::move(item));
    }
    return true;
}

std::string CMyMatData::LoadFile(const std::string& path) {
    CMyMatData read;
    read.m_commaSeparated = IsCommaSeparatedPath(path);
    TextLines lines;
    if (std::string message = ReadTextLines(path, lines); !message.empty())
        return message;
    if (!read.ParseLines(lines)) {
        return path + ":" + kUnexpectedFormat + "\n" + LineDetail(lines, read.GetRefusedLine());
    }
    *this = std::move(read);
    return {};
}
