// What the views learn with new display data: from which ring position on the points are new.
#pragma once

#include "framework/View.h"

class CUpdateDataInfo : public CUpdateData {
public:
    CUpdateDataInfo() = default;
    CUpdateDataInfo(int lastOld, int dropped) : m_lastOld(lastOld), m_dropped(dropped) {}

    // Relative ring position of the newest point that was already drawn (0 for a new ring).
    int m_lastOld = 0;
    // Old points that fell out of the ring with this update.
    int m_dropped = 0;
};
