// The text of a fuzz input as the file reader delivers it: lines cut at line feeds, trailing CR
// and LF stripped.
#pragma once

#include "conditions/TextFile.h"

#include <string>

inline TextLines ToLines(const std::string& text) {
    TextLines lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(pos, next - pos);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        lines.push_back(std::move(line));
        pos = next;
    }
    return lines;
}
