#include "ui/QtMessageTarget.h"

CQtMessageTarget::CQtMessageTarget(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)) {}

// Queued calls to one receiver are delivered one by one in posting order, whatever thread posts.
void CQtMessageTarget::Post(int id, std::intptr_t wparam, std::intptr_t lparam) {
    QMetaObject::invokeMethod(
        this, [this, id, wparam, lparam] { m_handler(id, wparam, lparam); }, Qt::QueuedConnection);
}
