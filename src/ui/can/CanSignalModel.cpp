#include "ui/can/CanSignalModel.h"

#include "setup/CanSetup.h"
#include "ui/can/CanText.h"

#include <QColor>

namespace {

struct Column {
    const char* header;
    int chars;
    Qt::Alignment align;
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

constexpr Column kColumns[CanRow::kColumnCount] = {
    {"Ch", 6, kLeft},   {"MID", 15, kCentre}, {"PID", 4, kCentre}, {"ML", 4, kCentre},
    {"SB", 4, kCentre}, {"DS", 4, kCentre},   {"DL", 4, kCentre},  {"BO", 4, kCentre},
    {"SV", 12, kRight}, {"OV", 12, kRight},   {"BO_", 6, kLeft},   {"SN", 15, kLeft},
    {"DU", 8, kLeft},   {"DT", 8, kLeft}};

constexpr int kCheckColumn = 0;

} // namespace

const QColor CCanSignalModel::kMarkedBackground(255, 214, 170);

CCanSignalModel::CCanSignalModel(CCanSetup& setup, QObject* parent)
    : QAbstractTableModel(parent), m_setup(setup) {}

void CCanSignalModel::Reload() {
    beginResetModel();
    endResetModel();
}

int CCanSignalModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_setup.GetRowCount();
}

int CCanSignalModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : CanRow::kColumnCount;
}

QVariant CCanSignalModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return CanTextToQt(m_setup.GetRow(index.row()).cells[static_cast<std::size_t>(column)]);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(kColumns[column].align);
    case Qt::CheckStateRole: {
        if (column != kCheckColumn)
            return {};
        const CanRow row = m_setup.GetRow(index.row());
        return row.checkable ? QVariant(row.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    }
    case Qt::BackgroundRole:
        return m_setup.GetRow(index.row()).mark.empty() ? QVariant() : QVariant(kMarkedBackground);
    case Qt::ToolTipRole: {
        const std::string mark = m_setup.GetRow(index.row()).mark;
        return mark.empty() ? QVariant() : QVariant(QString::fromStdString(mark));
    }
    default:
        return {};
    }
}

bool CCanSignalModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() != kCheckColumn ||
        !m_setup.GetRow(index.row()).checkable)
        return false;
    m_setup.SetChecked(index.row(), value.toInt() == Qt::Checked);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit SelectionChanged();
    return true;
}

Qt::ItemFlags CCanSignalModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == kCheckColumn && m_setup.GetRow(index.row()).checkable)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant CCanSignalModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= CanRow::kColumnCount)
        return {};
    return QString::fromLatin1(kColumns[section].header);
}

int CCanSignalModel::ColumnChars(int column) {
    return kColumns[column].chars;
}
