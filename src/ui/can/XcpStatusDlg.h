// "CANK XCP Status": the XCP status of every K module of a recorder, asked again every second
// and drawn one line per module.
#pragma once

#include "setup/XcpCommands.h"

#include <QDialog>
#include <QStringList>
#include <QTimer>

class CDevice;
class QPushButton;

class CXcpStatusDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPollMs = 1000;
    static constexpr int kIndentChars = 5; // lines start this many character widths in
    static constexpr int kLinePitch = 2;   // text heights from one line to the next

    explicit CXcpStatusDlg(CDevice& device, QWidget* parent = nullptr);

    // Asks every K module for its status now and draws the lines.
    void Poll();
    const QStringList& GetLines() const { return m_lines; }
    bool IsPolling() const { return m_timer.isActive(); }
    QWidget* LinesArea() const { return m_area; }
    QPushButton* CloseButton() const { return m_close; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    CXcpCommands m_xcp;
    QTimer m_timer;
    QStringList m_lines;
    QWidget* m_area;
    QPushButton* m_close;
};

// The menu command "XCP Status...": the window on the recorder, modal.
void RunXcpStatusDlg(CDevice& device, QWidget* parent);
