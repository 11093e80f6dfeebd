// "Calc Ch Setting": name, unit, function, arguments and scale of one calculation channel.
#pragma once

#include "setup/ChannelTableCalcSetting.h"

#include <QDialog>

#include <array>

class IPrompt;
class QComboBox;
class QLabel;
class QLineEdit;

class CCalcChSettingDlg : public QDialog {
    Q_OBJECT

public:
    CCalcChSettingDlg(const CChannelTableCalcSetting& setting, int channelNumber, IPrompt& prompt,
                      QWidget* parent = nullptr);

    // The values in force after OK.
    const CChannelTableCalcSetting& Setting() const { return m_setting; }

    QLabel* NumberLabel() const { return m_number; }
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* UnitEdit() const { return m_unit; }
    QComboBox* FunctionBox() const { return m_function; }
    QLineEdit* ArgumentEdit(int i) const { return m_args[static_cast<std::size_t>(i)]; }
    QLineEdit* MaxEdit() const { return m_max; }
    QLineEdit* MinEdit() const { return m_min; }

    void accept() override;

private:
    void EnableArguments();
    CChannelTableCalcSetting ReadControls() const;

    CChannelTableCalcSetting m_setting;
    IPrompt& m_prompt;
    QLabel* m_number;
    QLineEdit* m_name;
    QLineEdit* m_unit;
    QComboBox* m_function;
    std::array<QLineEdit*, 4> m_args{};
    QLineEdit* m_max;
    QLineEdit* m_min;
};
