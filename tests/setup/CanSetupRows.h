// The CAN fixture files, and the rows of a CAN setting dialog's list as a module keeps them, to
// compare what was sent with what a module gives back.
#pragma once

#include "setup/CanSetup.h"

#include <string>
#include <vector>

// A file of tests/data/can.
inline std::string Fixture(const char* name) {
    return std::string(ZT300_TEST_DATA_DIR "/can/") + name;
}

// Every field but the channel number (a module counts it itself) and the message name (a module
// does not keep it), of every row or of the checked ones.
inline std::vector<std::string> ModuleFields(const CCanSetup& setup, bool checkedOnly) {
    constexpr std::size_t kMessageName = 10;
    std::vector<std::string> rows;
    for (int row = 0; row < setup.GetRowCount(); ++row) {
        const CanRow cells = setup.GetRow(row);
        if (checkedOnly && !cells.checked)
            continue;
        std::string fields;
        for (std::size_t c = 1; c < cells.cells.size(); ++c)
            fields += c == kMessageName ? "|" : cells.cells[c] + "|";
        rows.push_back(fields);
    }
    return rows;
}
