#include "ui/plotview/TraceView.h"

#include "records/AxisTicks.h"
#include "records/TraceEnvelope.h"
#include "ui/plotview/ChannelListModel.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLeftMargin = 78.0;
constexpr double kRightMargin = 14.0;
constexpr double kMarkStrip = 20.0;
constexpr double kAxisHeight = 34.0;
constexpr double kTimeTickSpacing = 110.0;
constexpr double kValueTickSpacing = 22.0;
// Traces keep this part of their lane free above and below.
constexpr double kValuePadding = 0.05;
// A wheel notch zooms by this factor; Left and Right move by this part of the width.
constexpr double kWheelZoom = 0.8;
constexpr double kKeyPan = 0.1;
// A cursor within this many pixels of the mouse is taken by a drag; a drag shorter than this is
// a click.
constexpr double kGrabPixels = 5.0;
// Zoomed in this far (pixels per row), every row gets a dot.
constexpr double kDotPixels = 4.0;
// The value range of the whole record is read from at most this many buckets per channel.
constexpr std::uint64_t kRangeBuckets = 1024;
// y beyond the lane by more than this is drawn at this distance.
constexpr double kClampPixels = 2000.0;

const QColor kMarkColour(220, 110, 0);
const QColor kPauseColour(0, 120, 200);
const QColor kGridColour(230, 230, 230);
const QColor kMarginColour(246, 246, 246);
const std::array<QColor, 2> kCursorColours = {QColor(200, 0, 0), QColor(0, 0, 200)};

// A value that is not a number (an infinite float times a zero slope) is drawn nowhere.
double Clamped(double y, const QRectF& lane) {
    if (std::isnan(y))
        return lane.bottom() + kClampPixels;
    return std::clamp(y, lane.top() - kClampPixels, lane.bottom() + kClampPixels);
}

double YOf(double value, const QRectF& lane, double low, double high) {
    return Clamped(lane.bottom() - (value - low) / (high - low) * lane.height(), lane);
}

} // namespace

CTraceView::CTraceView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(400, 240);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTraceView::SetRecord(const CRecordReader* record, const CRecordOverview* overview,
                           const CChannelListModel* channels) {
    m_record = record;
    m_overview = overview;
    m_channels = channels;
    m_cursorsShown = false;
    m_currentChannel.reset();
    m_window.SetRowCount(record != nullptr ? record->GetRowCount() : 0);
    SyncWidth();
    m_window.ShowAll();
    Changed();
    emit cursorsChanged();
}

void CTraceView::SetStacked(bool stacked) {
    m_stacked = stacked;
    update();
}

void CTraceView::SetWallClock(bool wallClock) {
    m_wallClock = wallClock && m_record != nullptr && m_record->GetTimeline().HasWallClock();
    update();
    emit cursorsChanged();
}

void CTraceView::SetValueScale(ValueScale scale) {
    m_valueScale = scale;
    update();
}

void CTraceView::SetCurrentChannel(std::optional<std::size_t> channel) {
    m_currentChannel = channel;
    update();
}

void CTraceView::ShowAll() {
    m_window.ShowAll();
    Changed();
}

void CTraceView::ShowRows(double first, double end) {
    m_window.ShowRows(first, end);
    Changed();
}

void CTraceView::CenterOn(double row) {
    const double shown = m_window.GetEndRow() - m_window.GetFirstRow();
    ShowRows(row - shown / 2.0, row + shown / 2.0);
}

void CTraceView::ZoomBy(double factor) {
    m_window.ZoomAt(m_window.GetWidth() / 2.0, factor);
    Changed();
}

void CTraceView::PanBy(double widths) {
    m_window.Pan(widths * m_window.GetWidth());
    Changed();
}

void CTraceView::SetCursorsShown(bool shown) {
    if (shown && !m_cursorsShown) {
        // A third and two thirds into the rows in view.
        const double first = std::max(m_window.GetFirstRow(), 0.0);
        const double end = std::min(m_window.GetEndRow(), static_cast<double>(RowCount()));
        m_cursors = {SnapRow(first + (end - first) / 3.0),
                     SnapRow(first + 2.0 * (end - first) / 3.0)};
    }
    m_cursorsShown = shown && m_record != nullptr;
    update();
    emit cursorsChanged();
}

std::optional<double> CTraceView::GetCursor(int which) const {
    if (!m_cursorsShown)
        return std::nullopt;
    return m_cursors[static_cast<std::size_t>(which)];
}

void CTraceView::SetCursor(int which, double row) {
    if (m_record == nullptr)
        return;
    if (!m_cursorsShown)
        SetCursorsShown(true);
    const double last = static_cast<double>(m_record->GetRowCount()) - 1.0;
    m_cursors[static_cast<std::size_t>(which)] =
        std::clamp(std::round(row), 0.0, std::max(last, 0.0));
    update();
    emit cursorsChanged();
}

double CTraceView::RowCount() const {
    return m_record != nullptr ? static_cast<double>(m_record->GetRowCount()) : 0.0;
}

double CTraceView::SnapRow(double row) const {
    return std::clamp(std::round(row), 0.0, std::max(RowCount() - 1.0, 0.0));
}

double CTraceView::TimeOf(double row) const {
    const CRecordTimeline& timeline = m_record->GetTimeline();
    return m_wallClock ? timeline.WallClock(row) : timeline.Elapsed(row);
}

QString CTraceView::TimeText(double row) const {
    if (m_record == nullptr)
        return {};
    const int decimals =
        std::clamp(CAxisTicks::Decimals(m_record->GetTimeline().GetRowSeconds()), 0, 6);
    if (m_wallClock)
        return QString::fromStdString(CRecordTimeline::FormatDateTime(TimeOf(row), decimals));
    return QStringLiteral("%1 s").arg(TimeOf(row), 0, 'f', decimals);
}

void CTraceView::OverviewAdvanced() {
    update();
}

void CTraceView::Changed() {
    update();
    emit windowChanged();
}

CTraceView::Layout CTraceView::LayoutOf(const QRect& area) const {
    Layout layout;
    const QRectF all(area);
    layout.marks = QRectF(all.left() + kLeftMargin, all.top(),
                          all.width() - kLeftMargin - kRightMargin, kMarkStrip);
    layout.plot = QRectF(layout.marks.left(), layout.marks.bottom(), layout.marks.width(),
                         all.height() - kMarkStrip - kAxisHeight);
    layout.axis = QRectF(all.left(), layout.plot.bottom(), all.width(), kAxisHeight);
    return layout;
}

void CTraceView::SyncWidth() {
    m_window.SetWidth(static_cast<int>(LayoutOf(rect()).plot.width()));
}

// The range of the rows built so far, from the finest level of at most kRangeBuckets buckets:
// it grows while the overview is built, not only once the top bucket is complete.
CTraceView::Range CTraceView::RecordRange(std::size_t channel) const {
    const CMinMaxPyramid& pyramid = m_overview->GetPyramid();
    std::size_t level = 0;
    while (level + 1 < pyramid.GetLevelCount() && pyramid.GetBucketCount(level) > kRangeBuckets)
        ++level;
    const NumberRange numbers = pyramid.Get(level, channel, 0, pyramid.GetBuiltBuckets(level));
    if (numbers.IsEmpty())
        return {0.0, 0.0};
    const RecordChannel& info = m_record->GetChannels()[channel];
    const double a = info.Physical(numbers.min);
    const double b = info.Physical(numbers.max);
    return {std::min(a, b), std::max(a, b)};
}

std::vector<CTraceView::Range>
CTraceView::ValueRanges(const std::vector<std::size_t>& shown) const {
    std::vector<Range> ranges;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const RecordChannel& info = m_record->GetChannels()[shown[i]];
        Range range{0.0, 0.0};
        if (m_valueScale == ValueScale::Recorded && info.HasScale()) {
            range = {info.scaleMin, info.scaleMax};
        } else if (m_valueScale == ValueScale::View) {
            NumberRange numbers = NumberRange::Empty();
            for (const NumberRange& column : m_columns[i])
                numbers.Include(column);
            if (!numbers.IsEmpty()) {
                const double a = info.Physical(numbers.min);
                const double b = info.Physical(numbers.max);
                range = {std::min(a, b), std::max(a, b)};
            }
        } else {
            range = RecordRange(shown[i]);
        }
        if (!std::isfinite(range.low) || !std::isfinite(range.high))
            range = {-1.0, 1.0};
        if (range.high <= range.low) {
            const double half = range.low == 0.0 ? 1.0 : std::fabs(range.low) * 0.1;
            range = {range.low - half, range.low + half};
        } else if (m_valueScale != ValueScale::Recorded) {
            const double pad = (range.high - range.low) * kValuePadding;
            range = {range.low - pad, range.high + pad};
        }
        ranges.push_back(range);
    }
    return ranges;
}

void CTraceView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Render(painter, rect());
}

void CTraceView::resizeEvent(QResizeEvent*) {
    SyncWidth();
    emit windowChanged();
}

void CTraceView::Render(QPainter& painter, const QRect& area) {
    painter.save();
    painter.fillRect(area, kMarginColour);
    const Layout layout = LayoutOf(area);
    painter.fillRect(layout.plot, Qt::white);
    if (m_record == nullptr || m_overview == nullptr || m_channels == nullptr) {
        painter.drawText(layout.plot, Qt::AlignCenter, QStringLiteral("No record is open."));
        painter.restore();
        return;
    }
    // The rows in view, spread over this area's width (a printed page differs from the widget).
    CTraceWindow window = m_window;
    window.SetWidth(static_cast<int>(layout.plot.width()));
    const std::vector<std::size_t> shown = m_channels->GetShownChannels();
    const CTraceEnvelope envelope(*m_record, m_overview->GetPyramid());
    envelope.Compute(shown, window.GetFirstRow(), window.GetRowsPerPixel(), window.GetWidth(),
                     m_columns);
    const std::vector<Range> ranges = ValueRanges(shown);
    DrawTimeAxis(painter, layout, window);
    if (shown.empty())
        painter.drawText(layout.plot, Qt::AlignCenter, QStringLiteral("No channel is shown."));
    else
        DrawLanes(painter, layout, window, shown, ranges);
    DrawUnbuilt(painter, layout, window);
    DrawMarks(painter, layout, window);
    DrawCursors(painter, layout, window);
    if (m_drag == Drag::Select) {
        const double a = std::clamp(m_dragStartX, layout.plot.left(), layout.plot.right());
        const double b = std::clamp(m_dragX, layout.plot.left(), layout.plot.right());
        painter.fillRect(
            QRectF(std::min(a, b), layout.plot.top(), std::fabs(b - a), layout.plot.height()),
            QColor(0, 90, 200, 40));
    }
    painter.setPen(Qt::darkGray);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(layout.plot);
    painter.restore();
}

void CTraceView::DrawTimeAxis(QPainter& painter, const Layout& layout,
                              const CTraceWindow& window) const {
    const double first = TimeOf(window.GetFirstRow());
    const double last = TimeOf(window.GetEndRow());
    const std::vector<AxisTick> ticks =
        CAxisTicks::Time(first, last, layout.plot.width(), kTimeTickSpacing, m_wallClock);
    const QFontMetricsF metrics(painter.font());
    for (const AxisTick& tick : ticks) {
        const std::optional<double> row =
            m_wallClock ? m_record->GetTimeline().RowAtWallClock(tick.value)
                        : std::optional<double>(m_record->GetTimeline().RowAtElapsed(tick.value));
        if (!row)
            continue;
        const double x = layout.plot.left() + window.XOf(*row);
        if (x < layout.plot.left() - 0.5 || x > layout.plot.right() + 0.5)
            continue;
        painter.setPen(kGridColour);
        painter.drawLine(QPointF(x, layout.plot.top()), QPointF(x, layout.plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawLine(QPointF(x, layout.plot.bottom()), QPointF(x, layout.plot.bottom() + 4));
        const QString label = QString::fromStdString(tick.label);
        const double width = metrics.horizontalAdvance(label);
        painter.drawText(QPointF(x - width / 2.0, layout.plot.bottom() + 5 + metrics.ascent()),
                         label);
    }
    QString title = QStringLiteral("Time [s]");
    if (m_wallClock) {
        title = QString::fromStdString(CRecordTimeline::FormatDateTime(first, 0).substr(0, 10));
    }
    painter.setPen(Qt::darkGray);
    painter.drawText(layout.axis.adjusted(4, 0, -kRightMargin, -2),
                     Qt::AlignRight | Qt::AlignBottom, title);
}

void CTraceView::DrawLanes(QPainter& painter, const Layout& layout, const CTraceWindow& window,
                           const std::vector<std::size_t>& shown,
                           const std::vector<Range>& ranges) {
    // Stacked: a lane and an axis per channel. Overlaid: one lane, the axis of the current
    // channel (else the first shown) and a legend.
    std::vector<QRectF> lanes(shown.size(), layout.plot);
    std::size_t axis = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (m_stacked) {
            const double height = layout.plot.height() / static_cast<double>(shown.size());
            lanes[i] =
                QRectF(layout.plot.left(), layout.plot.top() + height * static_cast<double>(i),
                       layout.plot.width(), height);
            DrawValueAxis(painter, lanes[i], layout, shown[i], ranges[i]);
        } else if (m_currentChannel && shown[i] == *m_currentChannel) {
            axis = i;
        }
    }
    if (!m_stacked)
        DrawValueAxis(painter, layout.plot, layout, shown[axis], ranges[axis]);
    painter.setPen(Qt::gray);
    for (std::size_t i = 1; i < lanes.size() && m_stacked; ++i)
        painter.drawLine(lanes[i].topLeft(), lanes[i].topRight());

    // On the screen the traces are set into an image of their own, pixel by pixel; on a scaled
    // page they are lines.
    const bool raster = painter.transform().isIdentity();
    if (raster) {
        const QSize size = layout.plot.size().toSize();
        if (m_traceLayer.size() != size)
            m_traceLayer = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_traceLayer.fill(Qt::transparent);
        m_traceOrigin = layout.plot.topLeft();
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
        DrawTrace(painter, lanes[i], window, i, shown[i], ranges[i], raster);
    if (raster)
        painter.drawImage(layout.plot.topLeft(), m_traceLayer);

    const QFontMetricsF metrics(painter.font());
    double y = layout.plot.top() + 2;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const RecordChannel& info = m_record->GetChannels()[shown[i]];
        QString name = QString::fromStdString(info.name);
        if (!info.unit.empty())
            name += QStringLiteral(" [%1]").arg(QString::fromStdString(info.unit));
        if (m_stacked)
            y = lanes[i].top() + 1;
        if (lanes[i].bottom() < y + metrics.height())
            continue;
        const QRectF box(layout.plot.left() + 4, y, metrics.horizontalAdvance(name) + 6,
                         metrics.height());
        painter.fillRect(box, QColor(255, 255, 255, 200));
        painter.setPen(m_channels->GetColour(shown[i]));
        painter.drawText(box, Qt::AlignCenter, name);
        y += metrics.height();
    }
}

void CTraceView::DrawValueAxis(QPainter& painter, const QRectF& lane, const Layout& layout,
                               std::size_t channel, const Range& range) const {
    const std::vector<AxisTick> ticks =
        CAxisTicks::Values(range.low, range.high, lane.height(), kValueTickSpacing);
    const QFontMetricsF metrics(painter.font());
    for (const AxisTick& tick : ticks) {
        const double y = YOf(tick.value, lane, range.low, range.high);
        if (y < lane.top() || y > lane.bottom())
            continue;
        painter.setPen(kGridColour);
        painter.drawLine(QPointF(lane.left(), y), QPointF(lane.right(), y));
        painter.setPen(m_channels->GetColour(channel));
        painter.drawLine(QPointF(lane.left() - 4, y), QPointF(lane.left(), y));
        const QString label = QString::fromStdString(tick.label);
        const double top =
            std::clamp(y - metrics.height() / 2.0, lane.top(), lane.bottom() - metrics.height());
        painter.drawText(QRectF(layout.axis.left(), top, kLeftMargin - 7, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
}

void CTraceView::DrawTrace(QPainter& painter, const QRectF& lane, const CTraceWindow& window,
                           std::size_t column, std::size_t channel, const Range& range,
                           bool raster) {
    const RecordChannel& info = m_record->GetChannels()[channel];
    const std::vector<NumberRange>& columns = m_columns[column];
    const double rowsPerPixel = window.GetRowsPerPixel();
    // Fewer rows than pixels: each column holds at most one row, drawn where it lies; gaps
    // between rows are joined. Otherwise a column without data (overview not built) breaks the
    // line.
    const bool rows = rowsPerPixel < 1.0;
    painter.save();
    painter.setClipRect(lane);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // One device pixel wide on the screen (the stroker's fast path); a line of one layout unit on
    // a scaled page.
    QPen pen(m_channels->GetColour(channel));
    pen.setWidthF(1.0);
    pen.setCosmetic(painter.transform().isIdentity());
    painter.setPen(pen);
    if (!rows) {
        const std::vector<QLineF> spans = Spans(lane, columns, info, range);
        if (raster)
            FillSpans(spans, lane, pen.color());
        else
            painter.drawLines(spans.data(), static_cast<int>(spans.size()));
        painter.restore();
        return;
    }
    QPolygonF line;
    for (std::size_t x = 0; x < columns.size(); ++x) {
        const NumberRange& numbers = columns[x];
        if (numbers.IsEmpty())
            continue;
        const double row = std::ceil(window.GetFirstRow() + static_cast<double>(x) * rowsPerPixel);
        line.append(QPointF(lane.left() + window.XOf(row),
                            YOf(info.Physical(numbers.min), lane, range.low, range.high)));
    }
    if (1.0 / rowsPerPixel >= kDotPixels) {
        painter.setBrush(pen.color());
        for (const QPointF& point : line)
            painter.drawRect(QRectF(point.x() - 1.5, point.y() - 1.5, 3.0, 3.0));
    }
    if (line.size() == 1)
        painter.drawPoint(line.front());
    else
        painter.drawPolyline(line);
    painter.restore();
}

// A vertical span per pixel column from the smallest to the largest value, stretched to meet
// the span before it so that the trace stays one line; a column without data breaks it.
std::vector<QLineF> CTraceView::Spans(const QRectF& lane, const std::vector<NumberRange>& columns,
                                      const RecordChannel& info, const Range& range) {
    std::vector<QLineF> spans;
    spans.reserve(columns.size());
    bool joined = false;
    double previousTop = 0.0;
    double previousBottom = 0.0;
    for (std::size_t x = 0; x < columns.size(); ++x) {
        const NumberRange& numbers = columns[x];
        if (numbers.IsEmpty()) {
            joined = false;
            continue;
        }
        const double a = YOf(info.Physical(numbers.min), lane, range.low, range.high);
        const double b = YOf(info.Physical(numbers.max), lane, range.low, range.high);
        const double top = std::min(a, b);
        const double bottom = std::max(a, b);
        const double px = lane.left() + static_cast<double>(x) + 0.5;
        spans.emplace_back(px, joined ? std::min(top, previousBottom) : top, px,
                           joined ? std::max(bottom, previousTop) : bottom);
        previousTop = top;
        previousBottom = bottom;
        joined = true;
    }
    return spans;
}

// Sets the pixels of each span in the trace image, within the lane: a hundred thousand spans
// cost a few milliseconds this way, many times less than as lines.
void CTraceView::FillSpans(const std::vector<QLineF>& spans, const QRectF& lane,
                           const QColor& colour) {
    const QPointF origin = m_traceOrigin;
    const QRgb pixel = colour.rgba();
    const int width = m_traceLayer.width();
    const int laneTop = std::max(static_cast<int>(std::ceil(lane.top() - origin.y())), 0);
    const int laneBottom = std::min(static_cast<int>(std::floor(lane.bottom() - origin.y())),
                                    m_traceLayer.height() - 1);
    auto* pixels = reinterpret_cast<QRgb*>(m_traceLayer.bits());
    const auto stride = static_cast<std::size_t>(m_traceLayer.bytesPerLine() / 4);
    for (const QLineF& span : spans) {
        const int x = static_cast<int>(span.x1() - origin.x());
        if (x < 0 || x >= width)
            continue;
        const int top = std::max(static_cast<int>(std::floor(span.y1() - origin.y())), laneTop);
        const int bottom =
            std::min(static_cast<int>(std::floor(span.y2() - origin.y())), laneBottom);
        for (int y = top; y <= bottom; ++y)
            pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)] = pixel;
    }
}

void CTraceView::DrawUnbuilt(QPainter& painter, const Layout& layout,
                             const CTraceWindow& window) const {
    const CMinMaxPyramid& pyramid = m_overview->GetPyramid();
    if (pyramid.IsComplete() || pyramid.LevelFor(window.GetRowsPerPixel()) < 0)
        return;
    const double x =
        std::max(layout.plot.left() + window.XOf(static_cast<double>(pyramid.GetBuiltRows())),
                 layout.plot.left());
    if (x >= layout.plot.right())
        return;
    const QRectF rest(x, layout.plot.top(), layout.plot.right() - x, layout.plot.height());
    painter.fillRect(rest, QColor(0, 0, 0, 18));
    painter.setPen(Qt::darkGray);
    painter.drawText(rest, Qt::AlignCenter, QStringLiteral("Building the overview..."));
}

QString CTraceView::MarkText(const RecordMark& mark, bool pause) const {
    if (pause)
        return QStringLiteral("Resumed %1").arg(QString::fromStdString(mark.time));
    return mark.memo.empty() ? QStringLiteral("MARK") : QString::fromStdString(mark.memo);
}

void CTraceView::DrawMarks(QPainter& painter, const Layout& layout,
                           const CTraceWindow& window) const {
    const QFontMetricsF metrics(painter.font());
    for (const bool pause : {true, false}) {
        const QColor colour = pause ? kPauseColour : kMarkColour;
        for (const RecordMark& mark : pause ? m_record->GetPauses() : m_record->GetMarks()) {
            const double x = layout.plot.left() + window.XOf(static_cast<double>(mark.row));
            if (x < layout.plot.left() || x > layout.plot.right())
                continue;
            QPen pen(colour);
            pen.setStyle(Qt::DashLine);
            painter.setPen(pen);
            painter.drawLine(QPointF(x, layout.plot.top()), QPointF(x, layout.plot.bottom()));
            const QPolygonF flag({QPointF(x, layout.marks.bottom()),
                                  QPointF(x - 4, layout.marks.bottom() - 6),
                                  QPointF(x + 4, layout.marks.bottom() - 6)});
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawPolygon(flag);
            painter.setPen(colour);
            const QString text = metrics.elidedText(MarkText(mark, pause), Qt::ElideRight, 140);
            painter.drawText(QPointF(x + 5, layout.marks.bottom() - 6), text);
        }
    }
    painter.setBrush(Qt::NoBrush);
}

void CTraceView::DrawCursors(QPainter& painter, const Layout& layout,
                             const CTraceWindow& window) const {
    if (!m_cursorsShown)
        return;
    for (std::size_t i = 0; i < m_cursors.size(); ++i) {
        const double x = layout.plot.left() + window.XOf(m_cursors[i]);
        if (x < layout.plot.left() || x > layout.plot.right())
            continue;
        painter.setPen(QPen(kCursorColours[i], 1.0));
        painter.drawLine(QPointF(x, layout.marks.top()), QPointF(x, layout.plot.bottom()));
        const QRectF box(x + 1, layout.marks.top() + 1, 20, 13);
        painter.fillRect(box, kCursorColours[i]);
        painter.setPen(Qt::white);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("C%1").arg(i + 1));
    }
}

std::optional<int> CTraceView::CursorNear(double x) const {
    if (!m_cursorsShown)
        return std::nullopt;
    const double left = LayoutOf(rect()).plot.left();
    for (int i = 0; i < 2; ++i) {
        if (std::fabs(left + m_window.XOf(m_cursors[static_cast<std::size_t>(i)]) - x) <=
            kGrabPixels)
            return i;
    }
    return std::nullopt;
}

void CTraceView::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const double plotX = event->position().x() - LayoutOf(rect()).plot.left();
    if (delta.x() != 0 || event->modifiers().testFlag(Qt::ShiftModifier)) {
        const int steps = delta.x() != 0 ? delta.x() : delta.y();
        PanBy(-kKeyPan * steps / 120.0);
    } else if (delta.y() != 0) {
        m_window.ZoomAt(plotX, std::pow(kWheelZoom, delta.y() / 120.0));
        Changed();
    }
    event->accept();
}

void CTraceView::mousePressEvent(QMouseEvent* event) {
    const double x = event->position().x();
    m_dragStartX = m_dragX = x;
    m_dragWindow = m_window;
    if (event->button() == Qt::RightButton ||
        (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ShiftModifier))) {
        m_drag = Drag::Select;
    } else if (event->button() == Qt::LeftButton) {
        const std::optional<int> cursor = CursorNear(x);
        m_drag = cursor ? Drag::Cursor : Drag::Pan;
        m_dragCursor = cursor.value_or(0);
        setCursor(cursor ? Qt::SizeHorCursor : Qt::ClosedHandCursor);
    }
}

void CTraceView::mouseMoveEvent(QMouseEvent* event) {
    const double x = event->position().x();
    const double plotX = x - LayoutOf(rect()).plot.left();
    m_mouseX = plotX;
    switch (m_drag) {
    case Drag::Pan:
        m_window = m_dragWindow;
        m_window.Pan(m_dragStartX - x);
        Changed();
        break;
    case Drag::Select:
        m_dragX = x;
        update();
        break;
    case Drag::Cursor:
        SetCursor(m_dragCursor, m_window.RowAt(plotX));
        break;
    case Drag::None:
        setCursor(CursorNear(x) ? Qt::SizeHorCursor : Qt::ArrowCursor);
        break;
    }
    emit hoverTextChanged(HoverText(event->position()));
}

// The time and row under the mouse, and in a stacked view the value of the lane's channel.
QString CTraceView::HoverText(const QPointF& at) const {
    if (RowCount() == 0.0)
        return {};
    const Layout layout = LayoutOf(rect());
    const double row = SnapRow(m_window.RowAt(at.x() - layout.plot.left()));
    QString text = QStringLiteral("%1   row %2").arg(TimeText(row)).arg(row, 0, 'f', 0);
    const std::vector<std::size_t> shown = m_channels->GetShownChannels();
    if (!m_stacked || shown.empty() || !layout.plot.contains(at))
        return text;
    const auto lane = static_cast<std::size_t>((at.y() - layout.plot.top()) / layout.plot.height() *
                                               static_cast<double>(shown.size()));
    const std::size_t channel = shown[std::min(lane, shown.size() - 1)];
    const RecordChannel& info = m_record->GetChannels()[channel];
    const double value = m_record->Value(channel, static_cast<std::uint64_t>(row));
    return text + QStringLiteral("   %1 = %2 %3")
                      .arg(QString::fromStdString(info.name),
                           QString::fromStdString(ValueText(value, info.ValueDecimals())),
                           QString::fromStdString(info.unit));
}

void CTraceView::mouseReleaseEvent(QMouseEvent* event) {
    const double left = LayoutOf(rect()).plot.left();
    if (m_drag == Drag::Select && std::fabs(event->position().x() - m_dragStartX) > kGrabPixels) {
        ShowRows(m_window.RowAt(m_dragStartX - left), m_window.RowAt(event->position().x() - left));
    }
    m_drag = Drag::None;
    setCursor(Qt::ArrowCursor);
    update();
}

void CTraceView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_record == nullptr)
        return;
    const double row = m_window.RowAt(event->position().x() - LayoutOf(rect()).plot.left());
    SetCursor(event->modifiers().testFlag(Qt::ControlModifier) ? 1 : 0, row);
}

void CTraceView::keyPressEvent(QKeyEvent* event) {
    const double middle = m_window.RowAt(m_window.GetWidth() / 2.0);
    switch (event->key()) {
    case Qt::Key_Left:
        PanBy(event->modifiers().testFlag(Qt::ShiftModifier) ? -0.5 : -kKeyPan);
        break;
    case Qt::Key_Right:
        PanBy(event->modifiers().testFlag(Qt::ShiftModifier) ? 0.5 : kKeyPan);
        break;
    case Qt::Key_PageUp:
        PanBy(-1.0);
        break;
    case Qt::Key_PageDown:
        PanBy(1.0);
        break;
    case Qt::Key_1:
    case Qt::Key_2:
        SetCursor(event->key() == Qt::Key_1 ? 0 : 1, m_mouseX ? m_window.RowAt(*m_mouseX) : middle);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CTraceView::leaveEvent(QEvent*) {
    m_mouseX.reset();
    emit hoverTextChanged({});
}

bool CTraceView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip || m_record == nullptr)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const Layout layout = LayoutOf(rect());
    const double x = help->pos().x();
    if (help->pos().y() <= layout.marks.bottom() + 2) {
        for (const bool pause : {false, true}) {
            for (const RecordMark& mark : pause ? m_record->GetPauses() : m_record->GetMarks()) {
                const double at = layout.plot.left() + m_window.XOf(static_cast<double>(mark.row));
                if (std::fabs(at - x) > kGrabPixels)
                    continue;
                const QString text =
                    QStringLiteral("%1 at %2 (%3)%4")
                        .arg(pause ? QStringLiteral("Resumed") : QStringLiteral("MARK"),
                             TimeText(static_cast<double>(mark.row)),
                             QString::fromStdString(mark.time),
                             mark.memo.empty()
                                 ? QString()
                                 : QStringLiteral(": ") + QString::fromStdString(mark.memo));
                QToolTip::showText(help->globalPos(), text, this);
                return true;
            }
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}
