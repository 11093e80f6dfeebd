// The monitor window of a document: its status bar panes and the log view. The charts and digit
// lists of the live data are placed above the log.
#pragma once

#include "framework/View.h"

#include <QWidget>

class CLogView;
class CZT300SetDoc;
class QLabel;

class CMoniChartFrame : public QWidget, public IView {
    Q_OBJECT

public:
    CMoniChartFrame(CZT300SetDoc& doc, QWidget* parent = nullptr);
    ~CMoniChartFrame() override;

    void OnUpdate(IView* sender, int hint, const CUpdateData* data) override;
    CLogView* GetLogView() const { return m_log; }
    CZT300SetDoc& GetDocument() const { return m_doc; }
    // Fills the recorder status, slot, card and remote panes from the document.
    void RefreshPanes();

private:
    CZT300SetDoc& m_doc;
    CLogView* m_log;
    QLabel* m_statusPane;
    QLabel* m_slotPane;
    QLabel* m_cardPane;
    QLabel* m_remotePane;
};
