#include "ui/dialogs/GeneralPage.h"

#include "setup/OptionChecks.h"
#include "ui/dialogs/DialogText.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::optional<std::string> ChooseCalibrationFile(QWidget* parent, const std::string& start) {
    const QString path = QFileDialog::getOpenFileName(
        parent, QStringLiteral("Import from a Calibration Template File"), ToQString(start),
        QStringLiteral("Calibration Template Files (*.cal *.tmp)"));
    if (path.isEmpty())
        return std::nullopt;
    return ToStdString(path);
}

} // namespace

CGeneralPage::CGeneralPage(CRecorderSettings& values, IPrompt& prompt, QWidget* parent)
    : COptionPage(values, prompt, parent),
      m_multiZt300(new QCheckBox(QStringLiteral("Multi_ZT300."), this)),
      m_calRef(new QCheckBox(QStringLiteral("Refer Cal Info when loading condition."), this)),
      m_calFile(new QLineEdit(ToQString(values.m_calFileRef), this)),
      m_calFileButton(new QPushButton(QStringLiteral("..."), this)),
      m_balWarn(new QLineEdit(QString::number(values.m_balWarnPercent), this)),
      m_chooseFile(
          [this](const std::string& start) { return ChooseCalibrationFile(this, start); }) {
    m_multiZt300->setObjectName("multiZt300");
    m_calRef->setObjectName("calRef");
    m_calFile->setObjectName("calFile");
    m_calFileButton->setObjectName("calFileButton");
    m_balWarn->setObjectName("balWarn");
    m_multiZt300->setChecked(values.m_multiZt300 != 0);
    m_calRef->setChecked(values.m_calRef != 0);
    m_balWarn->setMaximumWidth(60);
    m_calFileButton->setMaximumWidth(32);

    auto* calFileRow = new QHBoxLayout;
    calFileRow->addWidget(new QLabel(QStringLiteral("Cal File : "), this));
    calFileRow->addWidget(m_calFile, 1);
    calFileRow->addWidget(m_calFileButton);

    auto* balance = new QGroupBox(QStringLiteral("Balance :"), this);
    auto* balanceRow = new QHBoxLayout(balance);
    balanceRow->addWidget(
        new QLabel(QStringLiteral("Warning if  the balance residual value exceed"), balance));
    balanceRow->addWidget(m_balWarn);
    balanceRow->addWidget(new QLabel(QStringLiteral("%"), balance));
    balanceRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_multiZt300);
    layout->addWidget(m_calRef);
    layout->addLayout(calFileRow);
    layout->addWidget(balance);
    layout->addStretch(1);

    connect(m_calRef, &QCheckBox::toggled, this, &CGeneralPage::UpdateCalFileEnabled);
    connect(m_calFileButton, &QPushButton::clicked, this, &CGeneralPage::ChooseCalFile);
    UpdateCalFileEnabled();
}

void CGeneralPage::UpdateCalFileEnabled() {
    m_calFile->setEnabled(m_calRef->isChecked());
    m_calFileButton->setEnabled(m_calRef->isChecked());
}

void CGeneralPage::ChooseCalFile() {
    if (const std::optional<std::string> path = m_chooseFile(ToStdString(m_calFile->text())))
        m_calFile->setText(ToQString(*path));
}

bool CGeneralPage::Leave() {
    std::uint16_t balWarn = m_values.m_balWarnPercent;
    if (!Accept(CheckBalWarnPercent(ToStdString(m_balWarn->text()), balWarn), m_balWarn))
        return false;
    m_values.m_balWarnPercent = balWarn;
    m_values.m_multiZt300 = m_multiZt300->isChecked() ? 1 : 0;
    m_values.m_calRef = m_calRef->isChecked() ? 1 : 0;
    m_values.m_calFileRef = ToStdString(m_calFile->text());
    return true;
}
