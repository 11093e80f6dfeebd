// The recordings "View ACQ Files" lists, with the columns "FileName", "Date", "TestInfo",
// "Memo1", "Memo2" and "SamplingRate".
#pragma once

#include "setup/RecordList.h"

#include <QAbstractTableModel>

class CRecordRowModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit CRecordRowModel(CRecordList& list, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_list(list) {}

    // The list's rows changed as a whole (filled or sorted), or one row.
    void Reset();
    void RowChanged(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Initial column widths in characters.
    static constexpr int kWidths[RecordColumn::kCount] = {30, 20, 40, 30, 30, 10};

private:
    CRecordList& m_list;
};
