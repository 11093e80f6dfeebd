#include "ui/grid/GridCtrl.h"

#include "ui/grid/GridDelegate.h"
#include "ui/grid/GridPrinter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QToolTip>

#include <algorithm>
#include <ranges>

namespace {

constexpr int kDefaultWidth = 60;
constexpr int kTextMargin = 8;
constexpr int kDecorationWidth = 20;
// The keyboard opens the context menu this far inside the top-left corner.
constexpr int kKeyboardMenuInset = 5;

} // namespace

CGridCtrl::CGridCtrl(QWidget* parent)
    : QTableView(parent), m_model(new CGridModel(this)), m_delegate(new CGridDelegate(this)) {
    setModel(m_model);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::SelectedClicked);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_corner = findChild<QAbstractButton*>();
    if (m_corner)
        m_corner->installEventFilter(this);

    connect(m_model, &CGridModel::cellEdited, this, &CGridCtrl::cellEdited);
    connect(m_model, &CGridModel::cellChecked, this, &CGridCtrl::cellChecked);
    connect(this, &QAbstractItemView::doubleClicked, this, &CGridCtrl::OnDoubleClicked);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        emit cellClicked(m_model->GridRow(index), m_model->GridColumn(index));
    });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        emit headerClicked(section + m_model->FixedColumns(), QApplication::keyboardModifiers());
    });
}

void CGridCtrl::SetDimensions(int rows, int columns, int fixedRows, int fixedColumns) {
    m_model->SetDimensions(rows, columns, fixedRows, fixedColumns);
    m_widths.assign(static_cast<std::size_t>(m_model->GridColumns()), kDefaultWidth);
    horizontalHeader()->setVisible(m_model->FixedRows() > 0);
    verticalHeader()->setVisible(m_model->FixedColumns() > 0);
    for (int c = 0; c < m_model->GridColumns(); ++c)
        SetColumnWidth(c, kDefaultWidth);
}

void CGridCtrl::SetColumnWidth(int column, int width) {
    if (column < 0 || column >= m_model->GridColumns())
        return;
    m_widths[static_cast<std::size_t>(column)] = width;
    if (column < m_model->FixedColumns())
        verticalHeader()->setFixedWidth(width);
    else
        setColumnWidth(column - m_model->FixedColumns(), width);
}

int CGridCtrl::ColumnWidth(int column) const {
    if (column < 0 || column >= static_cast<int>(m_widths.size()))
        return 0;
    if (column < m_model->FixedColumns())
        return verticalHeader()->width();
    return columnWidth(column - m_model->FixedColumns());
}

void CGridCtrl::SetReadOnly(bool readOnly) {
    // An editor still open commits nothing: the model refuses every edit while read-only.
    m_model->SetReadOnly(readOnly);
}

void CGridCtrl::EditCell(int row, int column) {
    const QModelIndex index = m_model->IndexOf(row, column);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    edit(index);
}

void CGridCtrl::OnDoubleClicked(const QModelIndex& index) {
    const int row = m_model->GridRow(index);
    const int column = m_model->GridColumn(index);
    if (m_editOnActivate)
        edit(index);
    emit cellActivated(row, column);
}

std::vector<CGridCtrl::CellPos> CGridCtrl::SelectedCells() const {
    std::vector<CellPos> cells;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        cells.emplace_back(m_model->GridRow(index), m_model->GridColumn(index));
    std::ranges::sort(cells);
    return cells;
}

bool CGridCtrl::IsCellSelected(int row, int column) const {
    const QModelIndex index = m_model->IndexOf(row, column);
    return index.isValid() && selectionModel()->isSelected(index);
}

void CGridCtrl::SelectCells(int top, int left, int bottom, int right) {
    const QModelIndex first = m_model->IndexOf(top, left);
    const QModelIndex last = m_model->IndexOf(bottom, right);
    if (!first.isValid() || !last.isValid())
        return;
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
}

QString CGridCtrl::SelectionText() const {
    const std::vector<CellPos> cells = SelectedCells();
    if (cells.empty())
        return {};
    const auto [minCol, maxCol] = std::ranges::minmax(
        cells | std::views::transform([](const CellPos& cell) { return cell.second; }));
    QStringList lines;
    for (int row = cells.front().first; row <= cells.back().first; ++row) {
        QStringList fields;
        for (int column = minCol; column <= maxCol; ++column)
            fields << (IsCellSelected(row, column) ? m_model->Cell(row, column).text : QString());
        lines << fields.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int CGridCtrl::PasteText(const QString& text) {
    if (m_model->IsReadOnly())
        return 0;
    const std::vector<CellPos> cells = SelectedCells();
    CellPos start;
    if (!cells.empty()) {
        start = cells.front();
        for (const CellPos& cell : cells)
            start.second = std::min(start.second, cell.second);
    } else if (currentIndex().isValid()) {
        start = {m_model->GridRow(currentIndex()), m_model->GridColumn(currentIndex())};
    } else {
        return 0;
    }
    QStringList lines = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    int taken = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        for (int j = 0; j < fields.size(); ++j) {
            if (m_model->SetCellTextFromUser(start.first + i, start.second + j, fields[j], true))
                ++taken;
        }
    }
    return taken;
}

void CGridCtrl::Copy() {
    const QString text = SelectionText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void CGridCtrl::Cut() {
    Copy();
    if (m_model->IsReadOnly())
        return;
    // Only free text is cleared: a list or a check box has no empty value.
    for (const auto& [row, column] : SelectedCells()) {
        const GridCell& cell = m_model->Cell(row, column);
        if (cell.kind == GridCellKind::Text || cell.kind == GridCellKind::Numeric)
            m_model->SetCellTextFromUser(row, column, QString(), true);
    }
}

void CGridCtrl::Paste() {
    PasteText(QApplication::clipboard()->text());
}

QMenu* CGridCtrl::CreateClipboardMenu(QWidget* parent, bool withCut) {
    auto* menu = new QMenu(parent);
    const bool editable = !m_model->IsReadOnly();
    if (withCut)
        menu->addAction(tr("Cut"), this, &CGridCtrl::Cut)->setEnabled(editable);
    menu->addAction(tr("Copy"), this, &CGridCtrl::Copy);
    menu->addAction(tr("Paste"), this, &CGridCtrl::Paste)->setEnabled(editable);
    return menu;
}

int CGridCtrl::TextSpace(const QModelIndex& index) const {
    int space = visualRect(index).width() - kTextMargin;
    if (index.data(Qt::CheckStateRole).isValid())
        space -= kDecorationWidth;
    if (index.data(Qt::DecorationRole).isValid())
        space -= kDecorationWidth;
    return space;
}

int CGridCtrl::FittingWidth(int row, int column) const {
    const GridCell& cell = m_model->Cell(row, column);
    if (row < m_model->FixedRows() || column < m_model->FixedColumns()) {
        const QHeaderView* header =
            row < m_model->FixedRows() ? horizontalHeader() : verticalHeader();
        QStyleOptionHeader option;
        option.initFrom(header);
        option.fontMetrics = header->fontMetrics();
        option.text = cell.text;
        option.icon = cell.icon;
        option.orientation = header->orientation();
        return header->style()
            ->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header)
            .width();
    }
    const QModelIndex index = m_model->IndexOf(row, column);
    // The inverse of TextSpace: a cell is a column less its grid line.
    int width = fontMetrics().horizontalAdvance(cell.text) + kTextMargin + (showGrid() ? 1 : 0);
    if (index.data(Qt::CheckStateRole).isValid())
        width += kDecorationWidth;
    if (index.data(Qt::DecorationRole).isValid())
        width += kDecorationWidth;
    return width;
}

QString CGridCtrl::TitleTipAt(const QPoint& viewportPos) const {
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid())
        return {};
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty() || fontMetrics().horizontalAdvance(text) <= TextSpace(index))
        return {};
    return text;
}

bool CGridCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = TitleTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QTableView::viewportEvent(event);
}

bool CGridCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_corner && event->type() == QEvent::Paint && m_model->FixedRows() > 0 &&
        m_model->FixedColumns() > 0) {
        PaintCorner();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void CGridCtrl::PaintCorner() {
    // The corner is the header of the fixed column.
    QStylePainter painter(m_corner);
    QStyleOptionHeader option;
    option.initFrom(m_corner);
    option.rect = m_corner->rect();
    option.state |= QStyle::State_Raised;
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = m_model->Cell(0, 0).text;
    option.textAlignment = Qt::AlignCenter;
    painter.drawControl(QStyle::CE_Header, option);
}

void CGridCtrl::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint global = event->reason() == QContextMenuEvent::Keyboard
                              ? mapToGlobal(QPoint(kKeyboardMenuInset, kKeyboardMenuInset))
                              : event->globalPos();
    emit contextMenuRequested(global);
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        Copy();
    } else if (event->matches(QKeySequence::Cut)) {
        Cut();
    } else if (event->matches(QKeySequence::Paste)) {
        Paste();
    } else {
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool CGridCtrl::Print(QPrinter& printer, const QString& title) const {
    std::vector<int> widths;
    for (int c = 0; c < m_model->GridColumns(); ++c)
        widths.push_back(ColumnWidth(c));
    CGridPrinter gridPrinter(*m_model, widths, verticalHeader()->defaultSectionSize());
    gridPrinter.SetTitle(title);
    return gridPrinter.Print(printer);
}
