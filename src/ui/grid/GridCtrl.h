// The spreadsheet-like grid of the program's tables: a fixed header row and an optional fixed
// column, text, check-box, colour, list and number cells edited in place, title tips for
// clipped texts, clipboard blocks of tab-separated text, and printing.
#pragma once

#include "ui/grid/GridModel.h"

#include <QTableView>

#include <utility>
#include <vector>

class CGridDelegate;
class QAbstractButton;
class QMenu;
class QPrinter;

class CGridCtrl : public QTableView {
    Q_OBJECT

public:
    using CellPos = std::pair<int, int>; // grid row, grid column

    explicit CGridCtrl(QWidget* parent = nullptr);

    CGridModel& Model() { return *m_model; }
    const CGridModel& Model() const { return *m_model; }

    // Empties the grid; cells are then filled through Model().
    void SetDimensions(int rows, int columns, int fixedRows, int fixedColumns);
    void SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const;
    void SetReadOnly(bool readOnly);
    // Whether a double click starts editing by itself; off, the owner decides on cellActivated.
    void SetEditOnActivate(bool edit) { m_editOnActivate = edit; }
    void EditCell(int row, int column);
    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

    // Selected cells in grid positions, row by row.
    std::vector<CellPos> SelectedCells() const;
    bool IsCellSelected(int row, int column) const;
    void SelectCells(int top, int left, int bottom, int right);

    // The selected block as tab-separated lines (unselected cells inside it give empty texts).
    QString SelectionText() const;
    // Pastes a block of tab-separated lines at the selection's top-left cell; cells that take
    // no edits (or not this text) keep theirs. Gives the number of cells that took a text.
    int PasteText(const QString& text);
    void Copy();
    void Cut();
    void Paste();
    // The clipboard menu: Cut (when asked for), Copy and Paste.
    QMenu* CreateClipboardMenu(QWidget* parent, bool withCut);

    // The full text of a cell whose text does not fit, empty when it fits.
    QString TitleTipAt(const QPoint& viewportPos) const;
    // The column width a cell (a header cell too) needs to show its whole text.
    int FittingWidth(int row, int column) const;

    bool Print(QPrinter& printer, const QString& title = {}) const;

signals:
    void cellEdited(int row, int column, const QString& text, bool pasted);
    void cellChecked(int row, int column, bool checked);
    void cellActivated(int row, int column);
    // A single click, for cells that act on it (a colour choice, a check box of a selection).
    void cellClicked(int row, int column);
    void headerClicked(int column, Qt::KeyboardModifiers modifiers);
    void contextMenuRequested(const QPoint& globalPos);

protected:
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnDoubleClicked(const QModelIndex& index);
    void PaintCorner();
    int TextSpace(const QModelIndex& index) const;

    CGridModel* m_model;
    CGridDelegate* m_delegate;
    QAbstractButton* m_corner = nullptr;
    std::vector<int> m_widths;
    bool m_editOnActivate = true;
};
