// Editing the list of registered physical units ("Register Physical Unit").
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The settings keep this many units; more would be lost at the next start.
inline constexpr std::size_t kMaxUnits = 100;

enum class UnitInsert { Before, After };

// A unit can be added when it is not empty, holds no "," (the stored list is separated by
// commas) and the list is not full.
bool CanInsertUnit(const std::vector<std::string>& units, std::string_view unit);

// Adds `unit` before or after the selected row; without a selection before the first row or
// after the last. Returns the row of the new unit, nothing when it cannot be added.
std::optional<std::size_t> InsertUnit(std::vector<std::string>& units,
                                      std::optional<std::size_t> selected, UnitInsert where,
                                      const std::string& unit);

// Deletes a row; returns the row to select afterwards, nothing when the list became empty.
std::optional<std::size_t> DeleteUnit(std::vector<std::string>& units, std::size_t row);
