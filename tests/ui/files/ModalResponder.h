// Answers the modal windows a test's dialog opens: message boxes with the answers queued (the
// default button otherwise), their texts kept; any other modal dialog goes to a handler.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <deque>
#include <functional>

class CModalResponder : public QObject {
public:
    CModalResponder() {
        connect(&m_timer, &QTimer::timeout, this, &CModalResponder::Answer);
        m_timer.start(10);
    }

    QStringList m_texts;
    std::deque<QMessageBox::StandardButton> m_answers;
    std::function<void(QDialog&)> m_onDialog;

private:
    void Answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_texts << box->text();
            if (m_answers.empty()) {
                box->accept();
                return;
            }
            QAbstractButton* button = box->button(m_answers.front());
            m_answers.pop_front();
            if (button != nullptr)
                button->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && m_onDialog) {
            m_onDialog(*dialog);
        }
    }

    QTimer m_timer;
};
