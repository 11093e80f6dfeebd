// The recorder clock: the PC's and the recorder's date and time, read every second, and the
// button that sets the recorder's clock from the PC.
#pragma once

#include <QDialog>
#include <QTimer>

class CDevice;
class IClock;
class QLabel;
class QPushButton;

class CRtcDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 1000;
    // Shown in the recorder fields when its clock cannot be read.
    static constexpr const char* kNoClockText = "-";

    CRtcDlg(CDevice& device, const IClock& clock, QWidget* parent = nullptr);

    // Reads both clocks now; closes the dialog when the recorder's cannot be read.
    void Refresh();

    QLabel* PcDate() const { return m_pcDate; }
    QLabel* PcTime() const { return m_pcTime; }
    QLabel* DeviceDate() const { return m_deviceDate; }
    QLabel* DeviceTime() const { return m_deviceTime; }
    QPushButton* SetButton() const { return m_set; }
    bool IsRefreshing() const { return m_timer.isActive(); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void SetFromPc();
    QLabel* AddValue(const char* name);

    CDevice& m_device;
    const IClock& m_clock;
    QTimer m_timer;
    QLabel* m_pcDate;
    QLabel* m_pcTime;
    QLabel* m_deviceDate;
    QLabel* m_deviceTime;
    QPushButton* m_set;
};
