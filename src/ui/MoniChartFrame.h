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
class QCheckBox;
class QLabel;
class QLineEdit;
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
    // The "Edit File" panel on the last record: test information and memos, optionally a new name.
    QLineEdit* MemoEdit(int index) const { return index == 0 ? m_memo1 : m_memo2; }
    QCheckBox* ChangeNameBox() const { return m_changeName; }
    void EditFile();
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
    QWidget* BuildEditPanel();
    // The new header path the user chose, empty when cancelled.
    std::string AskNewRecordName();

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
    QLabel* m_lastRecord = nullptr;
    QLineEdit* m_testInfo[3] = {};
    QLineEdit* m_memo1 = nullptr;
    QLineEdit* m_memo2 = nullptr;
    QCheckBox* m_changeName = nullptr;
};
