// The meeting point of the data thread and the user-interface thread on the waveform data: the
// compressed display buffer of a run and the lock that guards it. The finished points are
// swapped out under the lock and appended to the ring after it is left, so the data thread never
// waits for the ring and no two locks are ever held together.
#pragma once

#include "monitor/MyCpsBuf_double.h"

#include <mutex>

class CCpsRingBuf;
class CDocument;
class CUpdateDataInfo;

class CDisplayFeed {
public:
    // Sizes the buffer before the data thread starts; false when its storage cannot be had.
    bool Init(int factor, int capacity, int channels);

    // Data thread, once per row of physical values; never allocates. The result is Add's.
    int AddRow(const double* row, int count);

    // User-interface thread: moves the finished points into the ring; false when there were
    // none or the ring has no storage (then `info` is left as it was).
    bool TransferTo(CCpsRingBuf& ring, CUpdateDataInfo& info);
    // User-interface thread, on the display tick: moves the finished points into the ring and
    // tells the document's views with the new-display-data hint; false when nothing was moved.
    bool HandOver(CCpsRingBuf* ring, CDocument& document);

private:
    std::mutex m_displayLock;
    CMyCpsBuf_double m_buffer;  // guarded by m_displayLock
    CMyCpsBuf_double m_staging; // user-interface thread only
};
