// "FV Amp Setting": input type, function, divider and smoothing of a frequency module channel.
#pragma once

#include "setup/ChannelTableFvSetting.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class QSpinBox;

class CFvAmpSettingDlg : public QDialog {
    Q_OBJECT

public:
    explicit CFvAmpSettingDlg(const CChannelTableFvSetting& setting, QWidget* parent = nullptr);

    // The values in force after OK.
    const CChannelTableFvSetting& Setting() const { return m_setting; }

    QComboBox* InputBox() const { return m_input; }
    QComboBox* ModeBox() const { return m_mode; }
    QSpinBox* DividerBox() const { return m_divider; }
    QSpinBox* SmoothingBox() const { return m_smoothing; }
    QPushButton* OkButton() const { return m_ok; }

    void accept() override;

private:
    void EnableOk();

    CChannelTableFvSetting m_setting;
    QComboBox* m_input;
    QComboBox* m_mode;
    QSpinBox* m_divider;
    QSpinBox* m_smoothing;
    QPushButton* m_ok = nullptr;
};
