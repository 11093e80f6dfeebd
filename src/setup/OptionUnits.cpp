#include "setup/OptionUnits.h"

#include <algorithm>

bool CanInsertUnit(const std::vector<std::string>& units, std::string_view unit) {
    return !unit.empty() && unit.find(',') == std::string_view::npos && units.size() < kMaxUnits;
}

std::optional<std::size_t> InsertUnit(std::vector<std::string>& units,
                                      std::optional<std::size_t> selected, UnitInsert where,
                                      const std::string& unit) {
    if (!CanInsertUnit(units, unit))
        return std::nullopt;
    std::size_t row = where == UnitInsert::Before ? 0 : units.size();
    if (selected && *selected < units.size())
        row = where == UnitInsert::Before ? *selected : *selected + 1;
    units.insert(units.begin() + static_cast<std::ptrdiff_t>(row), unit);
    return row;
}

std::optional<std::size_t> DeleteUnit(std::vector<std::string>& units, std::size_t row) {
    if (row >= units.size())
        return units.empty() ? std::nullopt : std::optional<std::size_t>(units.size() - 1);
    units.erase(units.begin() + static_cast<std::ptrdiff_t>(row));
    if (units.empty())
        return std::nullopt;
    return std::min(row, units.size() - 1);
}
