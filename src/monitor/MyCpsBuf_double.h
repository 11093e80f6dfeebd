// The compressed display buffer of a running acquisition, which hands its finished points over
// to the document's display ring.
#pragma once

#include "monitor/CpsBuf_double.h"

class CCpsRingBuf;

class CMyCpsBuf_double : public CCpsBuf_double {
public:
    // Moves every completed point into the ring and starts refilling from point 0; a point
    // still under construction moves to point 0 and goes on folding there. `lastOld` is the
    // relative ring position, after the move, of the newest point that was there before (0 for
    // an empty ring); `dropped` counts the old points pushed out. False, with nothing touched,
    // while no point is completed or the ring has no storage.
    bool TransferTo(CCpsRingBuf& ring, int& lastOld, int& dropped);
    // Swaps the completed points into `staging`, an empty buffer of the same geometry, in time
    // independent of their number; the point under construction stays here as point 0. False,
    // with nothing touched, while no point is completed or the geometries differ.
    bool MoveCompletedTo(CMyCpsBuf_double& staging);
};
