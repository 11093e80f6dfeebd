// The log of a measurement: a list of time-stamped lines that scrolls to the newest.
#pragma once

#include <QListWidget>

class CLogView : public QListWidget {
    Q_OBJECT

public:
    static constexpr int kMaxLines = 999;

    explicit CLogView(QWidget* parent = nullptr);
    // Appends and selects the line; a full list is emptied first.
    void AddLine(const QString& text);
};
