#include "ui/dialogs/ACQModePage.h"

#include "setup/OptionChecks.h"
#include "ui/dialogs/DialogText.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace {

// Lets only the keys of the code fields through, typed or pasted.
class CCodeValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        for (QChar key : input) {
            if (key.unicode() > 0x7f || !IsCodeKeyAccepted(static_cast<char>(key.unicode())))
                return Invalid;
        }
        return Acceptable;
    }
};

} // namespace

CACQModePage::CACQModePage(CRecorderSettings& values, IPrompt& prompt,
                           const InputProbe& externalInput, QWidget* parent)
    : COptionPage(values, prompt, parent),
      m_externalSignal(new QCheckBox(QStringLiteral("External Signal START/STOP"), this)),
      m_ctrlInput(new QCheckBox(QStringLiteral("CTL Code Input ( 2 Figure )"), this)),
      m_startCode(AddCodeField("startCode", values.m_rtmStartCode)),
      m_stopCode(AddCodeField("stopCode", values.m_rtmStopCode)),
      m_pauseCode(AddCodeField("pauseCode", values.m_rtmPauseCode)),
      m_realTimeMark(new QCheckBox(QStringLiteral("MARK Code Input"), this)),
      m_useQu800(new QCheckBox(QStringLiteral("Use QU-800"), this)),
      m_relayControl(new QCheckBox(QStringLiteral("Relay Control ( NI_6525 )"), this)) {
    m_externalSignal->setObjectName("externalSignal");
    m_ctrlInput->setObjectName("ctrlInput");
    m_realTimeMark->setObjectName("realTimeMark");
    m_useQu800->setObjectName("useQu800");
    m_externalSignal->setChecked(values.m_externalSignal != 0);
    // Without the driver the box cannot be changed, but it keeps its stored value.
    m_externalSignal->setEnabled(externalInput && externalInput());
    m_ctrlInput->setChecked(values.m_ctrlInput != 0);
    m_realTimeMark->setChecked(values.m_realTimeMark != 0);
    m_useQu800->setChecked(values.m_useQu800 != 0);

    auto* codes = new QGroupBox(this);
    auto* codeForm = new QFormLayout(codes);
    codeForm->addRow(m_ctrlInput);
    codeForm->addRow(QStringLiteral("START"), m_startCode);
    codeForm->addRow(QStringLiteral("STOP"), m_stopCode);
    codeForm->addRow(QStringLiteral("PAUSE"), m_pauseCode);

    // Relay control is switched on here (the relay view and the watch-dog follow it); the relay
    // file and the ports' values pass through unchanged (the ports are set in the relay dialog).
    m_relayControl->setObjectName("relayControl");
    m_relayControl->setChecked(values.m_relayControl != 0);
    auto* relaySetting = new QPushButton(QStringLiteral("..."), this);
    relaySetting->setObjectName("relaySetting");
    relaySetting->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_externalSignal);
    layout->addWidget(codes);
    layout->addWidget(m_realTimeMark);
    layout->addWidget(m_useQu800);
    layout->addWidget(m_relayControl);
    layout->addStretch(1);
}

QLineEdit* CACQModePage::AddCodeField(const char* name, const std::string& code) {
    auto* field = new QLineEdit(ToQString(code), this);
    field->setObjectName(name);
    field->setValidator(new CCodeValidator(field));
    field->setMaximumWidth(60);
    return field;
}

bool CACQModePage::Leave() {
    for (QLineEdit* field : {m_startCode, m_stopCode, m_pauseCode}) {
        const std::string code = ToStdString(field->text());
        if (!Accept(CheckControlCode(m_ctrlInput->isChecked(), code), field, PromptIcon::Stop))
            return false;
    }
    m_values.m_externalSignal = m_externalSignal->isChecked() ? 1 : 0;
    m_values.m_ctrlInput = m_ctrlInput->isChecked() ? 1 : 0;
    m_values.m_rtmStartCode = ToStdString(m_startCode->text());
    m_values.m_rtmStopCode = ToStdString(m_stopCode->text());
    m_values.m_rtmPauseCode = ToStdString(m_pauseCode->text());
    m_values.m_realTimeMark = m_realTimeMark->isChecked() ? 1 : 0;
    m_values.m_useQu800 = m_useQu800->isChecked() ? 1 : 0;
    m_values.m_relayControl = m_relayControl->isChecked() ? 1 : 0;
    return true;
}
