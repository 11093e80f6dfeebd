// The rows of the two lists of the card file transfer: the files of a card folder and the record
// files of a PC folder, with the texts of their columns "FileName", "Date" and "Size".
#pragma once

#include "framework/LinkLibrary.h"

#include <cstdint>
#include <string>
#include <vector>

struct TransferRow {
    std::string name;
    std::string date;         // "mm-dd-yyyy hh:mm:ss"
    std::int64_t dateKey = 0; // yyyymmddhhmmss, for sorting
    std::uint64_t size = 0;
    std::uint32_t attributes = 0; // the card's attribute bits; 0 on the PC

    std::string SizeText() const;
    // The text of column kName, kDate or kSize.
    std::string Column(int column) const;
};

namespace TransferColumn {
inline constexpr int kName = 0;
inline constexpr int kDate = 1;
inline constexpr int kSize = 2;
inline constexpr int kCount = 3;
} // namespace TransferColumn

std::vector<TransferRow> CardRows(const LinkCardFolder& folder);
// Every file of the folder (no folder) whose name is a record file's or a voice note's; none when
// the folder cannot be read.
std::vector<TransferRow> PcRows(const std::string& folder);
// A lower-cased name containing ".hdr", ".dat" or ".wav" after its first character.
bool IsPcListName(const std::string& name);
// Stable: rows that compare equal keep their order.
void SortRows(std::vector<TransferRow>& rows, int column, bool ascending);
