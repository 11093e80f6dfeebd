#include "ui/monitor/MoniCommonView.h"

#include "acquisition/ZT300SetDoc.h"
#include "framework/UpdateHints.h"
#include "monitor/BandScale.h"
#include "monitor/MonitorChannels.h"
#include "monitor/MyCommonWaveChInfo.h"
#include "monitor/UpdateDataInfo.h"

#include <algorithm>

namespace {

// The placement a channel's condition holds before anybody placed it.
bool IsUnplaced(const CChCnd& channel) {
    return channel.m_gridUnitsPerDiv == 1.0 && channel.m_gridCentreDiv == 0 &&
           channel.m_gridCentreValue == 0.0;
}

} // namespace

CMoniCommonView::CMoniCommonView(CZT300SetDoc& doc, const CRecorderSettings& settings,
                                 QWidget* parent)
    : CNewCommonWaveView_Comp(parent), m_doc(doc), m_settings(settings) {
    ValueFormat().SetDigits(2);
    SetTimeUnit(tr("sec"));
    ApplyDivisionSettings();
    ApplyTimeSettings(true, false);
    // Opened during a run, the time axis ends at the newest point.
    if (const CCpsRingBuf* ring = GetRing(); ring != nullptr && ring->NewestRel() >= 0) {
        const double newest = ring->TimeOf(ring->NewestRel());
        const double width = std::max(m_settings.m_xWidth, 1);
        if (newest > width)
            SetTimeRange(newest - width, newest);
    }
    m_doc.AddView(this);
    OnUpdate(nullptr, UpdateHint::kConditionChanged, nullptr);
}

CMoniCommonView::~CMoniCommonView() {
    m_doc.RemoveView(this);
}

const CCpsRingBuf* CMoniCommonView::GetRing() const {
    return m_doc.GetDisplayRing();
}

void CMoniCommonView::OnUpdate(IView*, int hint, const CUpdateData* data) {
    switch (hint) {
    case UpdateHint::kConditionChanged:
        BuildChannels();
        Cursors().Reset();
        break;
    case UpdateHint::kNewDisplayData:
        OnNewData(dynamic_cast<const CUpdateDataInfo*>(data));
        break;
    case UpdateHint::kRepaint:
        Invalidate();
        break;
    case UpdateHint::kChartWidthChanged:
        ApplyTimeSettings(false, false);
        ApplyDivisionSettings();
        break;
    case UpdateHint::kGridStepChanged:
        ApplyTimeSettings(false, true);
        ApplyDivisionSettings();
        break;
    case UpdateHint::kArm:
        ApplyTimeSettings(true, false);
        break;
    case UpdateHint::kVerticalGridCountChanged:
        ApplyDivisionSettings();
        break;
    case UpdateHint::kDecimalDigitsChanged:
        ValueFormat().SetDigits(m_settings.m_decimalDigit);
        Invalidate();
        break;
    default:
        break;
    }
}

void CMoniCommonView::ApplyTimeSettings(bool restart, bool keepRange) {
    const double width = std::max(m_settings.m_xWidth, 1);
    if (restart)
        SetTimeRange(0.0, width);
    else if (!keepRange)
        SetTimeRange(GetTimeStart(), GetTimeStart() + width);
    SetTimeGrid(m_settings.m_xGrid);
    TimeFormat().SetDigits(CDataFormat::TimeDigitsForGrid(m_settings.m_xGrid));
    Invalidate();
}

void CMoniCommonView::ApplyDivisionSettings() {
    SetDivisions(0, std::max(m_settings.m_yGridCnt, 1));
    ValueFormat().SetDigits(m_settings.m_decimalDigit);
}

void CMoniCommonView::BuildChannels() {
    m_channels.clear();
    for (const MonitorChannel& channel : EnumerateMonitorChannels(m_doc.GetConditions())) {
        auto info = std::make_unique<CMyCommonWaveChInfo>(channel.index, *channel.condition);
        info->SetName(channel.name);
        info->ValueFormat() = CDataFormat(CDataFormat::FRACTIONAL, 2);
        info->SetGain(1.0);
        info->SetOffset(0.0);
        m_channels.push_back(std::move(info));
    }
    PlaceNewChannels();
    Invalidate();
    m_doc.UpdateAllViews(this, UpdateHint::kChannelsRebuilt);
}

void CMoniCommonView::PlaceNewChannels() {
    std::vector<BandChannel> bands;
    for (const auto& channel : m_channels) {
        const CChCnd& condition = static_cast<CMyCommonWaveChInfo&>(*channel).GetCondition();
        if (channel->IsVisible() && !IsUnplaced(condition))
            return; // the user placed channels already: leave every one where it is
        const CScale scale = condition.GetChartScale();
        bands.push_back({channel->IsVisible(), 0, 1.0, 0.0, {scale.m_min, scale.m_max}});
    }
    PlaceByRange(bands, GetFirstDivision(), GetDivisions());
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (!bands[i].visible)
            continue;
        m_channels[i]->SetY(bands[i].y);
        m_channels[i]->SetUnitsPerDivision(bands[i].unitsPerDivision);
        m_channels[i]->SetCenter(bands[i].center);
    }
}

void CMoniCommonView::BandAutoScale(bool autoScale) {
    const CCpsRingBuf* ring = GetRing();
    std::vector<BandChannel> bands;
    for (const auto& channel : m_channels) {
        BandChannel band{channel->IsVisible(), channel->GetY(), channel->GetUnitsPerDivision(),
                         channel->GetCenter(), CCpsRingBuf::kEmptyRange};
        if (autoScale && ring != nullptr)
            band.range = ring->GetRange(channel->GetIndex());
        bands.push_back(band);
    }
    if (!ApplyBandAutoScale(bands, GetFirstDivision(), GetDivisions(), autoScale, GetScaleMode()))
        return;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        m_channels[i]->SetY(bands[i].y);
        m_channels[i]->SetUnitsPerDivision(bands[i].unitsPerDivision);
        m_channels[i]->SetCenter(bands[i].center);
    }
    Invalidate();
    m_doc.UpdateAllViews(this, UpdateHint::kChannelMoved);
}

bool CMoniCommonView::CanAutoScale() const {
    const CCpsRingBuf* ring = GetRing();
    return ring != nullptr && ring->NewestRel() >= 0 && VisibleCount() > 0;
}

void CMoniCommonView::OnChannelMoved(int) {
    m_doc.UpdateAllViews(this, UpdateHint::kChannelMoved);
}
