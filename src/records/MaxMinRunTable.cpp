#include "records/MaxMinRunTable.h"

bool CMaxMinRunTable::Create(int channels) {
    std::lock_guard lock(m_maxMinLock);
    return m_table.Create(channels);
}

void CMaxMinRunTable::UpdateRow(const double* values, const double* raw, int count) {
    std::lock_guard lock(m_maxMinLock);
    m_table.Update(values, raw, count);
}

bool CMaxMinRunTable::CopyTo(CMaxMinTable& copy) const {
    std::lock_guard lock(m_maxMinLock);
    return copy.CopyFrom(m_table);
}

void CMaxMinRunTable::ResetPhysical() {
    std::lock_guard lock(m_maxMinLock);
    m_table.ResetPhysical();
}
