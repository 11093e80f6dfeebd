// The rows of one list of the card file transfer, with the columns "FileName", "Date" and
// "Size" and an icon by the kind of file.
#pragma once

#include "setup/TransferRows.h"

#include <QAbstractTableModel>

#include <vector>

class CTransferRowModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(std::vector<TransferRow> rows);
    const std::vector<TransferRow>& Rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Initial column widths in characters.
    static constexpr int kWidths[TransferColumn::kCount] = {18, 15, 10};

private:
    std::vector<TransferRow> m_rows;
};
