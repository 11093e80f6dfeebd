// The traces of a record over time: stacked in lanes or overlaid, each channel on its own value
// axis, with the marks and resume points on the time axis and two cursors. The mouse wheel and
// keys zoom, a drag pans, a drag with the right button (or Shift) zooms to the selection.
// The view only paints and forwards; what it reads per redraw is decided by CTraceEnvelope.
#pragma once

#include "records/RecordOverview.h"
#include "records/RecordReader.h"
#include "records/TraceWindow.h"

#include <QImage>
#include <QLineF>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class CChannelListModel;

class CTraceView : public QWidget {
    Q_OBJECT

public:
    // Where each channel's value axis comes from: the whole record, the rows in view, or the
    // chart scale the recording used.
    enum class ValueScale { Record, View, Recorded };

    explicit CTraceView(QWidget* parent = nullptr);

    // The record, its overview and the channel list stay alive while they are set.
    void SetRecord(const CRecordReader* record, const CRecordOverview* overview,
                   const CChannelListModel* channels);
    void SetStacked(bool stacked);
    void SetWallClock(bool wallClock);
    void SetValueScale(ValueScale scale);
    // The channel whose axis an overlaid view shows.
    void SetCurrentChannel(std::optional<std::size_t> channel);

    void ShowAll();
    void ShowRows(double first, double end);
    void CenterOn(double row);
    // factor < 1 zooms in about the middle.
    void ZoomBy(double factor);
    // Moves by a part of the width (positive: later).
    void PanBy(double widths);

    void SetCursorsShown(bool shown);
    bool AreCursorsShown() const { return m_cursorsShown; }
    std::optional<double> GetCursor(int which) const;
    void SetCursor(int which, double row);

    const CTraceWindow& GetWindow() const { return m_window; }
    bool IsWallClock() const { return m_wallClock; }
    // "12.340 s", or the wall-clock time, of a row.
    QString TimeText(double row) const;

    // Draws the view into `area` of `painter`: the widget, or a printed page.
    void Render(QPainter& painter, const QRect& area);
    // The overview grew: redraw what became available.
    void OverviewAdvanced();

signals:
    void windowChanged();
    void cursorsChanged();
    void hoverTextChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Layout {
        QRectF plot;
        QRectF marks; // the strip above the plot with the marks' flags
        QRectF axis;  // time labels below the plot
    };
    struct Range {
        double low;
        double high;
    };
    enum class Drag { None, Pan, Select, Cursor };

    Layout LayoutOf(const QRect& area) const;
    void SyncWidth();
    double RowCount() const;
    // The nearest row of the record.
    double SnapRow(double row) const;
    double TimeOf(double row) const;
    std::vector<Range> ValueRanges(const std::vector<std::size_t>& shown) const;
    Range RecordRange(std::size_t channel) const;
    void DrawTimeAxis(QPainter& painter, const Layout& layout, const CTraceWindow& window) const;
    void DrawLanes(QPainter& painter, const Layout& layout, const CTraceWindow& window,
                   const std::vector<std::size_t>& shown, const std::vector<Range>& ranges);
    void DrawTrace(QPainter& painter, const QRectF& lane, const CTraceWindow& window,
                   std::size_t column, std::size_t channel, const Range& range, bool raster);
    static std::vector<QLineF> Spans(const QRectF& lane, const std::vector<NumberRange>& columns,
                                     const RecordChannel& info, const Range& range);
    void FillSpans(const std::vector<QLineF>& spans, const QRectF& lane, const QColor& colour);
    void DrawValueAxis(QPainter& painter, const QRectF& lane, const Layout& layout,
                       std::size_t channel, const Range& range) const;
    void DrawUnbuilt(QPainter& painter, const Layout& layout, const CTraceWindow& window) const;
    void DrawMarks(QPainter& painter, const Layout& layout, const CTraceWindow& window) const;
    void DrawCursors(QPainter& painter, const Layout& layout, const CTraceWindow& window) const;
    QString MarkText(const RecordMark& mark, bool pause) const;
    std::optional<int> CursorNear(double x) const;
    QString HoverText(const QPointF& at) const;
    void Changed();

    const CRecordReader* m_record = nullptr;
    const CRecordOverview* m_overview = nullptr;
    const CChannelListModel* m_channels = nullptr;
    CTraceWindow m_window;
    bool m_stacked = true;
    bool m_wallClock = false;
    ValueScale m_valueScale = ValueScale::Record;
    std::optional<std::size_t> m_currentChannel;
    bool m_cursorsShown = false;
    std::array<double, 2> m_cursors{};
    // The envelope of the last redraw, per shown channel and pixel column.
    std::vector<std::vector<NumberRange>> m_columns;
    // The traces of the last redraw on the screen.
    QImage m_traceLayer;
    QPointF m_traceOrigin; // of the trace image in the painter's coordinates

    Drag m_drag = Drag::None;
    int m_dragCursor = 0;
    double m_dragStartX = 0.0;
    double m_dragX = 0.0;
    CTraceWindow m_dragWindow;
    std::optional<double> m_mouseX;
};
