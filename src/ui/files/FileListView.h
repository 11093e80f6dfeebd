// The look the file lists of both dialogs share: whole rows selected, several at a time, no grid,
// and columns at least as wide as the characters they are meant for and as their contents.
#pragma once

#include <span>

class QTableView;

void SetUpFileList(QTableView* list);
// `widths` in character widths of the list's font, one per column.
void FitFileListColumns(QTableView* list, std::span<const int> widths);
