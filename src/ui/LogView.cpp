#include "ui/LogView.h"

#include <QFontDatabase>

CLogView::CLogView(QWidget* parent) : QListWidget(parent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setUniformItemSizes(true);
}

void CLogView::AddLine(const QString& text) {
    if (count() >= kMaxLines)
        clear();
    addItem(text);
    setCurrentRow(count() - 1);
}
