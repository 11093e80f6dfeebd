#include "ui/files/FileListView.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

void SetUpFileList(QTableView* list) {
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(false);
    list->setWordWrap(false);
    list->setIconSize(QSize(16, 16));
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    list->horizontalHeader()->setSectionsClickable(true);
    list->horizontalHeader()->setHighlightSections(false);
}

void FitFileListColumns(QTableView* list, std::span<const int> widths) {
    const int character = list->fontMetrics().averageCharWidth();
    const QAbstractItemView* view = list; // where the contents' width is public
    for (std::size_t column = 0; column < widths.size(); ++column) {
        const int index = static_cast<int>(column);
        list->setColumnWidth(index,
                             std::max({widths[column] * character, view->sizeHintForColumn(index),
                                       list->horizontalHeader()->sectionSizeHint(index)}));
    }
}
