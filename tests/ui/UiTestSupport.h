// What the widget tests share: the wait for threads and timers, a responder to the modal windows
// a test's code opens, the rows and columns of lists as texts, pictures of windows and the demo
// program's options.
#pragma once

#include "ui/RecorderApp.h"
#include "ui/grid/GridModel.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <functional>

// Waits for what timers and threads deliver: generous, since a loaded machine is slow.
constexpr int kSlowMs = 20000;

// Two demo recorders, the second a ZT-500.
inline const std::string kDemoRecorders = "127_0_0_2_ZT-300,127_0_0_3_ZT-500";

// Answers the modal windows a test's code opens: message boxes with the answers queued (the
// default button otherwise), their texts kept; any other modal dialog goes to a handler.
class CModalResponder : public QObject {
public:
    explicit CModalResponder(std::function<void(QDialog&)> onDialog = {})
        : m_onDialog(std::move(onDialog)) {
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

// The display texts of one column of a list, top to bottom.
inline QStringList Column(const QAbstractItemView* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        texts << list->model()->index(row, column).data().toString();
    return texts;
}

// The display texts of one row of a list, left to right.
inline QStringList Row(const QAbstractItemView* list, int row) {
    QStringList texts;
    for (int column = 0; column < list->model()->columnCount(); ++column)
        texts << list->model()->index(row, column).data().toString();
    return texts;
}

// The texts of one row of a grid, its fixed column first.
inline QStringList GridRow(const CGridModel& model, int row) {
    QStringList texts;
    for (int column = 0; column < model.GridColumns(); ++column)
        texts << model.Cell(row, column).text;
    return texts;
}

// A picture of the window as a user sees it, in $ZT300_SCREENSHOTS or the temporary folder.
inline bool SaveShot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("ZT300_SCREENSHOTS", QDir::tempPath());
    return widget.grab().save(QDir(folder).filePath(name));
}

// The demo program with its settings and data in `dir`, without the welcome choice.
inline AppOptions DemoOptions(const QTemporaryDir& dir, bool demo = true) {
    AppOptions options;
    options.demo = demo;
    options.welcome = false;
    options.settingsPath = dir.filePath("zt300ctl.ini").toStdString();
    options.dataFolder = dir.filePath("data").toStdString();
    return options;
}
