// The waveform view on the compressed display ring: it draws the ring's points and follows the
// acquisition live, drawing only the new points or scrolling the picture (or turning a page)
// when they pass the right edge.
#pragma once

#include "monitor/LiveScroll.h"
#include "ui/monitor/CommonWaveView.h"

class CUpdateDataInfo;

class CNewCommonWaveView_Comp : public CCommonWaveView {
    Q_OBJECT

public:
    explicit CNewCommonWaveView_Comp(QWidget* parent = nullptr);

    // New points arrived (the new-display-data hint); without an update record the view just
    // repaints. Returns what the view did, for the tests.
    LiveStep::Action OnNewData(const CUpdateDataInfo* info);

private:
    void DrawNewPoints(int first);
    // Moves the picture left and draws the uncovered strip and the new points from `lastOld`.
    void ScrollPicture(int shift, int lastOld);
};
