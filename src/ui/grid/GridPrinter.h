// Prints the cells of a grid page by page: the widths the grid shows (narrowed to the page
// when the grid is wider), the header row again on every page, and a page number below.
#pragma once

#include <QString>

#include <vector>

class CGridModel;
class QPainter;
class QPrinter;
class QRect;
struct GridCell;

class CGridPrinter {
public:
    CGridPrinter(const CGridModel& model, std::vector<int> columnWidths, int rowHeight);

    void SetTitle(const QString& title) { m_title = title; }
    // False when the printer cannot be painted on (no printer, an unwritable file).
    bool Print(QPrinter& printer) const;
    // Data rows that fit one page of the given height, in the grid's pixels.
    int RowsPerPage(double pageHeight) const;

private:
    void PaintRow(QPainter& painter, int row, int top) const;
    void PaintCell(QPainter& painter, const QRect& rect, const GridCell& cell, bool fixed) const;
    int TotalWidth() const;

    const CGridModel& m_model;
    std::vector<int> m_widths;
    int m_rowHeight;
    QString m_title;
};
