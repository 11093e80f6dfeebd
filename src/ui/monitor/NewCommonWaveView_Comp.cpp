#include "ui/monitor/NewCommonWaveView_Comp.h"

#include "monitor/CpsRingBuf.h"
#include "monitor/TraceBuilder.h"
#include "monitor/UpdateDataInfo.h"
#include "ui/monitor/ChartPicture.h"

#include <QPainter>

using ChartPicture::ToQRect;

namespace {

// The screen's dots repeat every 2 pixels and the paper's every 8: the phase is kept modulo 8.
constexpr int kPhasePeriod = 8;

} // namespace

CNewCommonWaveView_Comp::CNewCommonWaveView_Comp(QWidget* parent) : CCommonWaveView(parent) {}

LiveStep::Action CNewCommonWaveView_Comp::OnNewData(const CUpdateDataInfo* info) {
    const CCpsRingBuf* ring = GetRing();
    if (info == nullptr || ring == nullptr || ring->NewestRel() < 0) {
        Invalidate();
        return LiveStep::Action::Page;
    }
    const double newest = ring->TimeOf(ring->NewestRel());
    const LiveStep step = PlanLiveStep(GetScrollMode(), ViewTransform().GetXScale(), newest,
                                       GetTimeStart(), GetTimeEnd(), GetMinScrollStep());
    const ChartRect& plot = GetPlotRect();
    // A picture that is redrawn anyway (hidden, resized, settings changed) only follows the time.
    if (!IsPictureCurrent() || !isVisible()) {
        if (step.action != LiveStep::Action::DrawNew)
            MoveTimeRange(step.start, step.end);
        Invalidate();
        return step.action;
    }
    switch (step.action) {
    case LiveStep::Action::DrawNew:
        DrawNewPoints(info->m_lastOld);
        break;
    case LiveStep::Action::Scroll:
        if (step.shift >= plot.Width()) {
            MoveTimeRange(step.start, step.end);
            Invalidate();
            break;
        }
        MoveTimeRange(step.start, step.end);
        ScrollPicture(step.shift, info->m_lastOld);
        break;
    case LiveStep::Action::Page:
        MoveTimeRange(step.start, step.end);
        Invalidate();
        break;
    }
    return step.action;
}

void CNewCommonWaveView_Comp::DrawNewPoints(int first) {
    QPainter painter(&m_picture);
    painter.setClipRect(ToQRect(GetPlotRect()));
    DrawPoints(painter, first);
    update(ToQRect(GetPlotRect()));
}

void CNewCommonWaveView_Comp::ScrollPicture(int shift, int lastOld) {
    const ChartRect& plot = GetPlotRect();
    ChartPicture::ScrollLeft(m_picture, plot, shift);
    m_gridPhase = (m_gridPhase + shift) % kPhasePeriod;

    const ChartRect strip{plot.right - shift, plot.top, plot.right, plot.bottom};
    QPainter painter(&m_picture);
    painter.fillRect(ToQRect(strip), PlotColour());
    DrawGrids(painter, strip);
    DrawTimeStrips(painter, plot, true);
    if (const CCpsRingBuf* ring = GetRing()) {
        // The strip from the point before it (for the line that joins it), and the new points
        // that fell left of it, before the edge the picture had.
        const double stripStart = ViewTransform().WorldX(strip.left);
        const int first = std::min(std::max(CTraceBuilder::FirstPointAt(*ring, stripStart) - 1, 0),
                                   std::max(lastOld, 0));
        DrawPoints(painter, first);
    }
    // The plot and the time labels under and over it moved; the margins beside stay.
    update(QRect(plot.left - 1, 0, plot.Width() + 2, height()));
}
