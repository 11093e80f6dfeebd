#include "ui/relay/PortSettingDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

CPortSettingDlg::CPortSettingDlg(const std::vector<int>& levels, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("NI6525 Port Setting"));
    auto* group = new QGroupBox(QStringLiteral("Initial Value of Outputs:"), this);
    auto* form = new QFormLayout(group);
    for (int port = 0; port < 8; ++port) {
        auto* box = new QComboBox(group);
        box->setObjectName(QStringLiteral("port%1").arg(port + 1));
        box->addItems({QStringLiteral("LOW"), QStringLiteral("HIGH")});
        const auto at = static_cast<std::size_t>(port);
        box->setCurrentIndex(at < levels.size() && levels[at] != 0 ? 1 : 0);
        form->addRow(QStringLiteral("P%1 :").arg(port + 1), box);
        m_ports.push_back(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

std::vector<int> CPortSettingDlg::GetLevels() const {
    std::vector<int> levels;
    for (const QComboBox* box : m_ports)
        levels.push_back(box->currentIndex());
    return levels;
}
