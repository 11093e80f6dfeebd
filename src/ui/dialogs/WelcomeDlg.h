// The choice at start-up: work with recorders on the network, or offline.
#pragma once

#include <QDialog>
#include <QIcon>

class QToolButton;

class CWelcomeDlg : public QDialog {
    Q_OBJECT

public:
    enum class Choice { Connect, NoConnection };

    explicit CWelcomeDlg(QWidget* parent = nullptr);

    // Closing the dialog without a choice works offline.
    Choice GetChoice() const { return m_choice; }

    QToolButton* ConnectButton() const { return m_connect; }
    QToolButton* NoConnectionButton() const { return m_noConnection; }

private:
    QToolButton* AddChoice(const QString& name, const QString& text, const QIcon& picture,
                           Choice choice);

    Choice m_choice = Choice::NoConnection;
    QToolButton* m_connect;
    QToolButton* m_noConnection;
};
