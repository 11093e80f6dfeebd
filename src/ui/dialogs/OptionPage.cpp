#include "ui/dialogs/OptionPage.h"

#include <QLineEdit>

COptionPage::COptionPage(CRecorderSettings& values, IPrompt& prompt, QWidget* parent)
    : QWidget(parent), m_values(values), m_prompt(prompt) {}

bool COptionPage::Accept(const std::optional<std::string>& refusal, QLineEdit* field,
                         PromptIcon icon) {
    if (!refusal)
        return true;
    emit ValueRefused(this);
    m_prompt.MessageBox(*refusal, icon);
    field->setFocus();
    field->selectAll();
    return false;
}
