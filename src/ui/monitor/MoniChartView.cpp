#include "ui/monitor/MoniChartView.h"

#include "acquisition/ZT300SetDoc.h"
#include "framework/SettingsStore.h"
#include "framework/UpdateHints.h"
#include "monitor/MonitorChannels.h"
#include "monitor/PanelLayout.h"
#include "monitor/SepChartScale.h"
#include "monitor/TraceBuilder.h"
#include "monitor/UpdateDataInfo.h"
#include "ui/monitor/ChartPicture.h"
#include "ui/monitor/TracePaint.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <map>

using ChartPicture::ScreenSize;
using ChartPicture::ToQRect;

namespace {

const QColor kSilver(192, 192, 192);
const QColor kPanelBack(0, 0, 0);
const QColor kGrid(64, 64, 64);
const QColor kTrace(255, 255, 0);
const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kOverRange(255, 0, 0);
constexpr int kDigitRefreshMs = 200;

QFont PanelFont(int pixels, bool bold) {
    QFont font(QStringLiteral("monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(std::max(pixels, 6));
    font.setBold(bold);
    return font;
}

} // namespace

CMoniChartView::CMoniChartView(CZT300SetDoc& doc, const CRecorderSettings& settings,
                               ISettingsStore* store, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_settings(settings), m_store(store),
      m_digitTimer(new QTimer(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_digitTimer->setSingleShot(true);
    m_digitTimer->setInterval(kDigitRefreshMs);
    connect(m_digitTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    setMinimumSize(10, 10);
    if (m_store != nullptr)
        m_displayType = m_store->GetInt(kSection, kDispTypeKey, kWave) == kDigit ? kDigit : kWave;
    ApplyTimeSettings(true, false);
    if (const CCpsRingBuf* ring = GetRing(); ring != nullptr && ring->NewestRel() >= 0) {
        const double newest = ring->TimeOf(ring->NewestRel());
        const double width = m_timeEnd - m_timeStart;
        if (newest > width) {
            m_timeStart = newest - width;
            m_timeEnd = newest;
        }
    }
    m_doc.AddView(this);
    BuildGroups();
}

CMoniChartView::~CMoniChartView() {
    if (m_store != nullptr)
        m_store->WriteInt(kSection, kDispTypeKey, m_displayType);
    m_doc.RemoveView(this);
}

const CCpsRingBuf* CMoniChartView::GetRing() const {
    return m_doc.GetDisplayRing();
}

void CMoniChartView::Invalidate() {
    m_stale = true;
    update();
}

void CMoniChartView::OnUpdate(IView*, int hint, const CUpdateData* data) {
    switch (hint) {
    case UpdateHint::kConditionChanged:
        m_timeStart = 0.0;
        ApplyTimeSettings(false, false);
        BuildGroups();
        break;
    case UpdateHint::kNewDisplayData:
        OnNewData(dynamic_cast<const CUpdateDataInfo*>(data));
        break;
    case UpdateHint::kRepaint:
    case UpdateHint::kRepaintPanels:
        Invalidate();
        break;
    case UpdateHint::kChartWidthChanged:
        ApplyTimeSettings(false, false);
        break;
    case UpdateHint::kGridStepChanged:
        ApplyTimeSettings(false, true);
        break;
    case UpdateHint::kArm:
        ApplyTimeSettings(true, false);
        break;
    case UpdateHint::kDecimalDigitsChanged:
        for (CGrpChInfo& group : m_groups)
            group.ValueFormat().SetDigits(m_settings.m_decimalDigit);
        Invalidate();
        break;
    case UpdateHint::kMaxMinChanged:
        if (m_displayType == kDigit && !m_digitTimer->isActive())
            m_digitTimer->start();
        break;
    default:
        break;
    }
}

void CMoniChartView::ApplyTimeSettings(bool restart, bool keepRange) {
    const double width = std::max(m_settings.m_xWidth, 1);
    if (restart)
        m_timeStart = 0.0;
    if (!keepRange)
        m_timeEnd = m_timeStart + width;
    m_timeGrid = m_settings.m_xGrid;
    Invalidate();
}

void CMoniChartView::BuildGroups() {
    std::map<int, std::int16_t> styles;
    for (const CGrpChInfo& group : m_groups)
        styles[group.GetIndex()] = group.GetStyle();
    m_groups.clear();
    for (const MonitorChannel& channel : EnumerateMonitorChannels(m_doc.GetConditions())) {
        CGrpChInfo& group = m_groups.emplace_back(*channel.condition, channel.index, channel.name);
        group.ValueFormat().SetDigits(m_settings.m_decimalDigit);
        if (const auto kept = styles.find(channel.index); kept != styles.end())
            group.SetStyle(kept->second);
    }
    Invalidate();
    m_doc.UpdateAllViews(this, UpdateHint::kChannelsRebuilt);
}

std::vector<const CGrpChInfo*> CMoniChartView::VisibleGroups() const {
    std::vector<const CGrpChInfo*> visible;
    for (const CGrpChInfo& group : m_groups) {
        if (group.GetCondition().m_visible)
            visible.push_back(&group);
    }
    return visible;
}

bool CMoniChartView::HasVisibleChannel() const {
    return std::any_of(m_groups.begin(), m_groups.end(),
                       [](const CGrpChInfo& group) { return group.GetCondition().m_visible; });
}

bool CMoniChartView::CanAutoScale() const {
    const CCpsRingBuf* ring = GetRing();
    return m_displayType == kWave && HasVisibleChannel() && ring != nullptr &&
           ring->NewestRel() >= 0;
}

void CMoniChartView::Offset() {
    m_offset = !m_offset;
    for (CGrpChInfo& group : m_groups) {
        if (group.GetCondition().m_visible)
            SepChartScale::Offset(group.GetCondition().m_sepChart, m_offset);
    }
    Invalidate();
}

void CMoniChartView::AutoScale() {
    const CCpsRingBuf* ring = GetRing();
    if (ring == nullptr)
        return;
    for (CGrpChInfo& group : m_groups)
        SepChartScale::AutoScale(SepChartScale::RingExtremes(*ring, group.GetIndex()),
                                 group.GetCondition().m_sepChart);
    Invalidate();
}

void CMoniChartView::ResetScale() {
    for (CGrpChInfo& group : m_groups)
        group.GetCondition().m_sepChart = group.GetCondition().GetChartScale();
    Invalidate();
}

void CMoniChartView::SetDisplayType(int type) {
    m_displayType = type == kDigit ? kDigit : kWave;
    Invalidate();
}

void CMoniChartView::LayoutPanels() {
    const std::vector<const CGrpChInfo*> visible = VisibleGroups();
    const PanelGrid grid = ArrangePanels(static_cast<int>(visible.size()), width(), height());
    const QSize screen = ScreenSize();
    int k = 0;
    for (CGrpChInfo& group : m_groups) {
        if (!group.GetCondition().m_visible)
            continue;
        const ChartRect panel = PanelRect(k++, grid, width(), height());
        const PanelFonts sizes =
            WavePanelFonts(group.GetStyle(), panel, screen.width(), screen.height());
        m_nameFont = PanelFont(sizes.name, false);
        const QFontMetrics name(m_nameFont);
        const QFontMetrics unit(PanelFont(sizes.unit, true));
        m_titleLine = name.height();
        m_valueLine = unit.height();
        m_charWidth = std::max(1, unit.horizontalAdvance(QStringLiteral("0123456789.")) / 11);
        group.Place(panel, m_titleLine, m_valueLine, m_charWidth, m_timeStart, m_timeEnd);
    }
}

void CMoniChartView::RenderPicture() {
    if (m_picture.size() != size())
        m_picture = QImage(size(), QImage::Format_RGB32);
    if (m_picture.isNull())
        return;
    LayoutPanels();
    QPainter painter(&m_picture);
    painter.fillRect(m_picture.rect(), kSilver);
    if (m_displayType == kWave) {
        for (const CGrpChInfo* group : VisibleGroups())
            DrawWavePanel(painter, *group);
    }
    m_stale = false;
}

void CMoniChartView::RenderTo(QImage& image) {
    m_picture.swap(image);
    RenderPicture();
    QPainter painter(&m_picture);
    for (const CGrpChInfo* group : VisibleGroups()) {
        if (m_displayType == kDigit)
            DrawDigitPanel(painter, *group);
        else
            DrawValueBox(painter, *group);
    }
    painter.end();
    m_picture.swap(image);
    m_stale = true;
}

void CMoniChartView::DrawWavePanel(QPainter& painter, const CGrpChInfo& group) {
    painter.fillRect(ToQRect(group.GetPanel()), kPanelBack);
    painter.setFont(m_nameFont);
    painter.setPen(kGreen);
    const ChartRect& title = group.GetTitleRect();
    const QString text = QString::fromLocal8Bit(group.WaveTitle().c_str());
    painter.drawText(ToQRect(title), Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetrics(m_nameFont).elidedText(text, Qt::ElideRight, title.Width()));
    DrawPanelGrid(painter, group, group.GetPlot());
    if (const CCpsRingBuf* ring = GetRing(); ring != nullptr && ring->NewestRel() >= 0)
        DrawPanelPoints(painter, group, CTraceBuilder::FirstPointAt(*ring, m_timeStart),
                        group.GetPlot());
}

void CMoniChartView::DrawPanelGrid(QPainter& painter, const CGrpChInfo& group,
                                   const ChartRect& area) {
    const CGrp& grp = group.Transform();
    const ChartRect& plot = group.GetPlot();
    painter.save();
    painter.setClipRect(ToQRect(area));
    painter.setPen(kGrid);
    for (double t : CGrp::GridPositions(m_timeStart, m_timeEnd, m_timeGrid)) {
        const int x = grp.X(t);
        if (x >= area.left && x < area.right)
            painter.drawLine(x, plot.top, x, plot.bottom - 1);
    }
    const CScale& scale = group.GetCondition().m_sepChart;
    for (double v : CGrp::GridPositions(std::min(scale.m_min, scale.m_max),
                                        std::max(scale.m_min, scale.m_max), scale.m_div))
        painter.drawLine(area.left, grp.Y(v), area.right - 1, grp.Y(v));
    painter.restore();
}

void CMoniChartView::DrawPanelPoints(QPainter& painter, const CGrpChInfo& group, int first,
                                     const ChartRect& area) {
    const CCpsRingBuf* ring = GetRing();
    if (ring == nullptr || first < 0)
        return;
    CTraceBuilder builder;
    CTracePaint paint;
    ChartRect clip = group.GetPlot();
    clip.bottom += 1;
    paint.Paint(painter, builder.Build(*ring, group.GetIndex(), first, group.Transform()),
                clip.Intersect(area).Intersect({0, 0, width(), height()}), kTrace);
}

QString CMoniChartView::ValueText(const CGrpChInfo& group, int which) const {
    const CMaxMinTable& table = m_doc.GetMaxMinValues().GetCopy();
    if (group.GetIndex() >= table.GetCount())
        return QStringLiteral("-");
    const MaxMinEntry& entry = table.GetEntry(group.GetIndex());
    if (!entry.HasData())
        return QStringLiteral("-");
    const double value = which == 0 ? entry.last : which == 1 ? entry.maximum : entry.minimum;
    return QString::fromStdString(group.ValueFormat().Format(value)).trimmed();
}

void CMoniChartView::DrawValueBox(QPainter& painter, const CGrpChInfo& group) {
    if (!group.GetCondition().m_visible || !group.GetCondition().m_valueBox)
        return;
    const QRect box = ToQRect(group.GetValueRect());
    if (box.isEmpty())
        return;
    const PanelFonts sizes = WavePanelFonts(group.GetStyle(), group.GetPanel(),
                                            ScreenSize().width(), ScreenSize().height());
    painter.fillRect(box, kPanelBack);
    painter.setPen(kGrid);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    const QRect inner = box.adjusted(4, 1, -4, -1);
    const int line = inner.height() / 4;
    const QString unit = QString::fromLocal8Bit(MonitorChannelUnit(group.GetCondition()).c_str());
    painter.setFont(PanelFont(sizes.value, true));
    painter.setPen(kYellow);
    painter.drawText(QRect(inner.left(), inner.top(), inner.width(), 2 * line),
                     Qt::AlignLeft | Qt::AlignVCenter, ValueText(group, 0) + " " + unit);
    painter.setFont(PanelFont(sizes.unit, true));
    painter.setPen(kGreen);
    painter.drawText(QRect(inner.left(), inner.top() + 2 * line, inner.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, tr("MAX ") + ValueText(group, 1));
    painter.drawText(QRect(inner.left(), inner.top() + 3 * line, inner.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, tr("MIN ") + ValueText(group, 2));
}

void CMoniChartView::DrawDigitPanel(QPainter& painter, const CGrpChInfo& group) {
    const QRect panel = ToQRect(group.GetPanel());
    painter.fillRect(panel, kPanelBack);
    const PanelFonts sizes = DigitPanelFonts(group.GetStyle(), group.GetPanel());
    const QFont name = PanelFont(sizes.name, false);
    painter.setFont(name);
    painter.setPen(kGreen);
    const int titleHeight = QFontMetrics(name).height();
    const QRect title(panel.left() + 4, panel.top() + 2, panel.width() - 8, titleHeight);
    painter.drawText(
        title, Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(name).elidedText(QString::fromLocal8Bit(group.DigitTitle().c_str()),
                                      Qt::ElideRight, title.width()));
    const QRect values = panel.adjusted(4, titleHeight + 4, -4, -4);
    if (group.GetStyle() & 1) {
        painter.setFont(PanelFont(sizes.unit, true));
        painter.setPen(kGreen);
        painter.drawText(values, Qt::AlignLeft | Qt::AlignTop, tr("MAX ") + ValueText(group, 1));
        painter.drawText(values, Qt::AlignRight | Qt::AlignBottom,
                         tr("MIN ") + ValueText(group, 2));
    }
    if (group.GetStyle() & 2) {
        painter.setFont(PanelFont(sizes.value, true));
        painter.setPen(kYellow);
        painter.drawText(values, Qt::AlignCenter, ValueText(group, 0));
    }
}

void CMoniChartView::paintEvent(QPaintEvent* event) {
    if (m_stale || m_picture.size() != size())
        RenderPicture();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_picture, event->rect());
    const CCpsRingBuf* ring = GetRing();
    for (const CGrpChInfo* group : VisibleGroups()) {
        if (!event->rect().intersects(ToQRect(group->GetPanel())))
            continue;
        if (m_displayType == kDigit) {
            DrawDigitPanel(painter, *group);
            continue;
        }
        DrawValueBox(painter, *group);
        if (ring != nullptr && SepChartScale::IsOverRange(ring->GetRange(group->GetIndex()),
                                                          group->GetCondition().GetChartScale())) {
            painter.setPen(QPen(kOverRange, 2));
            painter.drawRect(ToQRect(group->GetPanel()).adjusted(1, 1, -1, -1));
        }
    }
    if (VisibleGroups().empty()) {
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignCenter,
                         m_groups.empty()
                             ? tr("No channel is recorded")
                             : tr("No channel is shown: tick the channels in the list"));
    }
}

void CMoniChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Invalidate();
}

LiveStep::Action CMoniChartView::OnNewData(const CUpdateDataInfo* info) {
    const CCpsRingBuf* ring = GetRing();
    if (info == nullptr || ring == nullptr || ring->NewestRel() < 0) {
        Invalidate();
        return LiveStep::Action::Page;
    }
    if (m_displayType == kDigit)
        return LiveStep::Action::DrawNew;
    const std::vector<const CGrpChInfo*> visible = VisibleGroups();
    const double newest = ring->TimeOf(ring->NewestRel());
    const double pixelsPerSecond = visible.empty() ? 0.0 : visible.front()->Transform().GetXScale();
    const LiveStep step = PlanLiveStep(0, pixelsPerSecond, newest, m_timeStart, m_timeEnd, 1);
    const bool current = !m_stale && m_picture.size() == size() && isVisible();
    if (step.action != LiveStep::Action::DrawNew) {
        m_timeStart = step.start;
        m_timeEnd = step.end;
        for (CGrpChInfo& group : m_groups)
            group.MoveTime(m_timeStart, m_timeEnd);
    }
    if (!current || step.action == LiveStep::Action::Page ||
        (step.action == LiveStep::Action::Scroll &&
         step.shift >= visible.front()->GetPlot().Width())) {
        Invalidate();
        return step.action;
    }
    if (step.action == LiveStep::Action::Scroll) {
        ScrollPanels(step.shift, info->m_lastOld);
        update();
        return step.action;
    }
    QPainter painter(&m_picture);
    for (const CGrpChInfo* group : visible) {
        DrawPanelPoints(painter, *group, info->m_lastOld, group->GetPlot());
        update(ToQRect(group->GetPanel()));
    }
    return step.action;
}

void CMoniChartView::ScrollPanels(int shift, int lastOld) {
    const CCpsRingBuf* ring = GetRing();
    QPainter painter(&m_picture);
    for (const CGrpChInfo* group : VisibleGroups()) {
        const ChartRect plot = group->GetPlot().Intersect({0, 0, width(), height()});
        if (plot.Width() <= shift)
            continue;
        ChartPicture::ScrollLeft(m_picture, plot, shift);
        const ChartRect strip{plot.right - shift, plot.top, plot.right, plot.bottom};
        painter.fillRect(ToQRect(strip), kPanelBack);
        DrawPanelGrid(painter, *group, strip);
        const double stripStart = group->Transform().WorldX(strip.left);
        const int first = std::min(std::max(CTraceBuilder::FirstPointAt(*ring, stripStart) - 1, 0),
                                   std::max(lastOld, 0));
        DrawPanelPoints(painter, *group, first, plot);
    }
}

CGrpChInfo* CMoniChartView::GroupAt(const QPoint& pos) {
    for (CGrpChInfo& group : m_groups) {
        if (group.GetCondition().m_visible && group.GetPanel().Contains(pos.x(), pos.y()))
            return &group;
    }
    return nullptr;
}

void CMoniChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    CGrpChInfo* group = GroupAt(pos);
    if (group == nullptr || m_displayType != kWave)
        return;
    CChCnd& channel = group->GetCondition();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (event->button() == Qt::LeftButton && group->GetValueRect().Contains(pos.x(), pos.y())) {
        channel.m_valueBox = channel.m_valueBox ? 0 : 1;
        update(ToQRect(group->GetPanel()));
        return;
    }
    if (!group->GetPlot().Contains(pos.x(), pos.y()))
        return;
    if (event->button() == Qt::LeftButton) {
        if (shift)
            SepChartScale::Move(channel.m_sepChart, true);
        else
            SepChartScale::Zoom(channel.m_sepChart, true);
    } else if (event->button() == Qt::RightButton) {
        if (shift)
            SepChartScale::Move(channel.m_sepChart, false);
        else
            SepChartScale::Zoom(channel.m_sepChart, false);
    } else {
        return;
    }
    Invalidate();
}

void CMoniChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    CGrpChInfo* group = GroupAt(pos);
    if (group == nullptr)
        return;
    // The value area: under the title of a digit panel, the value box of a wave panel.
    const bool inValues =
        m_displayType == kDigit
            ? !group->GetTitleRect().Contains(pos.x(), pos.y())
            : group->GetCondition().m_valueBox && group->GetValueRect().Contains(pos.x(), pos.y());
    if (!inValues)
        return;
    group->SetStyle(static_cast<std::int16_t>(NextPanelStyle(group->GetStyle())));
    update(ToQRect(group->GetPanel()));
}
