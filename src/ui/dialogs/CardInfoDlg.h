// "Card Info": what the recorder last reported of its memory card, read again on request.
#pragma once

#include <QDialog>

class CDevice;
class QLabel;
class QPushButton;

class CCardInfoDlg : public QDialog {
    Q_OBJECT

public:
    explicit CCardInfoDlg(CDevice& device, QWidget* parent = nullptr);

    QLabel* InfoText() const { return m_info; }
    QPushButton* RefreshButton() const { return m_refresh; }

private:
    void ShowInfo();
    void ReadCard();

    CDevice& m_device;
    QLabel* m_info;
    QPushButton* m_refresh;
};
