#include "monitor/DisplayFeed.h"

#include "framework/Document.h"
#include "framework/UpdateHints.h"
#include "monitor/CpsRingBuf.h"
#include "monitor/UpdateDataInfo.h"

bool CDisplayFeed::Init(int factor, int capacity, int channels) {
    if (!m_staging.Init(factor, capacity, channels))
        return false;
    std::lock_guard lock(m_displayLock);
    if (m_buffer.Init(factor, capacity, channels))
        return true;
    m_staging.Clear();
    return false;
}

int CDisplayFeed::AddRow(const double* row, int count) {
    std::lock_guard lock(m_displayLock);
    return m_buffer.Add(row, count);
}

bool CDisplayFeed::TransferTo(CCpsRingBuf& ring, CUpdateDataInfo& info) {
    if (!ring.IsValid())
        return false;
    {
        std::lock_guard lock(m_displayLock);
        if (!m_buffer.MoveCompletedTo(m_staging))
            return false;
    }
    int lastOld = 0;
    int dropped = 0;
    m_staging.TransferTo(ring, lastOld, dropped);
    info = CUpdateDataInfo(lastOld, dropped);
    return true;
}

bool CDisplayFeed::HandOver(CCpsRingBuf* ring, CDocument& document) {
    CUpdateDataInfo info;
    if (ring == nullptr || !TransferTo(*ring, info))
        return false;
    document.UpdateAllViews(nullptr, UpdateHint::kNewDisplayData, &info);
    return true;
}
