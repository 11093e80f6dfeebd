// Reading a CAN database file in the DBC text format into one page of signals for a CAN module
// of kind K or G, and counting the signals of the file that the page cannot hold.
#pragma once

#include "device/CanDatabase.h"

#include <map>
#include <string>
#include <string_view>

// The signals of a DBC file that its page leaves out, by reason.
class CDbcLeftOut {
public:
    int Count() const;
    // "5 signals of 24, 64 bits left out", with the other reasons after it; empty when the page
    // holds every signal of the file.
    std::string Describe() const;

    std::map<int, int> m_bySize; // bits -> signals of a size the module kind does not take
    int m_withoutMessage = 0;    // signals before any message or in a message without data bytes
    int m_unreadable = 0;        // signal lines that are not of the DBC signal form
};

class CDBCFile {
public:
    // Reads the whole file (lines of any length, CR LF or LF ends, a UTF-8 byte-order mark) and
    // parses it. The empty text on success; otherwise the message to show, and nothing changed.
    static std::string Load(const std::string& path, CDBCData& page, CDbcLeftOut& leftOut);
    static std::string Load(const std::string& path, CDBCData_G& page, CDbcLeftOut& leftOut);

    // Clears the page and fills it from the file's text; every text gives a page.
    static void Parse(std::string_view text, CDBCData& page, CDbcLeftOut& leftOut);
    static void Parse(std::string_view text, CDBCData_G& page, CDbcLeftOut& leftOut);

    // The bytes of a file; the empty text on success, else the message to show.
    static std::string ReadWhole(const std::string& path, std::string& content);
    // Cuts text into lines at line feeds; trailing CR are removed, a final empty line is not one.
    static std::vector<std::string_view> SplitLines(std::string_view text);
};
