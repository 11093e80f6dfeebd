#include "ui/monitor/CommonWaveView.h"

#include "conditions/TextNumbers.h"
#include "monitor/CpsRingBuf.h"
#include "monitor/TraceBuilder.h"
#include "monitor/WaveLayout.h"
#include "ui/monitor/ChartPicture.h"
#include "ui/monitor/QtGrpCanvas.h"
#include "ui/monitor/TracePaint.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include <algorithm>
#include <cmath>

using ChartPicture::ScreenSize;
using ChartPicture::ToQColor;
using ChartPicture::ToQRect;

namespace {

constexpr int kScreenDots = 2;
constexpr int kPrintDots = 8;
constexpr int kTick = 2;
constexpr int kLabelPadX = 5;
constexpr int kLabelPadY = 2;
constexpr int kScaleTick = 4;

// Every how many divisions a label fits, for labels `line` pixels high.
int LabelEvery(double pixelsPerDivision, int line) {
    if (!(pixelsPerDivision > 0.0))
        return 1;
    return std::max(1, static_cast<int>(std::ceil(line / pixelsPerDivision)));
}

} // namespace

CCommonWaveView::CCommonWaveView(QWidget* parent)
    : QWidget(parent), m_marginColour(palette().color(QPalette::Button)),
      m_baseTime(std::time(nullptr)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(10, 10);
}

void CCommonWaveView::SelectChannel(int channel) {
    if (channel == m_selected)
        return;
    m_selected = channel;
    Invalidate();
}

void CCommonWaveView::SetTimeRange(double start, double end) {
    m_timeStart = start;
    m_timeEnd = end > start ? end : start + 1.0;
    Invalidate();
}

void CCommonWaveView::SetTimeGrid(double step) {
    m_timeGrid = step;
    Invalidate();
}

void CCommonWaveView::SetDivisions(int first, int count) {
    m_firstDivision = first;
    m_divisions = std::max(count, 1);
    Invalidate();
}

void CCommonWaveView::SetTitle(const QString& title) {
    m_title = title;
    Invalidate();
}

void CCommonWaveView::SetTimeUnit(const QString& unit) {
    m_timeUnit = unit;
    Invalidate();
}

void CCommonWaveView::Invalidate() {
    m_stale = true;
    update();
}

int CCommonWaveView::VisibleCount() const {
    return static_cast<int>(std::count_if(m_channels.begin(), m_channels.end(),
                                          [](const auto& c) { return c->IsVisible(); }));
}

QString CCommonWaveView::FormatTime(double t) const {
    return QString::fromStdString(m_timeFormat.Format(t, &m_baseTime));
}

void CCommonWaveView::CreateFonts(const QRect& client) {
    const QSize screen = ScreenSize();
    const bool large =
        client.height() * 2 >= screen.height() && client.width() * 2 >= screen.width();
    const int size = large ? 12 : 10;
    m_titleFont = QFont();
    m_titleFont.setStyleHint(QFont::Serif);
    m_titleFont.setPixelSize(size + 4);
    m_titleFont.setBold(true);
    m_labelFont = QFont(QStringLiteral("monospace"));
    m_labelFont.setStyleHint(QFont::TypeWriter);
    m_labelFont.setPixelSize(size);
}

void CCommonWaveView::CreatePrintFonts(QPainter& painter) {
    // Paper sizes follow the printer's resolution against the screen's (72 dpi without one).
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double screenDpi = screen != nullptr ? screen->logicalDotsPerInchY() : 72.0;
    const double scale = painter.device()->logicalDpiY() / std::max(screenDpi, 1.0);
    m_titleFont = QFont();
    m_titleFont.setStyleHint(QFont::Serif);
    m_titleFont.setBold(true);
    m_titleFont.setPixelSize(std::max(1, static_cast<int>(14 * scale)));
    m_labelFont = QFont(QStringLiteral("monospace"));
    m_labelFont.setStyleHint(QFont::TypeWriter);
    m_labelFont.setPixelSize(std::max(1, static_cast<int>(10 * scale)));
}

ChartRect CCommonWaveView::ComputePlotRect(const QRect& client) {
    const QFontMetrics label(m_labelFont);
    const QFontMetrics title(m_titleFont);
    m_charWidth = std::max(1, label.horizontalAdvance(QLatin1Char('0')));
    m_labelLine = label.height();
    m_titleLine = title.height();
    WaveLayoutInput in;
    in.client = {client.left(), client.top(), client.right() + 1, client.bottom() + 1};
    in.charWidth = m_charWidth;
    in.labelLine = m_labelLine;
    in.titleLine = m_titleLine;
    in.startLabelChars =
        static_cast<int>(m_timeFormat.Format(m_timeStart, &m_baseTime, true).size());
    in.endLabelChars = static_cast<int>(m_timeFormat.Format(m_timeEnd, &m_baseTime).size());
    in.divisions = m_divisions;
    in.showNames = m_showNames;
    for (const auto& channel : m_channels) {
        if (channel->IsVisible())
            in.longestNameChars =
                std::max(in.longestNameChars, static_cast<int>(channel->GetName().size()));
    }
    in.hasTitle = !m_title.isEmpty();
    in.scaleMode = m_scaleMode;
    return ::ComputePlotRect(in);
}

void CCommonWaveView::Layout(const QRect& client) {
    m_client = client;
    if (!m_printing)
        CreateFonts(client);
    m_plot = ComputePlotRect(client);
    m_view.SetWorld(m_plot, m_timeStart, m_firstDivision, m_timeEnd, m_firstDivision + m_divisions);
    PlaceChannels();
    m_cursors.SetCursorRange(m_plot.left, m_plot.right - 1);
    m_cursors.SetMarkerRange(m_plot.Height() - 1);
}

void CCommonWaveView::PlaceChannels() {
    const int height = BandDivisions(VisibleCount(), m_divisions, true);
    for (const auto& channel : m_channels) {
        channel->PlaceOn(m_plot, m_firstDivision, m_divisions, m_timeStart, m_timeEnd);
        channel->SetBand(channel->IsVisible() ? BandRect(m_plot, m_firstDivision, m_divisions,
                                                         channel->GetY(), height)
                                              : ChartRect{});
    }
}

void CCommonWaveView::MoveTimeRange(double start, double end) {
    m_timeStart = start;
    m_timeEnd = end;
    m_view.SetWorld(m_plot, m_timeStart, m_firstDivision, m_timeEnd, m_firstDivision + m_divisions);
    PlaceChannels();
}

void CCommonWaveView::RenderPicture() {
    if (m_picture.size() != size())
        m_picture = QImage(size(), QImage::Format_RGB32);
    if (m_picture.isNull())
        return;
    m_gridPhase = 0;
    QPainter painter(&m_picture);
    Layout(rect());
    Draw(painter, m_plot);
    m_stale = false;
}

void CCommonWaveView::RenderTo(QImage& image) {
    if (image.size() != size())
        image = QImage(size(), QImage::Format_RGB32);
    m_picture.swap(image);
    RenderPicture();
    m_picture.swap(image);
    m_stale = true;
}

void CCommonWaveView::Draw(QPainter& painter, const ChartRect& plot) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(m_client, m_printing ? QColor(Qt::white) : m_marginColour);
    painter.fillRect(ToQRect(plot), m_plotColour);
    painter.setPen(m_textColour);
    painter.drawRect(plot.left - 1, plot.top - 1, plot.Width() + 1, plot.Height() + 1);
    DrawAxes(painter, plot);
    DrawTitle(painter, plot);
    painter.save();
    painter.setClipRect(ToQRect(plot));
    if (const CCpsRingBuf* ring = GetRing(); ring != nullptr && ring->NewestRel() >= 0)
        DrawPoints(painter, std::max(CTraceBuilder::FirstPointAt(*ring, m_timeStart), 0));
    if (VisibleCount() == 0 && !m_printing)
        DrawEmptyHint(painter, plot);
    painter.restore();
    DrawChannelLabels(painter);
    if (m_printing)
        DrawCursors(painter);
}

void CCommonWaveView::DrawEmptyHint(QPainter& painter, const ChartRect& plot) {
    painter.setFont(m_labelFont);
    painter.setPen(m_gridColour.darker(160));
    painter.drawText(ToQRect(plot), Qt::AlignCenter,
                     m_channels.empty() ? tr("No channel is recorded")
                                        : tr("No channel is shown: tick the channels in the list"));
}

void CCommonWaveView::DrawTitle(QPainter& painter, const ChartRect& plot) {
    if (m_title.isEmpty())
        return;
    painter.setFont(m_titleFont);
    painter.setPen(m_textColour);
    painter.drawText(QRect(plot.left, m_client.top(), plot.Width(), plot.top - m_client.top() - 4),
                     Qt::AlignCenter, m_title);
}

void CCommonWaveView::DrawGrids(QPainter& painter, const ChartRect& area) {
    painter.save();
    painter.setClipRect(ToQRect(area));
    painter.setPen(m_gridColour);
    CQtGrpCanvas canvas(painter, area, m_printing ? kPrintDots : kScreenDots, m_gridPhase);
    m_view.DrawXGrid(canvas, m_timeGrid);
    m_view.DrawYGrid(canvas, 1.0);
    painter.restore();
}

void CCommonWaveView::DrawAxes(QPainter& painter, const ChartRect& plot) {
    painter.setFont(m_labelFont);
    const double perDivision = m_view.GetYScale();
    const int every = LabelEvery(perDivision, m_labelLine);
    // The division numbers, just left of the plot.
    painter.setPen(m_textColour);
    for (int d = 0; d <= m_divisions; d += every) {
        const int y = m_view.Y(m_firstDivision + d);
        painter.drawText(QRect(plot.left - 5 * m_charWidth, y - m_labelLine / 2,
                               4 * m_charWidth - kScaleTick, m_labelLine),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(m_firstDivision + d));
    }
    // Each visible channel marks its own division in its colour.
    for (const auto& channel : m_channels) {
        if (!channel->IsVisible())
            continue;
        painter.setPen(ToQColor(channel->GetColor()));
        const int y = m_view.Y(channel->GetY());
        painter.drawLine(plot.left - kScaleTick - 1, y, plot.left - 2, y);
    }
    // The selected channel's values at the divisions, right of the plot.
    if (m_selected >= 0 && m_selected < static_cast<int>(m_channels.size()) &&
        m_channels[static_cast<std::size_t>(m_selected)]->IsVisible()) {
        const CCommonWaveChInfo& channel = *m_channels[static_cast<std::size_t>(m_selected)];
        painter.setPen(m_printing ? m_textColour : ToQColor(channel.GetColor()));
        for (int d = 0; d <= m_divisions; d += every) {
            const int division = m_firstDivision + d;
            const double value =
                channel.GetCenter() + (division - channel.GetY()) * channel.GetUnitsPerDivision();
            const int y = m_view.Y(division);
            painter.drawLine(plot.right, y, plot.right + kScaleTick, y);
            painter.drawText(QRect(plot.right + kScaleTick + 2, y - m_labelLine / 2,
                                   m_client.right() - plot.right - kScaleTick, m_labelLine),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             QString::fromStdString(m_valueFormat.Format(value)));
        }
    }
    DrawGrids(painter, plot);
    DrawTimeStrips(painter, plot, false);
}

void CCommonWaveView::DrawTimeStrips(QPainter& painter, const ChartRect& plot, bool clear) {
    const QFontMetrics metrics(m_labelFont);
    const int labelWidth = std::max(metrics.horizontalAdvance(FormatTime(m_timeStart)),
                                    metrics.horizontalAdvance(FormatTime(m_timeEnd)));
    const int bottom = plot.bottom + 1;
    if (clear) {
        const QColor margin = m_printing ? QColor(Qt::white) : m_marginColour;
        const int from = plot.left - 5 * m_charWidth + kLabelPadX + 1;
        painter.fillRect(
            QRect(from, bottom, m_client.right() + 1 - from, m_client.bottom() + 1 - bottom),
            margin);
        painter.fillRect(
            QRect(plot.left - 1, plot.top - 1 - kTick - 1, plot.Width() + 2, kTick + 1), margin);
        painter.setPen(m_textColour);
        painter.drawLine(plot.left - 1, plot.bottom, plot.right, plot.bottom);
        painter.drawLine(plot.left - 1, plot.top - 1, plot.right, plot.top - 1);
    }
    painter.setFont(m_labelFont);
    painter.setPen(m_textColour);
    const double step = TimeLabelStep(m_timeGrid, m_view.GetXScale(), labelWidth);
    for (double t : CGrp::GridPositions(m_timeStart, m_timeEnd, step)) {
        const int x = m_view.X(t);
        painter.drawLine(x, plot.top - 2 - kTick + 1, x, plot.top - 2);
        painter.drawLine(x, bottom, x, bottom + kTick - 1);
        const QString text = FormatTime(t);
        const int width = metrics.horizontalAdvance(text);
        painter.drawText(QRect(x - width / 2 - 1, bottom + kTick, width + 2, m_labelLine),
                         Qt::AlignCenter, text);
    }
    if (!m_timeUnit.isEmpty())
        painter.drawText(QRect(plot.right + labelWidth / 2 + m_charWidth, bottom + kTick,
                               m_client.right() - plot.right, m_labelLine),
                         Qt::AlignLeft | Qt::AlignVCenter, m_timeUnit);
}

void CCommonWaveView::DrawPoints(QPainter& painter, int first) {
    const CCpsRingBuf* ring = GetRing();
    if (ring == nullptr)
        return;
    CTraceBuilder builder;
    CTracePaint paint;
    for (const auto& channel : m_channels) {
        ChartRect band = channel->GetBand();
        if (!channel->IsVisible() || band.IsEmpty())
            continue;
        band.bottom += 1; // the lowest value of the band lies on its edge
        const ChartRect clip = band.Intersect(m_plot);
        if (clip.IsEmpty())
            continue;
        paint.Paint(painter, builder.Build(*ring, channel->GetIndex(), first, channel->Transform()),
                    clip, ToQColor(channel->GetColor()));
    }
}

QRect CCommonWaveView::LabelBox(const CCommonWaveChInfo& channel) const {
    if (!channel.IsVisible() || !m_showNames)
        return {};
    const int y = m_view.Y(channel.GetY());
    const int left = m_client.left() + 2 * m_charWidth - kLabelPadX;
    const int right = m_plot.left - 5 * m_charWidth + kLabelPadX;
    return QRect(QPoint(left, y - m_labelLine / 2 - kLabelPadY),
                 QPoint(right, y + (m_labelLine + 1) / 2 + kLabelPadY));
}

void CCommonWaveView::DrawChannelLabels(QPainter& painter) {
    if (!m_showNames)
        return;
    if (m_selected < 0 || m_selected >= static_cast<int>(m_channels.size()) ||
        !m_channels[static_cast<std::size_t>(m_selected)]->IsVisible()) {
        std::vector<std::int16_t> ys;
        std::vector<bool> visible;
        for (const auto& channel : m_channels) {
            ys.push_back(channel->GetY());
            visible.push_back(channel->IsVisible());
        }
        m_selected = LowestVisibleChannel(ys, visible).value_or(-1);
    }
    painter.setFont(m_labelFont);
    const QColor paper = m_printing ? QColor(Qt::white) : m_plotColour;
    auto draw = [&](int i) {
        const CCommonWaveChInfo& channel = *m_channels[static_cast<std::size_t>(i)];
        const QRect box = LabelBox(channel);
        if (box.isEmpty())
            return;
        const QColor colour = ToQColor(channel.GetColor());
        const bool selected = i == m_selected;
        painter.setPen(colour);
        painter.drawLine(box.right(), m_view.Y(channel.GetY()), m_plot.left - 2,
                         m_view.Y(channel.GetY()));
        painter.fillRect(box, selected ? colour : paper);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(selected ? paper : colour);
        painter.drawText(box.adjusted(kLabelPadX, 0, -kLabelPadX, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromStdString(channel.GetName()));
    };
    for (int i = 0; i < static_cast<int>(m_channels.size()); ++i) {
        if (i != m_selected)
            draw(i);
    }
    if (m_selected >= 0)
        draw(m_selected); // on top of its neighbours
}

int CCommonWaveView::ChannelAtLabel(const QPoint& pos) const {
    // The selected box lies on top; then the later ones over the earlier.
    if (m_selected >= 0 && m_selected < static_cast<int>(m_channels.size()) &&
        LabelBox(*m_channels[static_cast<std::size_t>(m_selected)]).contains(pos))
        return m_selected;
    for (int i = static_cast<int>(m_channels.size()) - 1; i >= 0; --i) {
        if (LabelBox(*m_channels[static_cast<std::size_t>(i)]).contains(pos))
            return i;
    }
    return -1;
}

void CCommonWaveView::DrawCursors(QPainter& painter) {
    if (!m_cursors.HasCursors() && !m_cursors.HasMarkers())
        return;
    painter.save();
    if (!m_printing)
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    if (m_cursors.HasCursors()) {
        painter.setPen(QPen(m_cursorColour, 0));
        for (int i = 0; i < CChartCursors::kCount; ++i)
            painter.drawLine(m_cursors.GetCursor(i), m_plot.top, m_cursors.GetCursor(i),
                             m_plot.bottom - 1);
    }
    if (m_cursors.HasMarkers()) {
        const QColor xorColour(m_plotColour.red() ^ m_cursorColour.red(),
                               m_plotColour.green() ^ m_cursorColour.green(),
                               m_plotColour.blue() ^ m_cursorColour.blue());
        painter.setPen(QPen(m_printing ? m_cursorColour : xorColour, 0, Qt::DashLine));
        for (int i = 0; i < CChartCursors::kCount; ++i) {
            const int y = m_plot.top + m_cursors.GetMarker(i);
            painter.drawLine(m_plot.left, y, m_plot.right - 1, y);
        }
    }
    painter.restore();
    const QString readout = CursorReadout();
    if (readout.isEmpty())
        return;
    painter.setFont(m_labelFont);
    painter.setPen(m_textColour);
    const QRect area(m_plot.left, m_client.top(), m_plot.Width(), m_plot.top - m_client.top() - 4);
    if (!m_printing)
        painter.fillRect(area, m_marginColour);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, readout);
}

QString CCommonWaveView::CursorReadout() const {
    const CCommonWaveChInfo* channel =
        m_selected >= 0 && m_selected < static_cast<int>(m_channels.size())
            ? m_channels[static_cast<std::size_t>(m_selected)].get()
            : nullptr;
    const CCpsRingBuf* ring = GetRing();
    auto value = [&](double t) -> QString {
        if (channel == nullptr || ring == nullptr || ring->NewestRel() < 0 ||
            !(ring->GetPointTime() > 0.0))
            return QStringLiteral("-");
        const double rel = std::round((t - ring->GetFirstTime()) / ring->GetPointTime());
        if (rel < 0.0 || rel > ring->NewestRel() || channel->GetIndex() >= ring->GetChannels())
            return QStringLiteral("-");
        const CpsEntry& entry = ring->GetPoint(static_cast<int>(rel))[channel->GetIndex()];
        const QString low = QString::fromStdString(m_valueFormat.Format(entry.minimum)).trimmed();
        if (entry.minimum == entry.maximum)
            return low;
        return low + QStringLiteral("..") +
               QString::fromStdString(m_valueFormat.Format(entry.maximum)).trimmed();
    };
    QStringList parts;
    if (m_cursors.HasCursors()) {
        const double t1 = m_view.WorldX(m_cursors.GetCursor(0));
        const double t2 = m_view.WorldX(m_cursors.GetCursor(1));
        const CDataFormat fine(CDataFormat::FRACTIONAL, m_timeFormat.GetDigits() + 2);
        auto time = [&](double t) { return QString::fromStdString(fine.Format(t)).trimmed(); };
        parts << tr("C1 %1 %2: %3").arg(time(t1), m_timeUnit, value(t1))
              << tr("C2 %1 %2: %3").arg(time(t2), m_timeUnit, value(t2))
              << tr("dT %1 %2").arg(time(t2 - t1), m_timeUnit);
    }
    if (m_cursors.HasMarkers() && channel != nullptr) {
        for (int i = 0; i < CChartCursors::kCount; ++i) {
            const double v = channel->Transform().WorldY(m_plot.top + m_cursors.GetMarker(i));
            parts << tr("M%1 %2").arg(i + 1).arg(
                QString::fromStdString(m_valueFormat.Format(v)).trimmed());
        }
    }
    return parts.join(QStringLiteral("   "));
}

void CCommonWaveView::paintEvent(QPaintEvent* event) {
    if (m_stale || m_picture.size() != size())
        RenderPicture();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_picture, event->rect());
    DrawCursors(painter);
}

void CCommonWaveView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Invalidate();
}

bool CCommonWaveView::focusNextPrevChild(bool) {
    // Tab chooses the channel here; it never leaves the chart.
    return false;
}

void CCommonWaveView::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (m_cursors.OnArrow(event->key() == Qt::Key_Right, shift, ctrl))
            update();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        std::vector<std::int16_t> ys;
        std::vector<bool> visible;
        for (const auto& channel : m_channels) {
            ys.push_back(channel->GetY());
            visible.push_back(channel->IsVisible());
        }
        const bool forward = event->key() == Qt::Key_Tab && !shift;
        const auto next = NextChannelByDivision(ys, visible, m_selected, forward, m_firstDivision,
                                                m_firstDivision + m_divisions);
        if (next)
            SelectChannel(*next);
        else
            QApplication::beep();
        return;
    }
    default:
        QWidget::keyPressEvent(event);
    }
}

void CCommonWaveView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (m_plot.Contains(pos.x(), pos.y())) {
        const CChartCursors::Grab grab = m_cursors.HitTest(pos.x(), pos.y() - m_plot.top);
        if (grab.kind == CChartCursors::Grab::Kind::Cursor)
            m_drag = Drag::Cursor;
        else if (grab.kind == CChartCursors::Grab::Kind::Marker)
            m_drag = Drag::Marker;
        m_dragWhich = grab.which;
        return;
    }
    const int channel = ChannelAtLabel(pos);
    if (channel >= 0) {
        SelectChannel(channel);
        m_drag = Drag::Channel;
        m_dragWhich = channel;
        m_dragStartY = m_channels[static_cast<std::size_t>(channel)]->GetY();
    }
}

void CCommonWaveView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    switch (m_drag) {
    case Drag::Cursor:
        m_cursors.SetCursorPosition(m_dragWhich, pos.x());
        update();
        break;
    case Drag::Marker:
        m_cursors.SetMarkerPosition(m_dragWhich, pos.y() - m_plot.top);
        update();
        break;
    case Drag::Channel: {
        CCommonWaveChInfo& channel = *m_channels[static_cast<std::size_t>(m_dragWhich)];
        const auto division = static_cast<std::int16_t>(
            std::clamp(static_cast<int>(std::lround(m_view.WorldY(pos.y()))), m_firstDivision,
                       m_firstDivision + m_divisions));
        if (division != channel.GetY()) {
            channel.SetY(division);
            Invalidate();
        }
        break;
    }
    case Drag::None:
        break;
    }
}

void CCommonWaveView::mouseReleaseEvent(QMouseEvent*) {
    const Drag ended = m_drag;
    m_drag = Drag::None;
    if (ended == Drag::Channel &&
        m_channels[static_cast<std::size_t>(m_dragWhich)]->GetY() != m_dragStartY)
        OnChannelMoved(m_dragWhich);
}

void CCommonWaveView::OnChannelMoved(int) {}

void CCommonWaveView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* cursors = menu.addAction(tr("Measuring Cursors"));
    cursors->setCheckable(true);
    cursors->setChecked(m_cursors.HasCursors());
    QAction* markers = menu.addAction(tr("Markers"));
    markers->setCheckable(true);
    markers->setChecked(m_cursors.HasMarkers());
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == cursors)
        m_cursors.ShowCursors(!m_cursors.HasCursors());
    else if (chosen == markers)
        m_cursors.ShowMarkers(!m_cursors.HasMarkers());
    update();
}

void CCommonWaveView::Print(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    m_printing = true;
    CreatePrintFonts(painter);
    const int saved = m_gridPhase;
    m_gridPhase = 0;
    Layout(painter.viewport());
    Draw(painter, m_plot);
    painter.end();
    m_printing = false;
    m_gridPhase = saved;
    // The screen layout comes back with the next paint.
    Invalidate();
}
