// The DCD file: the chosen signals of a module kind's DBC pages with the pages' CRO and DTO ids,
// kept for a later send without the DBC files.
#pragma once

#include "conditions/TextFile.h"
#include "device/CanDatabase.h"

#include <string>
#include <string_view>
#include <vector>

class CDcdFile {
public:
    static constexpr const char* kDialogFilter = "DCD Files (*.dcd)";
    static constexpr const char* kSaveTitle = "Save a DCD File";
    static constexpr const char* kOpenTitle = "Open a DCD File";

    // "CAN_K" or "CAN_G", then per page "CRO%d,%s" and "DTO%d,%s" and its selected signals, with
    // channel numbers counted through the whole file.
    static TextLines Format(const std::vector<CDBCData>& pages);
    static TextLines Format(const std::vector<CDBCData_G>& pages);
    // Lines end in a line feed. The empty text on success, else the message to show.
    static std::string Save(const std::string& path, const std::vector<CDBCData>& pages);
    static std::string Save(const std::string& path, const std::vector<CDBCData_G>& pages);

    // False, and the set untouched, when the first line is not the module kind's.
    static bool Parse(const std::vector<std::string_view>& lines, CDcdSet<CDBCItem>& set);
    static bool Parse(const std::vector<std::string_view>& lines, CDcdSet<CDBCItem_G>& set);
    // The empty text on success; otherwise the message to show, and the set untouched.
    static std::string Load(const std::string& path, CDcdSet<CDBCItem>& set);
    static std::string Load(const std::string& path, CDcdSet<CDBCItem_G>& set);
};
