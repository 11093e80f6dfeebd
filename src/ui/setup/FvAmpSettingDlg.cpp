#include "ui/setup/FvAmpSettingDlg.h"

#include "conditions/ConditionTables.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

namespace {

QString TableText(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CFvAmpSettingDlg::CFvAmpSettingDlg(const CChannelTableFvSetting& setting, QWidget* parent)
    : QDialog(parent), m_setting(setting), m_input(new QComboBox(this)),
      m_mode(new QComboBox(this)), m_divider(new QSpinBox(this)), m_smoothing(new QSpinBox(this)) {
    setWindowTitle(QStringLiteral("FV Amp Setting"));
    for (std::string_view input : ConditionTables::kFvInputs)
        m_input->addItem(TableText(input));
    m_input->setCurrentIndex(
        setting.m_input >= 0 && setting.m_input < m_input->count() ? setting.m_input : -1);
    for (int mode : setting.m_modeChoices) {
        m_mode->addItem(TableText(ConditionTables::kFvModes[static_cast<std::size_t>(mode)]), mode);
    }
    m_mode->setCurrentIndex(m_mode->findData(setting.m_mode));
    m_divider->setRange(CChannelTableFvSetting::kDividerMin, CChannelTableFvSetting::kDividerMax);
    m_divider->setValue(setting.m_divider);
    m_smoothing->setRange(CChannelTableFvSetting::kSmoothingMin,
                          CChannelTableFvSetting::kSmoothingMax);
    m_smoothing->setValue(setting.m_smoothing);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Interface Type ( fin ) :"), m_input);
    form->addRow(QStringLiteral("fme  :"), m_mode);
    form->addRow(QStringLiteral("Frequency DIV ( fdv ) :"), m_divider);
    form->addRow(QStringLiteral("Smoothing Factor ( fsm ) :"), m_smoothing);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    form->addRow(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CFvAmpSettingDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFvAmpSettingDlg::reject);
    connect(m_input, &QComboBox::currentIndexChanged, this, &CFvAmpSettingDlg::EnableOk);
    connect(m_mode, &QComboBox::currentIndexChanged, this, &CFvAmpSettingDlg::EnableOk);
    EnableOk();
}

void CFvAmpSettingDlg::EnableOk() {
    m_ok->setEnabled(m_input->currentIndex() >= 0 && m_mode->currentIndex() >= 0);
}

void CFvAmpSettingDlg::accept() {
    if (m_input->currentIndex() < 0 || m_mode->currentIndex() < 0)
        return;
    m_setting.m_input = m_input->currentIndex();
    m_setting.m_mode = m_mode->currentData().toInt();
    m_setting.m_divider = m_divider->value();
    m_setting.m_smoothing = m_smoothing->value();
    QDialog::accept();
}
