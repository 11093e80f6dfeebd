// The separate charts of the monitor window: one panel per shown channel in a grid of panels,
// each a waveform on the channel's own scale (with an optional value box) or a digit panel of
// its current, smallest and largest value.
#pragma once

#include "conditions/Scale.h"
#include "framework/View.h"
#include "monitor/GrpChInfo.h"
#include "monitor/LiveScroll.h"

#include <QFont>
#include <QImage>
#include <QWidget>

#include <vector>

class CCpsRingBuf;
class CRecorderSettings;
class CUpdateDataInfo;
class CZT300SetDoc;
class ISettingsStore;
class QPainter;
class QTimer;

class CMoniChartView : public QWidget, public IView {
    Q_OBJECT

public:
    static constexpr const char* kSection = "MoniChartView_Section";
    static constexpr const char* kDispTypeKey = "Disp_Type";
    enum DisplayType { kWave = 0, kDigit = 1 };

    // The display type comes from `store` and goes back there when the view is destroyed.
    CMoniChartView(CZT300SetDoc& doc, const CRecorderSettings& settings, ISettingsStore* store,
                   QWidget* parent = nullptr);
    ~CMoniChartView() override;

    void OnUpdate(IView* sender, int hint, const CUpdateData* data) override;

    void BuildGroups();
    void Offset();
    void AutoScale();
    void ResetScale();
    void SetDisplayType(int type);
    int GetDisplayType() const { return m_displayType; }
    bool IsOffset() const { return m_offset; }
    bool HasVisibleChannel() const;
    bool CanAutoScale() const;

    const std::vector<CGrpChInfo>& GetGroups() const { return m_groups; }
    double GetTimeStart() const { return m_timeStart; }
    double GetTimeEnd() const { return m_timeEnd; }
    // The live update of the wave panels; what it did, for the tests.
    LiveStep::Action OnNewData(const CUpdateDataInfo* info);
    const QImage& Picture() const { return m_picture; }
    // Draws every panel at the widget's size into `image`.
    void RenderTo(QImage& image);

protected:
    // The document's display ring.
    virtual const CCpsRingBuf* GetRing() const;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Invalidate();
    void ApplyTimeSettings(bool restart, bool keepRange);
    void LayoutPanels();
    void RenderPicture();
    void DrawWavePanel(QPainter& painter, const CGrpChInfo& group);
    void DrawPanelGrid(QPainter& painter, const CGrpChInfo& group, const ChartRect& area);
    void DrawPanelPoints(QPainter& painter, const CGrpChInfo& group, int first,
                         const ChartRect& area);
    void DrawValueBox(QPainter& painter, const CGrpChInfo& group);
    void DrawDigitPanel(QPainter& painter, const CGrpChInfo& group);
    // Moves every plot left and draws the uncovered strips and the new points from `lastOld`.
    void ScrollPanels(int shift, int lastOld);
    QString ValueText(const CGrpChInfo& group, int which) const; // 0 last, 1 max, 2 min
    CGrpChInfo* GroupAt(const QPoint& pos);
    std::vector<const CGrpChInfo*> VisibleGroups() const;

    CZT300SetDoc& m_doc;
    const CRecorderSettings& m_settings;
    ISettingsStore* m_store;
    CScale m_scale;
    double m_timeStart = 0.0;
    double m_timeEnd = 10.0;
    double m_timeGrid = 2.0;
    bool m_offset = false;
    int m_displayType = kWave;
    std::vector<CGrpChInfo> m_groups;
    QImage m_picture;
    bool m_stale = true;
    QTimer* m_digitTimer; // digit panels follow the max/min values a few times a second
    QFont m_nameFont;
    int m_titleLine = 14;
    int m_valueLine = 14;
    int m_charWidth = 7;
};
