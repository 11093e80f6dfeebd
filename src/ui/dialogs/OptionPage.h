// A page of the option sheet: shows the sheet's copy of the settings and writes the edited values
// back into it when the page is left, refusing to be left while a value is out of range.
#pragma once

#include "acquisition/RecorderSettings.h"
#include "framework/Prompt.h"

#include <QWidget>

#include <optional>
#include <string>

class QLineEdit;

class COptionPage : public QWidget {
    Q_OBJECT

public:
    COptionPage(CRecorderSettings& values, IPrompt& prompt, QWidget* parent = nullptr);

    // Checks the fields and takes them into the values; false (with the message shown and the
    // field focused) when a field is refused.
    virtual bool Leave() = 0;

signals:
    // Sent before a refusal is shown, so that the sheet brings the page forward.
    void ValueRefused(COptionPage* page);

protected:
    // Shows `refusal` when there is one and puts the caret into `field`; true when accepted.
    bool Accept(const std::optional<std::string>& refusal, QLineEdit* field,
                PromptIcon icon = PromptIcon::Exclamation);

    CRecorderSettings& m_values;
    IPrompt& m_prompt;
};
