// The choice at start-up: work with recorders on the network, or offline.
#pragma once

#include <QDialog>
#include <QStyle>

class QPushButton;

class CWelcomeDlg : public QDialog {
    Q_OBJECT

public:
    enum class Choice { Connect, NoConnection };

    explicit CWelcomeDlg(QWidget* parent = nullptr);

    // Closing the dialog without a choice works offline.
    Choice GetChoice() const { return m_choice; }

    QPushButton* ConnectButton() const { return m_connect; }
    QPushButton* NoConnectionButton() const { return m_noConnection; }

private:
    QPushButton* AddChoice(const QString& name, const QString& text, QStyle::StandardPixmap icon,
                           Choice choice);

    Choice m_choice = Choice::NoConnection;
    QPushButton* m_connect;
    QPushButton* m_noConnection;
};
