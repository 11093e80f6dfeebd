// The max/min table of a running acquisition: the data thread folds every row into it, the
// user-interface thread copies and resets it, each under the table's own lock for one short step.
#pragma once

#include "records/MaxMinTable.h"

#include <mutex>

class CMaxMinRunTable {
public:
    // At ARM, before the data thread starts: one new entry per channel of the value vector.
    bool Create(int channels);

    // Data thread, once per row; ignored when the row's width is not the table's.
    void UpdateRow(const double* values, const double* raw, int count);
    // User-interface thread: false when the counts differ and `copy` was left as it was.
    bool CopyTo(CMaxMinTable& copy) const;
    void ResetPhysical();

private:
    mutable std::mutex m_maxMinLock;
    CMaxMinTable m_table; // guarded by m_maxMinLock
};
