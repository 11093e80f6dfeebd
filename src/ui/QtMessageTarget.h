// Posted messages delivered on the UI thread, in the order they were posted, through the Qt
// event loop.
#pragma once

#include "framework/MessageTarget.h"

#include <QObject>

#include <functional>

class CQtMessageTarget : public QObject, public IMessageTarget {
    Q_OBJECT

public:
    using Handler = std::function<void(int id, std::intptr_t wparam, std::intptr_t lparam)>;

    // Lives on the thread that creates it (the UI thread); `handler` runs there.
    explicit CQtMessageTarget(Handler handler, QObject* parent = nullptr);

    void Post(int id, std::intptr_t wparam = 0, std::intptr_t lparam = 0) override;

private:
    Handler m_handler;
};
