// The panels of the calibration dialog: per channel its name, a bar scale with the last block's
// span, the overall minimum and maximum and the mean, and its "Reset" and "Stop" buttons.
#pragma once

#include <QWidget>

#include <vector>

class CCalStatistics;
class CChCnd;
class QPainter;
class QPushButton;
struct CalChannelStats;

class CCalPanelWnd : public QWidget {
    Q_OBJECT

public:
    static constexpr int kResetId = 2010; // + channel index
    static constexpr int kStopId = 2030;

    CCalPanelWnd(const std::vector<CChCnd*>& channels, CCalStatistics& statistics,
                 QWidget* parent = nullptr);

    // With "ALL" checked the buttons of one panel act on every channel.
    void SetAll(bool all) { m_all = all; }
    QPushButton* ResetButton(int index) const {
        return m_reset.at(static_cast<std::size_t>(index));
    }
    QPushButton* StopButton(int index) const { return m_stop.at(static_cast<std::size_t>(index)); }
    // The buttons read "Start" on paused channels, "Stop" on the others.
    void RefreshButtons();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Left double click: the panel's range one 1-2-5 step down (outside every panel: all
    // ranges); right double click: one step up.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void PaintPanel(QPainter& painter, int index, const CalChannelStats& stats);

    std::vector<CChCnd*> m_channels;
    CCalStatistics& m_statistics;
    std::vector<QPushButton*> m_reset;
    std::vector<QPushButton*> m_stop;
    bool m_all = false;
};
