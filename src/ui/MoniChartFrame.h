// The monitor window of a document: the thread's messages, its status bar panes, the log view and
// the current max/min values. The charts and digit lists of the live data are placed above the log.
#pragma once

#include "acquisition/KeyCodeInput.h"
#include "framework/View.h"

#include <QWidget>

#include <cstdint>

class CLogView;
class CRecorderSettings;
class CQtMessageTarget;
class CZT300SetDoc;
class ICommandHandler;
class QLabel;
class QTableWidget;

class CMoniChartFrame : public QWidget, public IView {
    Q_OBJECT

public:
    // `commands` carries out the commands the acquisition posts (external start, stop, pause).
    // Two-digit key codes typed here follow `settings`.
    CMoniChartFrame(CZT300SetDoc& doc, ICommandHandler* commands, const CRecorderSettings* settings,
                    QWidget* parent = nullptr);
    ~CMoniChartFrame() override;

    void OnUpdate(IView* sender, int hint, const CUpdateData* data) override;
    CLogView* GetLogView() const { return m_log; }
    QTableWidget* GetMaxMinList() const { return m_maxMin; }
    CZT300SetDoc& GetDocument() const { return m_doc; }
    // Fills the recorder status, slot, card and remote panes from the document.
    void RefreshPanes();

protected:
    void keyPressEvent(QKeyEvent* event) override;

signals:
    // A recorder stopped answering during the run.
    void commError();

private:
    void OnMessage(int id, std::intptr_t wparam, std::intptr_t lparam);
    void RefreshMaxMin();

    CZT300SetDoc& m_doc;
    ICommandHandler* m_commands;
    const CRecorderSettings* m_settings;
    CKeyCodeInput m_keyCodes;
    CQtMessageTarget* m_target;
    CLogView* m_log;
    QTableWidget* m_maxMin;
    QLabel* m_statusPane;
    QLabel* m_slotPane;
    QLabel* m_cardPane;
    QLabel* m_remotePane;
    QLabel* m_recordPane;
};
