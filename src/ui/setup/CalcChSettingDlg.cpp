#include "ui/setup/CalcChSettingDlg.h"

#include "conditions/ConditionTables.h"
#include "framework/Prompt.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

QString ToQt(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQt(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace

CCalcChSettingDlg::CCalcChSettingDlg(const CChannelTableCalcSetting& setting, int channelNumber,
                                     IPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_setting(setting), m_prompt(prompt),
      m_number(new QLabel(QStringLiteral("Ch%1").arg(channelNumber), this)),
      m_name(new QLineEdit(ToQt(setting.m_name), this)),
      m_unit(new QLineEdit(ToQt(setting.m_unit), this)), m_function(new QComboBox(this)),
      m_max(new QLineEdit(QString::number(setting.m_max, 'f', 3), this)),
      m_min(new QLineEdit(QString::number(setting.m_min, 'f', 3), this)) {
    setWindowTitle(QStringLiteral("Calc Ch Setting"));
    for (std::string_view formula : ConditionTables::kCalcFunctions)
        m_function->addItem(QString::fromLatin1(formula.data(), formula.size()));
    const bool known = setting.m_function >= 0 && setting.m_function < m_function->count();
    m_function->setCurrentIndex(known ? setting.m_function : -1);

    auto* argRow = new QHBoxLayout;
    const auto* whole = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,10}"), this);
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        m_args[i] = new QLineEdit(QString::number(setting.m_args[i]), this);
        m_args[i]->setValidator(whole);
        argRow->addWidget(m_args[i]);
    }
    // Values are written and read in the C locale, as the condition file holds them.
    auto* real = new QDoubleValidator(this);
    real->setLocale(QLocale::c());
    m_max->setValidator(real);
    m_min->setValidator(real);

    auto* grid = new QGridLayout;
    grid->addWidget(m_number, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Name :"), this), 1, 0);
    grid->addWidget(m_name, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Unit :"), this), 2, 0);
    grid->addWidget(m_unit, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Function :"), this), 3, 0);
    grid->addWidget(m_function, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Argument :"), this), 4, 0);
    grid->addLayout(argRow, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("MAX  :"), this), 5, 0);
    grid->addWidget(m_max, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("MIN :"), this), 6, 0);
    grid->addWidget(m_min, 6, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, 7, 0, 1, 2);
    setLayout(grid);

    connect(buttons, &QDialogButtonBox::accepted, this, &CCalcChSettingDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCalcChSettingDlg::reject);
    connect(m_function, &QComboBox::currentIndexChanged, this, &CCalcChSettingDlg::EnableArguments);
    EnableArguments();
}

void CCalcChSettingDlg::EnableArguments() {
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        m_args[i]->setEnabled(CChannelTableCalcSetting::ArgumentEnabled(m_function->currentIndex(),
                                                                        static_cast<int>(i)));
    }
}

CChannelTableCalcSetting CCalcChSettingDlg::ReadControls() const {
    CChannelTableCalcSetting setting;
    setting.m_name = FromQt(m_name->text());
    setting.m_unit = FromQt(m_unit->text());
    setting.m_function = m_function->currentIndex();
    for (std::size_t i = 0; i < m_args.size(); ++i)
        setting.m_args[i] = m_args[i]->text().toUInt();
    setting.m_max = m_max->text().toDouble();
    setting.m_min = m_min->text().toDouble();
    return setting;
}

void CCalcChSettingDlg::accept() {
    const CChannelTableCalcSetting setting = ReadControls();
    if (!setting.Check(m_prompt)) {
        QApplication::beep();
        return;
    }
    m_setting = setting;
    QDialog::accept();
}
