// The smallest, largest and last value of every channel since ARM or the last reset, in
// physical units and as the unconverted reading.
#pragma once

#include <vector>

struct MaxMinEntry {
    static constexpr double kStartMinimum = 32767.0;
    static constexpr double kStartMaximum = -32768.0;

    double minimum = kStartMinimum;
    double maximum = kStartMaximum;
    double last = 0.0;
    double rawMinimum = kStartMinimum;
    double rawMaximum = kStartMaximum;
    double rawLast = 0.0;

    // A maximum below the minimum means no value was seen yet.
    bool HasData() const { return maximum >= minimum; }
};

class CMaxMinTable {
public:
    // `channels` new entries; false (and an empty table) when they cannot be had.
    bool Create(int channels);
    bool Exists() const { return !m_entries.empty(); }
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const MaxMinEntry& GetEntry(int index) const {
        return m_entries[static_cast<std::size_t>(index)];
    }
    const std::vector<MaxMinEntry>& GetEntries() const { return m_entries; }

    // Folds one row: `values` physical, `raw` unconverted, `count` of each. A row of another
    // width than the table is ignored (false). Never allocates.
    bool Update(const double* values, const double* raw, int count);
    // The physical minimum and maximum start again; last values and the unconverted triple
    // stay.
    void ResetPhysical();
    // Takes `source` when both hold the same number of entries; false otherwise.
    bool CopyFrom(const CMaxMinTable& source);

private:
    std::vector<MaxMinEntry> m_entries;
};
