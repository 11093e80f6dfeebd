#include "ui/calibration/CalPanelWnd.h"

#include "conditions/ChCnd.h"
#include "conditions/TextNumbers.h"
#include "setup/CalPanelLayout.h"
#include "setup/CalStatistics.h"
#include "setup/ChannelTableRules.h"
#include "ui/dialogs/DialogText.h"

#include <QMouseEvent>

#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace {

const QColor kGrey(128, 128, 128);
const QColor kYellow(255, 255, 0);
const QColor kGreen(80, 255, 80);
const QColor kDark(30, 30, 30);
constexpr int kBoldWeight = 700;
constexpr int kMinSpanPixels = 3;

QRect ToQRect(const CalRect& rect) {
    return {rect.left, rect.top, rect.Width(), rect.Height()};
}

// A range label such as "+10V", "0V", "-500mV".
QString RangeLabel(double value, const std::string& unit) {
    return ToQString(FormatText(value > 0.0 ? "+%g" : "%g", value) + unit);
}

} // namespace

CCalPanelWnd::CCalPanelWnd(const std::vector<CChCnd*>& channels, CCalStatistics& statistics,
                           QWidget* parent)
    : QWidget(parent), m_channels(channels), m_statistics(statistics) {
    const int count = static_cast<int>(m_channels.size());
    for (int i = 0; i < count; ++i) {
        const CalPanelRects rects = CCalPanelLayout::Panel(i, count);
        auto* reset = new QPushButton(tr("Reset"), this);
        auto* stop = new QPushButton(tr("Stop"), this);
        reset->setObjectName(QStringLiteral("button%1").arg(kResetId + i));
        stop->setObjectName(QStringLiteral("button%1").arg(kStopId + i));
        reset->setGeometry(ToQRect(rects.reset));
        stop->setGeometry(ToQRect(rects.stop));
        reset->setAutoDefault(false);
        stop->setAutoDefault(false);
        connect(reset, &QPushButton::clicked, this, [this, i] {
            m_statistics.Reset(i, m_all);
            update();
        });
        connect(stop, &QPushButton::clicked, this, [this, i] {
            m_statistics.StopStart(i, m_all);
            RefreshButtons();
            update();
        });
        m_reset.push_back(reset);
        m_stop.push_back(stop);
    }
    const CalRect area = CCalPanelLayout::Area(count);
    setFixedSize(area.Width(), area.Height());
}

QSize CCalPanelWnd::sizeHint() const {
    const CalRect area = CCalPanelLayout::Area(static_cast<int>(m_channels.size()));
    return {area.Width(), area.Height()};
}

void CCalPanelWnd::RefreshButtons() {
    const std::vector<CalChannelStats> stats = m_statistics.Snapshot();
    for (std::size_t i = 0; i < stats.size() && i < m_stop.size(); ++i)
        m_stop[i]->setText(stats[i].paused != 0 ? tr("Start") : tr("Stop"));
}

// Qt paints every widget into its back buffer first, so the panels never flicker.
void CCalPanelWnd::paintEvent(QPaintEvent*) {
    const std::vector<CalChannelStats> stats = m_statistics.Snapshot();
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    QFont bold = font();
    bold.setWeight(QFont::Weight(kBoldWeight));
    painter.setFont(bold);
    for (std::size_t i = 0; i < stats.size() && i < m_channels.size(); ++i)
        PaintPanel(painter, static_cast<int>(i), stats[i]);
}

void CCalPanelWnd::PaintPanel(QPainter& painter, int index, const CalChannelStats& stats) {
    const CChCnd& channel = *m_channels[static_cast<std::size_t>(index)];
    const CalPanelRects rects = CCalPanelLayout::Panel(index, static_cast<int>(m_channels.size()));
    const QRect scale = ToQRect(rects.scale);
    const double range = stats.displayRange;
    const auto y = [&](double value) { return CCalPanelLayout::ValueY(rects.scale, value, range); };
    const std::string unit = CChannelTableRules::AmpUnit(channel.m_range);

    painter.setPen(kGrey);
    painter.drawRect(ToQRect(rects.panel).adjusted(2, 2, -3, -3));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(ToQRect(rects.title), Qt::AlignCenter,
                     ToQString(FormatText("Ch%d-%d", channel.m_slot, channel.m_channel + 1)));
    painter.drawText(ToQRect(rects.name), Qt::AlignCenter, ToQString(channel.m_name));

    // The scale: dark, with grey lines at its ends, halves and zero, labelled on the left.
    painter.fillRect(scale, kDark);
    painter.setPen(kGrey);
    for (const double share : {1.0, 0.5, 0.0, -0.5, -1.0}) {
        const int row = y(share * range);
        painter.drawLine(scale.left(), row, scale.right(), row);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect labels = ToQRect(rects.labels);
    for (const double share : {1.0, 0.0, -1.0}) {
        const QRect line(labels.left(), y(share * range) - 8, labels.width(), 16);
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, RangeLabel(share * range, unit));
    }
    // The overall extremes across the scale, the last block's span over them (never thinner
    // than a few pixels, so a steady input still shows).
    if (stats.HasOverall()) {
        painter.setPen(QPen(kYellow, 2));
        for (const double extreme : {stats.overallMax, stats.overallMin}) {
            const int row = y(extreme);
            painter.drawLine(scale.left() + 2, row, scale.right() - 2, row);
        }
    }
    if (stats.HasBlock()) {
        const int top = y(stats.blockMax) - 1;
        const int bottom = std::max(y(stats.blockMin) + 1, top + kMinSpanPixels);
        painter.fillRect(QRect(scale.left() + 12, top, scale.width() - 24, bottom - top), kGreen);
    }
    painter.setPen(Qt::white);
    painter.drawRect(scale.adjusted(0, 0, -1, -1));

    painter.setPen(Qt::blue);
    painter.drawText(ToQRect(rects.mean), Qt::AlignCenter,
                     ToQString(FormatText("%3.2f", stats.mean)));
}

void CCalPanelWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    const bool down = event->button() == Qt::LeftButton;
    if (!down && event->button() != Qt::RightButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    m_statistics.StepRange(
        CCalPanelLayout::PanelAt(at.x(), at.y(), static_cast<int>(m_channels.size())), down);
    update();
}
