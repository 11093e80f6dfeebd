#include "records/TraceWindow.h"

#include <algorithm>

void CTraceWindow::SetRowCount(std::uint64_t rows) {
    m_rows = rows;
    ShowAll();
}

void CTraceWindow::SetWidth(int pixels) {
    const double shown = m_rowsPerPixel * m_width;
    m_width = std::max(pixels, 1);
    m_rowsPerPixel = shown / m_width;
    Clamp();
}

void CTraceWindow::ShowAll() {
    m_firstRow = 0.0;
    m_rowsPerPixel = static_cast<double>(std::max<std::uint64_t>(m_rows, 1)) / m_width;
    Clamp();
}

void CTraceWindow::ShowRows(double first, double end) {
    if (end < first)
        std::swap(first, end);
    const double shown = std::max(end - first, m_width / kMaxPixelsPerRow);
    const double middle = (first + end) / 2.0;
    m_rowsPerPixel = shown / m_width;
    m_firstRow = middle - shown / 2.0;
    Clamp();
}

void CTraceWindow::ZoomAt(double x, double factor) {
    const double row = RowAt(x);
    m_rowsPerPixel *= factor;
    Clamp();
    m_firstRow = row - x * m_rowsPerPixel;
    Clamp();
}

void CTraceWindow::Pan(double pixels) {
    m_firstRow += pixels * m_rowsPerPixel;
    Clamp();
}

bool CTraceWindow::ShowsAll() const {
    return m_firstRow <= 0.0 && GetEndRow() >= static_cast<double>(m_rows);
}

void CTraceWindow::Clamp() {
    const double rows = static_cast<double>(std::max<std::uint64_t>(m_rows, 1));
    m_rowsPerPixel = std::clamp(m_rowsPerPixel, 1.0 / kMaxPixelsPerRow,
                                std::max(rows / m_width, 1.0 / kMaxPixelsPerRow));
    const double shown = m_rowsPerPixel * m_width;
    m_firstRow = shown >= rows ? 0.0 : std::clamp(m_firstRow, 0.0, rows - shown);
}
