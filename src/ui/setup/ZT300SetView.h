// The setup view: the channel table of the current recorder's condition, edited in place and
// through the calculation channel and frequency module dialogs.
#pragma once

#include "framework/View.h"
#include "setup/ChannelTableRules.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class CChCnd;
class CGridCtrl;
class CRecCnd;
class CRecorderSettings;
class IPrompt;
class QDialog;
class QPrinter;

class CZT300SetView : public QWidget, public IView {
    Q_OBJECT

public:
    using DialogRunner = std::function<int(QDialog&)>;

    explicit CZT300SetView(QWidget* parent = nullptr);
    ~CZT300SetView() override;

    // The document's conditions, one per recorder; an index outside them shows the first.
    void SetConditions(std::vector<CRecCnd>* conditions, int currentIndex,
                       const CRecorderSettings* settings);
    // While the document is armed nothing in the table may be changed.
    void SetLocked(bool locked);
    bool IsLocked() const { return m_locked; }

    void Rebuild();
    void RefreshBalance();
    void RefreshChecks();
    void OnUpdate(IView* sender, int hint, const CUpdateData* data) override;

    // Message boxes go to this prompt (by default the view's own boxes).
    void SetPrompt(IPrompt* prompt) { m_prompt = prompt; }
    // How the dialogs are run (by default modally); tests answer them without an event loop.
    void SetDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }
    void SetPrintTitle(const QString& title) { m_printTitle = title; }

    CGridCtrl& Grid() { return *m_grid; }
    // The rules of the rows shown, for the commands that act on selected cells.
    const CChannelTableRules* Rules() const { return m_rules.get(); }
    int CurrentIndex() const;
    CRecCnd* CurrentCondition() const;
    // The channel a row shows, as kept with its Channels cell.
    CChCnd* ChannelOfRow(int row) const;
    // The caption of the setup frame while this view is active.
    static QString FrameCaption(const QString& documentTitle);

    void OpenCalcChSetting(int row);
    void OpenFvAmpSetting(int row);

    bool PrintTo(QPrinter& printer);
    void Print();
    void PrintDirect();
    void PrintPreview();
    void Calibration() { emit calibrationRequested(); }
    void ShowMonitorChart() { emit monitorChartRequested(); }

signals:
    void conditionEdited(int recorderIndex);
    // Hints the setup frame handles for its own fields (1 before the table is rebuilt, 12, 13).
    void frameRefreshRequested(int hint);
    void calibrationRequested();
    void monitorChartRequested();

private:
    void FillHeader();
    void FitColumns(bool fromFontWidths);
    void FillRow(int row);
    void FillColumn(int column);
    int RowOfChannel(const CChCnd* channel) const;
    IPrompt& Prompt();
    void OnCellEdited(int row, int column, const QString& text, bool pasted);
    void OnCellChecked(int row, int column, bool checked);
    void OnCellActivated(int row, int column);
    void OnContextMenu(const QPoint& globalPos);

    CGridCtrl* m_grid;
    std::vector<CRecCnd>* m_conditions = nullptr;
    int m_currentIndex = 0;
    const CRecorderSettings* m_settings = nullptr;
    bool m_locked = false;
    std::unique_ptr<CChannelTableRules> m_rules;
    std::unique_ptr<IPrompt> m_ownPrompt;
    IPrompt* m_prompt = nullptr;
    DialogRunner m_runDialog;
    QString m_printTitle;
};
