// The "General" page of the option sheet: several recorders per document, the calibration file
// referred to when a condition loads, and the balance residual warning limit.
#pragma once

#include "ui/dialogs/OptionPage.h"

#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

class CGeneralPage : public COptionPage {
    Q_OBJECT

public:
    // Asks for a calibration template file, starting at the given one; nothing when cancelled.
    using FileChooser = std::function<std::optional<std::string>(const std::string& start)>;

    CGeneralPage(CRecorderSettings& values, IPrompt& prompt, QWidget* parent = nullptr);

    bool Leave() override;
    // Tests choose without a file dialog.
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

private:
    void UpdateCalFileEnabled();
    void ChooseCalFile();

    QCheckBox* m_multiZt300;
    QCheckBox* m_calRef;
    QLineEdit* m_calFile;
    QPushButton* m_calFileButton;
    QLineEdit* m_balWarn;
    FileChooser m_chooseFile;
};
