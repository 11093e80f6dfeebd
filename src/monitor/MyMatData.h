// The material list of a document: a material parameter file, or a comma-separated list whose
// lines give a running number, the material, its identifier, unit and two limits.
#pragma once

#include "monitor/MaterialData.h"

#include <string>

class CMyMatData : public CMaterialData {
public:
    // A ".csv" path (in any letter case) is read as a comma-separated list.
    static bool IsCommaSeparatedPath(const std::string& path);

    // The file rules when m_commaSeparated is clear, the comma-separated ones when it is set.
    bool ParseLines(const TextLines& lines) override;

    // Reads `path` with the rules its extension selects, into this list only when it is read
    // whole. Empty, or the message to show (naming the line that made the file refused).
    std::string LoadFile(const std::string& path);

    bool m_commaSeparated = false;
};
