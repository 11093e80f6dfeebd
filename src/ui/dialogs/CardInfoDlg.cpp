#include "ui/dialogs/CardInfoDlg.h"

#include "device/Device.h"
#include "setup/OptionCardInfo.h"
#include "ui/dialogs/DialogText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CCardInfoDlg::CCardInfoDlg(CDevice& device, QWidget* parent)
    : QDialog(parent), m_device(device), m_info(new QLabel(this)),
      m_refresh(new QPushButton(QStringLiteral("Refresh"), this)) {
    setWindowTitle(QStringLiteral("Card Info"));
    m_info->setObjectName("cardInfo");
    m_info->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* name =
        new QLabel(ToQString(device.GetDeviceName() + " (" + device.GetAddress() + ")"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_refresh, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(m_info);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_refresh, &QPushButton::clicked, this, &CCardInfoDlg::ReadCard);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCardInfoDlg::reject);
    m_refresh->setEnabled(device.IsConnected());
    ShowInfo();
}

void CCardInfoDlg::ShowInfo() {
    QStringList lines;
    for (const std::string& line : CardInfoLines(m_device.GetCardInfo()))
        lines << ToQString(line);
    m_info->setText(lines.join(QLatin1Char('\n')));
}

void CCardInfoDlg::ReadCard() {
    m_device.ScanCard();
    ShowInfo();
}
