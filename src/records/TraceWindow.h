// The part of a record a trace view shows: its first row and rows per pixel, with the zoom and
// pan arithmetic of the mouse and keys, kept within the record.
#pragma once

#include <cstdint>

class CTraceWindow {
public:
    // Zoomed in to the limit, one row is this many pixels apart from the next.
    static constexpr double kMaxPixelsPerRow = 64.0;

    void SetRowCount(std::uint64_t rows);
    // Keeps the rows shown and spreads them over the new width.
    void SetWidth(int pixels);
    void ShowAll();
    // Rows [first, end), widened to the zoom limit when they are fewer.
    void ShowRows(double first, double end);
    // factor < 1 zooms in, > 1 out; the row under pixel x stays there.
    void ZoomAt(double x, double factor);
    // Moves the rows by `pixels` (positive: later rows come into view).
    void Pan(double pixels);

    int GetWidth() const { return m_width; }
    double GetFirstRow() const { return m_firstRow; }
    double GetRowsPerPixel() const { return m_rowsPerPixel; }
    double GetEndRow() const { return m_firstRow + m_rowsPerPixel * m_width; }
    double RowAt(double x) const { return m_firstRow + x * m_rowsPerPixel; }
    double XOf(double row) const { return (row - m_firstRow) / m_rowsPerPixel; }
    bool ShowsAll() const;

private:
    void Clamp();

    std::uint64_t m_rows = 0;
    int m_width = 1;
    double m_firstRow = 0.0;
    double m_rowsPerPixel = 1.0;
};
