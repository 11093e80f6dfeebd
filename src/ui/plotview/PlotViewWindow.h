// The main window of plotview: the open record's channels, its traces, cursors and marks, with
// opening, export to CSV, printing and PDF.
#pragma once

#include "records/RecordOverview.h"
#include "records/RecordReader.h"

#include <QMainWindow>

#include <memory>

class CChannelListModel;
class CCursorTableModel;
class CTraceView;
class QAction;
class QLabel;
class QPainter;
class QProgressBar;
class QTableView;
class QTimer;
class QTreeWidget;

class CPlotViewWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "plotview";

    explicit CPlotViewWindow(QWidget* parent = nullptr);
    ~CPlotViewWindow() override;

    // Opens a record (its ".hdr", ".dat" or provisional header). A record that cannot be opened
    // leaves the open one as it is; its message goes to `error`, or to a message box without it.
    bool OpenRecord(const QString& path, QString* error = nullptr);
    // The whole current view on a landscape page of a PDF file; empty, or the message.
    QString WritePdf(const QString& path);
    // The printed page: the record's name, date and memo, the time shown, the cursors, and the
    // view laid out across the painter's whole viewport.
    void RenderPage(QPainter& painter);

    const CRecordReader* GetRecord() const { return m_record.get(); }
    bool IsOverviewComplete() const;
    CTraceView& GetTraceView() { return *m_view; }
    CChannelListModel& GetChannels() { return *m_channels; }
    CCursorTableModel& GetCursorTable() { return *m_cursorModel; }
    QString GetNotesText() const;
    QString GetCursorTimesText() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildDocks();
    void CloseRecord();
    void FillMarks();
    void UpdateTitle();
    void UpdateCursorReadout();
    void UpdateProgress();
    void OnOpen();
    void OnReload();
    void OnExportCsv();
    void OnPrint();
    void OnExportPdf();
    void OnKeysHelp();
    void LoadSettings();
    void SaveSettings() const;

    std::unique_ptr<CRecordReader> m_record;
    std::unique_ptr<CRecordOverview> m_overview;
    CChannelListModel* m_channels;
    CCursorTableModel* m_cursorModel;
    CTraceView* m_view;
    QLabel* m_notes;
    QLabel* m_cursorTimes;
    QTableView* m_channelTable = nullptr;
    QTreeWidget* m_marks = nullptr;
    QProgressBar* m_progress;
    QLabel* m_hover;
    QLabel* m_info;
    QTimer* m_progressTimer;
    QAction* m_stacked = nullptr;
    QAction* m_wallClock = nullptr;
    QAction* m_cursors = nullptr;
    QString m_folder;
};
