// The "ACQ Mode" page of the option sheet: start and stop from the external input module, the
// two-figure control and mark codes typed at the monitor, mark forwarding, and the switch of
// relay control.
#pragma once

#include "ui/dialogs/OptionPage.h"

#include <functional>

class QCheckBox;
class QLineEdit;

class CACQModePage : public COptionPage {
    Q_OBJECT

public:
    // Whether the external input module's driver can be loaded now.
    using InputProbe = std::function<bool()>;

    CACQModePage(CRecorderSettings& values, IPrompt& prompt, const InputProbe& externalInput,
                 QWidget* parent = nullptr);

    bool Leave() override;

private:
    QLineEdit* AddCodeField(const char* name, const std::string& code);

    QCheckBox* m_externalSignal;
    QCheckBox* m_ctrlInput;
    QLineEdit* m_startCode;
    QLineEdit* m_stopCode;
    QLineEdit* m_pauseCode;
    QCheckBox* m_realTimeMark;
    QCheckBox* m_useQu800;
    QCheckBox* m_relayControl;
};
