#include "ui/dialogs/ConfigIpDlg.h"

#include "setup/OptionConnection.h"
#include "ui/dialogs/IpAddressEdit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

CConfigIpDlg::CConfigIpDlg(const std::string& oldAddress, QWidget* parent)
    : QDialog(parent), m_old(new CIpAddressEdit(this)), m_new(new CIpAddressEdit(this)),
      m_mask(new CIpAddressEdit(this)), m_gateway(new CIpAddressEdit(this)) {
    setWindowTitle(QStringLiteral("Config IP Addres"));
    m_old->SetText(oldAddress);
    m_new->SetText(kDefaultRecorderAddress);
    m_mask->SetText(kDefaultAddressMask);
    m_gateway->SetText(kDefaultGateway);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Old IP Addr :"), m_old);
    form->addRow(QStringLiteral("New IP Addr :"), m_new);
    form->addRow(QStringLiteral("Mask :"), m_mask);
    form->addRow(QStringLiteral("Gateway :"), m_gateway);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CConfigIpDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CConfigIpDlg::reject);
    m_new->setFocus();
}

std::string CConfigIpDlg::GetOldAddress() const {
    return m_old->Text();
}

std::string CConfigIpDlg::GetNewAddress() const {
    return m_new->Text();
}

std::string CConfigIpDlg::GetMask() const {
    return m_mask->Text();
}

std::string CConfigIpDlg::GetGateway() const {
    return m_gateway->Text();
}
