#include "ui/files/TransferRowModel.h"

#include "ui/dialogs/DialogText.h"

#include <QApplication>
#include <QStyle>

namespace {

constexpr const char* kHeaders[TransferColumn::kCount] = {"FileName", "Date", "Size"};

// Headers, data and voice notes are told apart at a glance.
QIcon FileIcon(const std::string& name) {
    const QString lower = ToQString(name).toLower();
    QStyle* style = QApplication::style();
    if (lower.endsWith(QStringLiteral(".hdr")))
        return style->standardIcon(QStyle::SP_FileDialogContentsView);
    if (lower.endsWith(QStringLiteral(".wav")))
        return style->standardIcon(QStyle::SP_MediaVolume);
    return style->standardIcon(QStyle::SP_FileIcon);
}

} // namespace

void CTransferRowModel::SetRows(std::vector<TransferRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int CTransferRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CTransferRowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TransferColumn::kCount;
}

QVariant CTransferRowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TransferRow& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return ToQString(row.Column(index.column()));
    case Qt::DecorationRole:
        return index.column() == TransferColumn::kName ? FileIcon(row.name) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == TransferColumn::kSize ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                       : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CTransferRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= TransferColumn::kCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kHeaders[section]);
    if (role == Qt::TextAlignmentRole && section == TransferColumn::kSize)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}
