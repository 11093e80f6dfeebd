// The recorders a network scan found, and the connection text that names the chosen ones.
#pragma once

#include <string>
#include <vector>

struct RecorderEntry {
    std::string name;
    std::string address;
    bool operator==(const RecorderEntry&) const = default;
};

// Entries "name,address" separated by ";": empty entries are skipped, entries without a comma
// (or with the comma first) are dropped. The result is ordered by the number after the third
// "." of the address; equal numbers keep their order.
std::vector<RecorderEntry> ParseRecorderList(const std::string& buffer);

// "192_168_1_201_ZT-300,..." : each address with "." replaced by "_", then "_" and the name.
std::string BuildConnectionText(const std::vector<RecorderEntry>& recorders);
