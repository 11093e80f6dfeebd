// The "Chart" page of the option sheet: chart arrangement, chart width with its grid step,
// vertical grid count and the decimals of shown values.
#pragma once

#include "ui/dialogs/OptionPage.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

class CChartPage : public COptionPage {
    Q_OBJECT

public:
    CChartPage(CRecorderSettings& values, IPrompt& prompt, QWidget* parent = nullptr);

    bool Leave() override;

private:
    void ChooseWidth(int row);
    void UpdateYGridEnabled();

    QRadioButton* m_separate;
    QRadioButton* m_common;
    QComboBox* m_xWidth;
    QLineEdit* m_xGrid;
    QLineEdit* m_yGridCnt;
    QComboBox* m_decimalDigit;
    int m_widthSeconds = 0;
};
