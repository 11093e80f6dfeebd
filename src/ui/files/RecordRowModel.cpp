#include "ui/files/RecordRowModel.h"

#include "ui/dialogs/DialogText.h"

namespace {

constexpr const char* kHeaders[RecordColumn::kCount] = {"FileName", "Date",  "TestInfo",
                                                        "Memo1",    "Memo2", "SamplingRate"};

Qt::Alignment ColumnAlignment(int column) {
    switch (column) {
    case RecordColumn::kDate:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case RecordColumn::kSamplingRate:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

void CRecordRowModel::Reset() {
    beginResetModel();
    endResetModel();
}

void CRecordRowModel::RowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, RecordColumn::kCount - 1));
}

int CRecordRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.GetRows().size());
}

int CRecordRowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RecordColumn::kCount;
}

QVariant CRecordRowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return ToQString(
            m_list.GetRows()[static_cast<std::size_t>(index.row())].Column(index.column()));
    if (role == Qt::TextAlignmentRole)
        return QVariant(ColumnAlignment(index.column()));
    return {};
}

QVariant CRecordRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= RecordColumn::kCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kHeaders[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant(ColumnAlignment(section));
    return {};
}
