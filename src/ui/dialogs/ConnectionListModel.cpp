#include "ui/dialogs/ConnectionListModel.h"

#include "ui/dialogs/DialogText.h"

CConnectionListModel::CConnectionListModel(const std::vector<RecorderEntry>& recorders,
                                           ConnectionTicks ticks, bool singleChoice,
                                           QObject* parent)
    : QAbstractTableModel(parent), m_recorders(recorders), m_ticks(std::move(ticks)),
      m_singleChoice(singleChoice) {}

int CConnectionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_recorders.size());
}

int CConnectionListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CConnectionListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::CheckStateRole && index.column() == kNumberColumn)
        return m_ticks[row] ? Qt::Checked : Qt::Unchecked;
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case kNumberColumn:
        return index.row() + 1;
    case kAddressColumn:
        return ToQString(m_recorders[row].address);
    default:
        return ToQString(m_recorders[row].name);
    }
}

bool CConnectionListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() != kNumberColumn)
        return false;
    const bool ticked = value.toInt() == Qt::Checked;
    SetConnectionTick(m_ticks, static_cast<std::size_t>(index.row()), ticked, m_singleChoice);
    emit dataChanged(this->index(0, kNumberColumn), this->index(rowCount() - 1, kNumberColumn),
                     {Qt::CheckStateRole});
    emit TicksChanged();
    return true;
}

Qt::ItemFlags CConnectionListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == kNumberColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant CConnectionListModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case kNumberColumn:
        return QStringLiteral("No.");
    case kAddressColumn:
        return QStringLiteral("IP Address");
    default:
        return QStringLiteral("Name");
    }
}
