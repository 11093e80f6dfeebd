// The shared progress window: a text line, a bar, a percentage and a Cancel button that the
// caller polls. Its owner is disabled while it shows.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class CProgressWnd : public QDialog {
    Q_OBJECT

public:
    explicit CProgressWnd(QWidget* owner);
    ~CProgressWnd() override;

    void Open(const QString& title, const QString& text);
    void SetText(const QString& text);
    void SetRange(int low, int high);
    // Processes pending window messages first, then moves the bar and the percentage.
    void SetPos(int pos);
    void ShowBar(bool show);
    void ShowPercent(bool show);
    void ShowCancel(bool show);
    void SetCancelText(const QString& text);
    // Processes pending messages; true once after Cancel was pressed.
    bool CheckCancel();
    void Close();

    QString Text() const;
    QString PercentText() const;

    // Escape and the window's close button act as Cancel while it shows; the caller closes the
    // window when its operation has stopped.
    void reject() override;

private:
    void EnableOwner(bool enable);

    QWidget* m_owner;
    QLabel* m_text;
    QProgressBar* m_bar;
    QLabel* m_percent;
    QPushButton* m_cancel;
    int m_low = 0;
    int m_high = 100;
    bool m_cancelled = false;
    bool m_ownerDisabled = false;
};
