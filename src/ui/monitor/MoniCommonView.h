// The common chart of the monitor window: every shown channel of the acquisition in one plot,
// placed and coloured as the channels' conditions say, following the document's hints.
#pragma once

#include "framework/View.h"
#include "ui/monitor/NewCommonWaveView_Comp.h"

class CRecorderSettings;
class CZT300SetDoc;

class CMoniCommonView : public CNewCommonWaveView_Comp, public IView {
    Q_OBJECT

public:
    CMoniCommonView(CZT300SetDoc& doc, const CRecorderSettings& settings,
                    QWidget* parent = nullptr);
    ~CMoniCommonView() override;

    void OnUpdate(IView* sender, int hint, const CUpdateData* data) override;

    // Rebuilds the channels from the conditions and tells the other views.
    void BuildChannels();
    // Shares the divisions out among the shown channels; with `autoScale` each channel's scale
    // fits what the display ring has seen of it.
    void BandAutoScale(bool autoScale);
    // The "AutoScale" command: the ring holds a point and a channel is shown.
    bool CanAutoScale() const;

protected:
    const CCpsRingBuf* GetRing() const override;
    void OnChannelMoved(int channel) override;

private:
    // Chart width, grid and digits from the settings; `restart` also puts the time range at 0.
    void ApplyTimeSettings(bool restart, bool keepRange);
    void ApplyDivisionSettings();
    // Channels whose conditions hold no placement yet share the divisions by their ranges.
    void PlaceNewChannels();

    CZT300SetDoc& m_doc;
    const CRecorderSettings& m_settings;
};
