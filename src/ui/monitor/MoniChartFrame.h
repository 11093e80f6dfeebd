// The monitor window of a document: the chart (separate charts or the common chart) over the
// digit list and the log, the floating control panel, the test-information panel and the status
// bar; it takes the acquisition's messages and carries the chart commands.
#pragma once

#include "acquisition/KeyCodeInput.h"
#include "framework/View.h"
#include "monitor/ChannelLimits.h"

#include <QWidget>

#include <cstdint>
#include <string>

class CControlPanel;
class CLogView;
class CMoniChartView;
class CMoniCommonView;
class CMoniDigitListBase;
class CMyStatusBar;
class CQtMessageTarget;
class CRecorderSettings;
class CZT300SetDoc;
class ICommandHandler;
class ISettingsStore;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSplitter;
class QTimer;
class QToolBar;

class CMoniChartFrame : public QWidget, public IView {
    Q_OBJECT

public:
    static constexpr const char* kSection = "CMoniChartFrame";
    static constexpr const char* kTitleSuffix = " --- Chart";

    // `commands` carries out the document's commands (the control panel, posted commands); key
    // codes and the charts follow `settings`; `store` keeps the panel's place and the display type.
    CMoniChartFrame(CZT300SetDoc& doc, ICommandHandler* commands, CRecorderSettings* settings,
                    ISettingsStore* store, QWidget* parent = nullptr);
    ~CMoniChartFrame() override;

    void OnUpdate(IView* sender, int hint, const CUpdateData* data) override;

    // The commands of the chart and the frame: whether this frame carries `id`, and its state.
    static bool HandlesCommand(int id);
    bool IsCommandEnabled(int id) const;
    bool IsCommandChecked(int id) const;
    void OnCommand(int id);

    // The chart arrangement shown (0 separate charts, 1 common chart).
    int GetChartType() const { return m_chartType; }
    // Builds the chart and its digit list again in another arrangement; the window, its run's
    // messages and the log stay.
    void SetChartType(int type);
    CMoniChartView* GetChartView() const { return m_chartView; }
    CMoniCommonView* GetCommonView() const { return m_commonView; }
    QWidget* GetChart() const;
    CMoniDigitListBase* GetDigitList() const { return m_digitList; }
    CLogView* GetLogView() const { return m_log; }
    CMyStatusBar* GetStatusBar() const { return m_statusBar; }
    CControlPanel* GetControlPanel() const { return m_panel; }
    QWidget* GetTestInfoPanel() const { return m_testInfo; }
    QSplitter* GetLowerSplitter() const { return m_lower; }
    CZT300SetDoc& GetDocument() const { return m_doc; }
    // A third pane beside the log (3/4 and 1/4 of the width for the list and log, the rest to it).
    void AddLowerPane(QWidget* pane);
    // Where the digit lists find the channels' limits (the frame's own when none); `limits` must
    // outlive the frame.
    void SetChannelLimits(const IChannelLimits* limits);

    // The "Edit File" panel on the last record: test information and memos, optionally a new name.
    QLineEdit* MemoEdit(int index) const { return index == 0 ? m_memo1 : m_memo2; }
    QLineEdit* TestInfoEdit(int index) const { return m_testInfoEdits[index]; }
    QCheckBox* ChangeNameBox() const { return m_changeName; }
    void EditFile();
    // Fills the recorder status, slot, card, remote and chart width panes from the document.
    void RefreshPanes();
    void Print();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

signals:
    // A recorder stopped answering during the run.
    void commError();

private:
    void OnMessage(int id, std::intptr_t wparam, std::intptr_t lparam);
    void BuildLayout();
    void CreateCharts();
    QWidget* BuildTestInfoPanel();
    QToolBar* BuildToolBar();
    void PlaceControlPanel();
    void SaveControlPanel();
    void RunForThisDocument(int id);
    void RefreshToolStates();
    void RefreshStatusText();
    void RefreshEditedFile();
    void RefreshProgress();
    void TestInfoEdited();
    void SizeLowerPanes();
    // The new header path the user chose, empty when cancelled.
    std::string AskNewRecordName();

    CZT300SetDoc& m_doc;
    ICommandHandler* m_commands;
    CRecorderSettings* m_settings;
    ISettingsStore* m_store;
    int m_chartType = 0;
    CKeyCodeInput m_keyCodes;
    CQtMessageTarget* m_target;
    CMatLimits m_matLimits;
    const IChannelLimits* m_limits = &m_matLimits; // what the digit lists colour against
    CMoniChartView* m_chartView = nullptr;
    CMoniCommonView* m_commonView = nullptr;
    CMoniDigitListBase* m_digitList = nullptr;
    CLogView* m_log = nullptr;
    QSplitter* m_outer = nullptr;
    QSplitter* m_lower = nullptr;
    CMyStatusBar* m_statusBar = nullptr;
    CControlPanel* m_panel = nullptr;
    QPoint m_panelOffset;
    bool m_panelWanted = true;
    QToolBar* m_toolBar = nullptr;
    QTimer* m_toolTimer = nullptr;
    QWidget* m_testInfo = nullptr;
    QLabel* m_lastRecord = nullptr;
    QLineEdit* m_testInfoEdits[3] = {};
    QLineEdit* m_memo1 = nullptr;
    QLineEdit* m_memo2 = nullptr;
    QCheckBox* m_changeName = nullptr;
    bool m_lowerSized = false;
};
