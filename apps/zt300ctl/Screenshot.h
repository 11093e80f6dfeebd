// --screenshot: a picture of the main window (with any dialog open above it) taken a while after
// start-up, then the program ends, whatever it is doing by then.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QWidget;

class CScreenshot : public QObject {
    Q_OBJECT

public:
    CScreenshot(QWidget& window, QString path, int delayMs);

    // Runs the program's event loop until the picture is taken (at once when it was taken while
    // the program was still starting), then closes the window.
    int Exec();
    bool IsTaken() const { return m_taken; }

private:
    void Take();
    // Dialogs still open, and those opened while the program ends, are dismissed (a progress
    // window's operation is cancelled).
    void DismissDialogs();

    QWidget& m_window;
    QString m_path;
    QTimer m_shot;
    QTimer m_dismiss;
    bool m_taken = false;
    bool m_saved = false;
};
