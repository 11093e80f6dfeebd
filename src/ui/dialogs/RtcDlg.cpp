#include "ui/dialogs/RtcDlg.h"

#include "device/Device.h"
#include "device/RecorderClock.h"
#include "framework/Clock.h"
#include "ui/dialogs/DialogText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CRtcDlg::CRtcDlg(CDevice& device, const IClock& clock, QWidget* parent)
    : QDialog(parent), m_device(device), m_clock(clock), m_pcDate(AddValue("pcDate")),
      m_pcTime(AddValue("pcTime")), m_deviceDate(AddValue("deviceDate")),
      m_deviceTime(AddValue("deviceTime")),
      m_set(new QPushButton(QStringLiteral("Set PC time to the device"), this)) {
    setWindowTitle(QStringLiteral("RTC Setting"));
    m_set->setObjectName("setButton");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Date"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Time"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("PC :"), this), 1, 0);
    grid->addWidget(m_pcDate, 1, 1);
    grid->addWidget(m_pcTime, 1, 2);
    grid->addWidget(new QLabel(ToQString(device.GetDeviceName()) + QStringLiteral(" :"), this), 2,
                    0);
    grid->addWidget(m_deviceDate, 2, 1);
    grid->addWidget(m_deviceTime, 2, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_set, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    m_timer.setInterval(kRefreshMs);
    connect(&m_timer, &QTimer::timeout, this, &CRtcDlg::Refresh);
    connect(m_set, &QPushButton::clicked, this, &CRtcDlg::SetFromPc);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRtcDlg::reject);
}

QLabel* CRtcDlg::AddValue(const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setMinimumWidth(90);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

void CRtcDlg::Refresh() {
    const LinkRtc pc = RtcFromLocalTime(m_clock.GetLocalTime());
    m_pcDate->setText(ToQString(FormatRtcDate(pc)));
    m_pcTime->setText(ToQString(FormatRtcTime(pc)));
    std::string date;
    std::string time;
    if (m_device.GetRTC(date, time)) {
        m_deviceDate->setText(ToQString(date));
        m_deviceTime->setText(ToQString(time));
        return;
    }
    m_deviceDate->setText(QString::fromLatin1(kNoClockText));
    m_deviceTime->setText(QString::fromLatin1(kNoClockText));
    m_timer.stop();
    reject();
}

void CRtcDlg::SetFromPc() {
    // The timer waits while the result is shown, so no read runs under the message box.
    m_timer.stop();
    m_device.SetRTCFromPCAndReport();
    if (isVisible()) {
        m_timer.start();
        Refresh();
    }
}

void CRtcDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_timer.start();
    // Read once the dialog runs: closing it while exec() is still showing it would leave exec()
    // waiting on a hidden dialog.
    QTimer::singleShot(0, this, &CRtcDlg::Refresh);
}

void CRtcDlg::hideEvent(QHideEvent* event) {
    m_timer.stop();
    QDialog::hideEvent(event);
}
