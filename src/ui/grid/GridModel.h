// The cells of the grid widget, addressed like the grid shows them: the fixed header row is
// row 0 and the fixed column is column 0; Qt's model indexes cover only the cells between.
#pragma once

#include "ui/grid/GridCell.h"

#include <QAbstractTableModel>

#include <vector>

class CGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Role {
        KindRole = Qt::UserRole + 1,
        ChoicesRole,
        FreeTextRole,
        IntegerRole,
        ColourRole,
        ItemDataRole,
    };

    explicit CGridModel(QObject* parent = nullptr);

    // Empties every cell; at most one fixed row and one fixed column.
    void SetDimensions(int rows, int columns, int fixedRows, int fixedColumns);
    int GridRows() const { return m_rows; }
    int GridColumns() const { return m_columns; }
    int FixedRows() const { return m_fixedRows; }
    int FixedColumns() const { return m_fixedColumns; }
    bool IsValidCell(int row, int column) const;

    const GridCell& Cell(int row, int column) const;
    void SetCell(int row, int column, GridCell cell);
    void SetCellText(int row, int column, const QString& text);
    // A text the user typed or pasted: stored and reported when the cell takes edits.
    bool SetCellTextFromUser(int row, int column, const QString& text, bool pasted);

    // A read-only grid takes no edits and toggles no check boxes.
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return m_readOnly; }

    QModelIndex IndexOf(int row, int column) const;
    int GridRow(const QModelIndex& index) const { return index.row() + m_fixedRows; }
    int GridColumn(const QModelIndex& index) const { return index.column() + m_fixedColumns; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void cellEdited(int row, int column, const QString& text, bool pasted);
    void cellChecked(int row, int column, bool checked);

private:
    static QVariant CellData(const GridCell& cell, int role);
    GridCell& At(int row, int column);
    void NotifyCell(int row, int column);

    int m_rows = 0;
    int m_columns = 0;
    int m_fixedRows = 0;
    int m_fixedColumns = 0;
    bool m_readOnly = false;
    std::vector<GridCell> m_cells; // row by row
    GridCell m_empty;
};
