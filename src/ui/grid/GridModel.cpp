#include "ui/grid/GridModel.h"

#include <algorithm>

CGridModel::CGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void CGridModel::SetDimensions(int rows, int columns, int fixedRows, int fixedColumns) {
    beginResetModel();
    m_rows = std::max(rows, 0);
    m_columns = std::max(columns, 0);
    m_fixedRows = std::clamp(fixedRows, 0, std::min(1, m_rows));
    m_fixedColumns = std::clamp(fixedColumns, 0, std::min(1, m_columns));
    m_cells.assign(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_columns),
                   GridCell{});
    endResetModel();
}

bool CGridModel::IsValidCell(int row, int column) const {
    return row >= 0 && row < m_rows && column >= 0 && column < m_columns;
}

const GridCell& CGridModel::Cell(int row, int column) const {
    if (!IsValidCell(row, column))
        return m_empty;
    return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) +
                   static_cast<std::size_t>(column)];
}

GridCell& CGridModel::At(int row, int column) {
    return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) +
                   static_cast<std::size_t>(column)];
}

void CGridModel::SetCell(int row, int column, GridCell cell) {
    if (!IsValidCell(row, column))
        return;
    At(row, column) = std::move(cell);
    NotifyCell(row, column);
}

void CGridModel::SetCellText(int row, int column, const QString& text) {
    if (!IsValidCell(row, column))
        return;
    At(row, column).text = text;
    NotifyCell(row, column);
}

bool CGridModel::SetCellTextFromUser(int row, int column, const QString& text, bool pasted) {
    if (m_readOnly || !IsValidCell(row, column) || row < m_fixedRows || column < m_fixedColumns)
        return false;
    GridCell& cell = At(row, column);
    if (!cell.editable || cell.kind == GridCellKind::Check || cell.kind == GridCellKind::Colour)
        return false;
    QString value = text;
    if (cell.kind == GridCellKind::Choice && !cell.freeText) {
        // A list cell takes only what its list offers, in the list's own spelling.
        const auto found =
            std::find_if(cell.choices.begin(), cell.choices.end(), [&](const QString& choice) {
                return choice.compare(text, Qt::CaseInsensitive) == 0;
            });
        if (found == cell.choices.end())
            return false;
        value = *found;
    }
    cell.text = value;
    NotifyCell(row, column);
    emit cellEdited(row, column, value, pasted);
    return true;
}

void CGridModel::SetReadOnly(bool readOnly) {
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QModelIndex CGridModel::IndexOf(int row, int column) const {
    if (!IsValidCell(row, column) || row < m_fixedRows || column < m_fixedColumns)
        return {};
    return index(row - m_fixedRows, column - m_fixedColumns);
}

void CGridModel::NotifyCell(int row, int column) {
    if (row < m_fixedRows) {
        emit headerDataChanged(Qt::Horizontal, column - m_fixedColumns, column - m_fixedColumns);
    } else if (column < m_fixedColumns) {
        emit headerDataChanged(Qt::Vertical, row - m_fixedRows, row - m_fixedRows);
    } else {
        const QModelIndex at = IndexOf(row, column);
        emit dataChanged(at, at);
    }
}

int CGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows - m_fixedRows;
}

int CGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns - m_fixedColumns;
}

QVariant CGridModel::CellData(const GridCell& cell, int role) {
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cell.text;
    case Qt::CheckStateRole:
        if (cell.kind != GridCellKind::Check)
            return {};
        return cell.checked ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return static_cast<int>(cell.align);
    case Qt::ForegroundRole:
        return cell.textColour.isValid() ? QVariant(cell.textColour) : QVariant();
    case Qt::BackgroundRole:
        return cell.backColour.isValid() ? QVariant(cell.backColour) : QVariant();
    case Qt::DecorationRole:
        return cell.icon.isNull() ? QVariant() : QVariant(cell.icon);
    case KindRole:
        return static_cast<int>(cell.kind);
    case ChoicesRole:
        return cell.choices;
    case FreeTextRole:
        return cell.freeText;
    case IntegerRole:
        return cell.integer;
    case ColourRole:
        return cell.colour;
    case ItemDataRole:
        return cell.itemData;
    default:
        return {};
    }
}

QVariant CGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    return CellData(Cell(GridRow(index), GridColumn(index)), role);
}

QVariant CGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (m_fixedRows == 0)
            return {};
        return CellData(Cell(0, section + m_fixedColumns), role);
    }
    if (m_fixedColumns == 0)
        return {};
    return CellData(Cell(section + m_fixedRows, 0), role);
}

Qt::ItemFlags CGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const GridCell& cell = Cell(GridRow(index), GridColumn(index));
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_readOnly)
        return result;
    if (cell.editable && cell.kind != GridCellKind::Check && cell.kind != GridCellKind::Colour)
        result |= Qt::ItemIsEditable;
    if (cell.kind == GridCellKind::Check && cell.checkable)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

bool CGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || m_readOnly)
        return false;
    const int row = GridRow(index);
    const int column = GridColumn(index);
    if (role == Qt::CheckStateRole) {
        GridCell& cell = At(row, column);
        if (cell.kind != GridCellKind::Check || !cell.checkable)
            return false;
        cell.checked = value.value<Qt::CheckState>() == Qt::Checked;
        NotifyCell(row, column);
        emit cellChecked(row, column, cell.checked);
        return true;
    }
    if (role == Qt::EditRole)
        return SetCellTextFromUser(row, column, value.toString(), false);
    return false;
}
