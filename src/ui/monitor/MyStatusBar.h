// The status bar of the monitor window: the rate and record file text, the chart width pane
// with the record's progress bar inside it, and the recorder status, data count, record result,
// slot, card and remote panes.
#pragma once

#include <QStatusBar>

class QLabel;
class QProgressBar;

class CMyStatusBar : public QStatusBar {
    Q_OBJECT

public:
    // Pane ids as the document fills them.
    enum Pane {
        kText = 1103,
        kChartWidth = 2,
        kStatus = 3,
        kSlots = 4,
        kCard = 5,
        kRemote = 6,
        kRecord = 7,
        kCounts = 8 // rows received and milliseconds of the run
    };

    explicit CMyStatusBar(QWidget* parent = nullptr);

    void SetPaneText(int pane, const QString& text);
    QString PaneText(int pane) const;
    // The record's progress in percent; -1 shows no bar.
    void SetProgress(int percent);
    QProgressBar* Progress() const { return m_progress; }
    QWidget* PaneWidget(int pane) const;

private:
    QLabel* Label(int pane) const;

    QLabel* m_text;
    QProgressBar* m_progress; // pane 2: the chart width text is the bar's own text
    QLabel* m_status;
    QLabel* m_counts;
    QLabel* m_record;
    QLabel* m_slots;
    QLabel* m_card;
    QLabel* m_remote;
};
