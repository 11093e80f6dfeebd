// The display ring of a document: about two chart widths of compressed points, oldest point
// overwritten first, with the running range of every channel since the ring was created.
// Written and read in the user-interface thread only; the range array has its own lock because
// views read it while new points arrive.
#pragma once

#include "monitor/CpsEntry.h"

#include <mutex>
#include <vector>

class CCpsRingBuf {
public:
    // A range that has seen nothing; any value that arrives replaces it.
    static constexpr CpsEntry kEmptyRange{2147483647.0, -2147483648.0};

    // Frees the previous storage and allocates the ring empty. False (and IsValid false) when
    // the storage cannot be had or capacity is below 1.
    bool Create(int capacity, int channels, double firstTime, double pointTime);
    // Stores one point of `count` entries as the newest; a full ring drops its oldest point and
    // moves its time axis on by one point. Extra entries are ignored, missing ones left as they
    // were, so a point of another width never reaches outside the ring.
    void Append(const CpsEntry* point, int count);

    bool IsValid() const { return m_valid; }
    int GetCapacity() const { return m_capacity; }
    int GetChannels() const { return m_channels; }
    int GetOldest() const { return m_oldest; }
    int GetNewest() const { return m_newest; }
    double GetFirstTime() const { return m_firstTime; }
    double GetPointTime() const { return m_pointTime; }

    // The position of the newest point counted from the oldest; -1 while empty. The ring
    // holds NewestRel() + 1 points.
    int NewestRel() const;
    int StorageIndex(int rel) const { return (m_oldest + rel) % m_capacity; }
    double TimeOf(int rel) const { return m_firstTime + rel * m_pointTime; }
    // The entries of the point at relative position `rel` (0 = oldest).
    const CpsEntry* GetPoint(int rel) const;

    CpsEntry GetRange(int channel) const;
    // Every channel's range starts again from the next point.
    void ResetRanges();

private:
    std::vector<CpsEntry> m_points; // capacity x channels entries plus one spare
    int m_capacity = 0;
    int m_channels = 0;
    int m_oldest = -1;
    int m_newest = -1;
    double m_firstTime = 0.0;
    double m_pointTime = 0.0;
    bool m_valid = false;
    mutable std::mutex m_rangeLock;
    std::vector<CpsEntry> m_range; // guarded by m_rangeLock
};
