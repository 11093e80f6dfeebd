#include "Screenshot.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

namespace {

constexpr int kDismissIntervalMs = 50;

} // namespace

CScreenshot::CScreenshot(QWidget& window, QString path, int delayMs)
    : m_window(window), m_path(std::move(path)) {
    m_shot.setSingleShot(true);
    m_shot.setInterval(delayMs);
    connect(&m_shot, &QTimer::timeout, this, &CScreenshot::Take);
    m_dismiss.setInterval(kDismissIntervalMs);
    connect(&m_dismiss, &QTimer::timeout, this, &CScreenshot::DismissDialogs);
    m_shot.start();
}

// The timer may fire inside any event loop: a dialog's, a progress window's, or the program's.
// Every loop running then returns; the program's own is not entered any more.
void CScreenshot::Take() {
    QPixmap picture = m_window.grab();
    {
        QPainter painter(&picture);
        const QPoint origin = m_window.mapToGlobal(QPoint(0, 0));
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top != &m_window && top->isVisible() && qobject_cast<QDialog*>(top) != nullptr)
                painter.drawPixmap(top->mapToGlobal(QPoint(0, 0)) - origin, top->grab());
        }
    }
    m_saved = picture.save(m_path);
    if (!m_saved)
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(m_path));
    m_taken = true;
    m_dismiss.start();
    QCoreApplication::exit(m_saved ? 0 : 1);
}

void CScreenshot::DismissDialogs() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(top); dialog != nullptr && dialog->isVisible())
            dialog->reject();
    }
}

int CScreenshot::Exec() {
    if (!m_taken)
        QApplication::exec();
    m_window.close();
    return m_taken && !m_saved ? 1 : 0;
}
