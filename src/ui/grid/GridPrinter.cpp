#include "ui/grid/GridPrinter.h"

#include "ui/grid/GridModel.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <numeric>

namespace {

constexpr int kTitleHeight = 28;
constexpr int kFooterHeight = 24;
constexpr int kPadding = 3;
constexpr int kBoxSize = 10;
constexpr double kScreenDpi = 96.0;
const QColor kFixedBack(0xE0, 0xE0, 0xE0);
const QColor kLine(0x80, 0x80, 0x80);

} // namespace

CGridPrinter::CGridPrinter(const CGridModel& model, std::vector<int> columnWidths, int rowHeight)
    : m_model(model), m_widths(std::move(columnWidths)), m_rowHeight(std::max(rowHeight, 8)) {
    m_widths.resize(static_cast<std::size_t>(m_model.GridColumns()), 60);
}

int CGridPrinter::TotalWidth() const {
    return std::max(1, std::accumulate(m_widths.begin(), m_widths.end(), 0));
}

int CGridPrinter::RowsPerPage(double pageHeight) const {
    const double body = pageHeight - kFooterHeight - (m_title.isEmpty() ? 0 : kTitleHeight) -
                        m_model.FixedRows() * m_rowHeight;
    return std::max(1, static_cast<int>(body / m_rowHeight));
}

bool CGridPrinter::Print(QPrinter& printer) const {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    // Screen pixels at their physical size, narrowed when the grid is wider than the page.
    double scale = printer.resolution() / kScreenDpi;
    scale = std::min(scale, page.width() / TotalWidth());
    painter.scale(scale, scale);
    const double pageWidth = page.width() / scale;
    const double pageHeight = page.height() / scale;
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);

    const int perPage = RowsPerPage(pageHeight);
    const int firstRow = m_model.FixedRows();
    const int dataRows = std::max(0, m_model.GridRows() - firstRow);
    const int pages = std::max(1, (dataRows + perPage - 1) / perPage);
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            printer.newPage();
        int top = 0;
        if (!m_title.isEmpty()) {
            painter.setPen(Qt::black);
            painter.drawText(QRect(0, 0, static_cast<int>(pageWidth), kTitleHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, m_title);
            top = kTitleHeight;
        }
        if (firstRow > 0) {
            PaintRow(painter, 0, top);
            top += m_rowHeight;
        }
        const int end = std::min(firstRow + (p + 1) * perPage, m_model.GridRows());
        for (int row = firstRow + p * perPage; row < end; ++row, top += m_rowHeight)
            PaintRow(painter, row, top);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, static_cast<int>(pageHeight) - kFooterHeight,
                               static_cast<int>(pageWidth), kFooterHeight),
                         Qt::AlignCenter, QStringLiteral("Page %1").arg(p + 1));
    }
    return painter.end();
}

void CGridPrinter::PaintRow(QPainter& painter, int row, int top) const {
    int left = 0;
    for (int column = 0; column < m_model.GridColumns(); ++column) {
        const int width = m_widths[static_cast<std::size_t>(column)];
        const bool fixed = row < m_model.FixedRows() || column < m_model.FixedColumns();
        PaintCell(painter, QRect(left, top, width, m_rowHeight), m_model.Cell(row, column), fixed);
        left += width;
    }
}

void CGridPrinter::PaintCell(QPainter& painter, const QRect& rect, const GridCell& cell,
                             bool fixed) const {
    painter.fillRect(rect, cell.backColour.isValid() ? cell.backColour
                           : fixed                   ? kFixedBack
                                                     : QColor(Qt::white));
    painter.setPen(kLine);
    painter.drawRect(rect);
    QRect inner = rect.adjusted(kPadding, 0, -kPadding, 0);
    if (cell.kind == GridCellKind::Check) {
        const QRect box(inner.left(), rect.center().y() - kBoxSize / 2, kBoxSize, kBoxSize);
        painter.setPen(Qt::black);
        painter.drawRect(box);
        if (cell.checked) {
            painter.drawLine(box.left() + 2, box.center().y(), box.center().x(), box.bottom() - 2);
            painter.drawLine(box.center().x(), box.bottom() - 2, box.right() - 2, box.top() + 2);
        }
        inner.setLeft(box.right() + kPadding);
    }
    if (cell.kind == GridCellKind::Colour && cell.colour.isValid())
        painter.fillRect(rect.adjusted(3, 3, -3, -3), cell.colour);
    if (!cell.icon.isNull()) {
        painter.drawPixmap(inner.left(), rect.center().y() - 8, cell.icon.pixmap(16, 16));
        inner.setLeft(inner.left() + 16 + kPadding);
    }
    painter.save();
    painter.setClipRect(inner);
    painter.setPen(cell.textColour.isValid() ? cell.textColour : QColor(Qt::black));
    painter.drawText(inner, static_cast<int>(cell.align | Qt::AlignVCenter) | Qt::TextSingleLine,
                     cell.text);
    painter.restore();
}
