#include "ui/monitor/MoniDigitListBase.h"

#include "acquisition/ZT300SetDoc.h"
#include "framework/UpdateHints.h"
#include "monitor/ChannelLimits.h"
#include "monitor/DigitListRows.h"
#include "ui/grid/GridCtrl.h"

#include <QHeaderView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace {

// Values follow the acquisition a few times a second, however often the blocks arrive.
constexpr int kRefreshMs = 200;
constexpr int kNameMinWidth = 120;
constexpr int kNameExtra = 30;
constexpr int kNameColumn = 0;
constexpr int kCellPadding = 14;

QString ToQt(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QColor ToQColor(LimitColour colour) {
    switch (colour) {
    case LimitColour::Red:
        return {255, 0, 0};
    case LimitColour::Green:
        // A darker green than pure green reads on the white list.
        return {0, 160, 0};
    case LimitColour::Default:
        break;
    }
    return {};
}

} // namespace

CMoniDigitListBase::CMoniDigitListBase(CZT300SetDoc& doc, const CRecorderSettings& settings,
                                       const IChannelLimits* limits, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_settings(settings), m_limits(limits),
      m_grid(new CGridCtrl(this)), m_refreshTimer(new QTimer(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    m_grid->setObjectName(QStringLiteral("grid111"));
    m_grid->setStyleSheet(QStringLiteral("QTableView { background: white; }"));
    m_grid->SetEditOnActivate(true);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(kRefreshMs);
    connect(m_refreshTimer, &QTimer::timeout, this, &CMoniDigitListBase::RefreshValues);
    connect(m_grid, &CGridCtrl::cellChecked, this, [this](int row, int column, bool checked) {
        if (column == kNameColumn)
            OnCellChecked(row, checked);
    });
    connect(m_grid, &CGridCtrl::headerClicked, this, &CMoniDigitListBase::OnHeaderClicked);
    connect(m_grid, &CGridCtrl::cellEdited, this,
            [this](int row, int column, const QString& text, bool) {
                OnCellEdited(row, column, text);
            });
    connect(m_grid, &CGridCtrl::cellClicked, this,
            [this](int row, int column) { OnCellClicked(row, column); });
}

CMoniDigitListBase::~CMoniDigitListBase() {
    m_doc.RemoveView(this);
}

void CMoniDigitListBase::Initialise() {
    m_format.SetDigits(m_settings.m_decimalDigit);
    BuildGrid();
    m_doc.AddView(this);
}

void CMoniDigitListBase::SetLimits(const IChannelLimits* limits) {
    m_limits = limits;
    RefreshValues();
}

void CMoniDigitListBase::OnUpdate(IView*, int hint, const CUpdateData*) {
    switch (hint) {
    case UpdateHint::kRepaint:
        RefreshChecks();
        break;
    case UpdateHint::kChannelsRebuilt:
        BuildGrid();
        break;
    case UpdateHint::kChannelMoved:
        OnChannelsMoved();
        break;
    case UpdateHint::kDecimalDigitsChanged:
        m_format.SetDigits(m_settings.m_decimalDigit);
        RefreshValues();
        break;
    case UpdateHint::kMaxMinChanged:
        if (!m_refreshTimer->isActive())
            m_refreshTimer->start();
        break;
    default:
        break;
    }
}

void CMoniDigitListBase::BuildGrid() {
    m_rows = EnumerateMonitorChannels(m_doc.GetConditions());
    const std::vector<Column> columns = Columns();
    m_grid->SetDimensions(RowCount() + 1, static_cast<int>(columns.size()), 1, 0);
    CGridModel& model = m_grid->Model();
    int nameWidth = kNameMinWidth;
    const QFontMetrics metrics(m_grid->font());
    for (const MonitorChannel& channel : m_rows)
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(ToQt(channel.name)) + kNameExtra);
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        GridCell header;
        header.text = QString::fromLatin1(columns[static_cast<std::size_t>(c)].header);
        header.align = Qt::AlignCenter;
        model.SetCell(0, c, header);
        m_grid->SetColumnWidth(c, c == kNameColumn ? nameWidth
                                                   : columns[static_cast<std::size_t>(c)].width);
    }
    FillRows();
}

void CMoniDigitListBase::FillRows() {
    const std::vector<Column> columns = Columns();
    CGridModel& model = m_grid->Model();
    for (int r = 1; r <= RowCount(); ++r) {
        const MonitorChannel& channel = RowChannel(r);
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            GridCell cell;
            cell.align = columns[static_cast<std::size_t>(c)].align | Qt::AlignVCenter;
            cell.text = c == ValueColumn() || c == ValueColumn() + 1 || c == ValueColumn() + 2
                            ? QStringLiteral("-")
                            : QString();
            if (c == kNameColumn) {
                cell.kind = GridCellKind::Check;
                cell.checkable = true;
                cell.checked = channel.condition->m_visible != 0;
                cell.text = ToQt(channel.name);
            } else if (c == ValueColumn() + 3) {
                cell.text = ToQt(MonitorChannelUnit(*channel.condition));
            }
            model.SetCell(r, c, cell);
        }
        FillExtraCells(r, channel);
    }
    RefreshValues();
}

void CMoniDigitListBase::RefreshValues() {
    const CMaxMinTable& table = m_doc.GetMaxMinValues().GetCopy();
    if (!table.Exists())
        return;
    CGridModel& model = m_grid->Model();
    const QFontMetrics metrics(m_grid->font());
    int widest[3] = {};
    for (int r = 1; r <= RowCount(); ++r) {
        const MonitorChannel& channel = RowChannel(r);
        if (channel.index >= table.GetCount())
            continue;
        const ChannelLimitPair limits =
            m_limits != nullptr ? m_limits->GetLimits(*channel.condition) : ChannelLimitPair{};
        const DigitRowValues values =
            DigitListRows::Values(table.GetEntry(channel.index), m_format, WithRaw(), limits);
        const QColor colour = ToQColor(values.colour);
        GridCell value = model.Cell(r, ValueColumn());
        value.text = ToQt(values.value);
        widest[0] = std::max(widest[0], metrics.horizontalAdvance(value.text));
        model.SetCell(r, ValueColumn(), value);
        for (int k = 1; k <= 2; ++k) {
            GridCell extreme = model.Cell(r, ValueColumn() + k);
            extreme.text = ToQt(k == 1 ? values.minimum : values.maximum);
            extreme.textColour = colour;
            widest[k] = std::max(widest[k], metrics.horizontalAdvance(extreme.text));
            model.SetCell(r, ValueColumn() + k, extreme);
        }
    }
    // The value columns widen to what they show, never narrow while values come and go.
    for (int k = 0; k < 3; ++k) {
        const int wanted = widest[k] + kCellPadding;
        if (wanted > m_grid->ColumnWidth(ValueColumn() + k))
            m_grid->SetColumnWidth(ValueColumn() + k, wanted);
    }
}

void CMoniDigitListBase::RefreshChecks() {
    CGridModel& model = m_grid->Model();
    for (int r = 1; r <= RowCount(); ++r) {
        GridCell cell = model.Cell(r, kNameColumn);
        const bool visible = RowChannel(r).condition->m_visible != 0;
        if (cell.checked == visible)
            continue;
        cell.checked = visible;
        model.SetCell(r, kNameColumn, cell);
    }
}

void CMoniDigitListBase::OnCellChecked(int row, bool checked) {
    if (row < 1 || row > RowCount())
        return;
    std::set<int> rows{row};
    // A click on one of several selected rows sets them all.
    const auto selected = m_grid->SelectedCells();
    std::set<int> selectedRows;
    for (const auto& [r, c] : selected)
        selectedRows.insert(r);
    if (selectedRows.count(row) != 0 && selectedRows.size() > 1)
        rows = selectedRows;
    for (int r : rows) {
        if (r >= 1 && r <= RowCount())
            RowChannel(r).condition->m_visible = checked ? 1 : 0;
    }
    m_doc.UpdateAllViews(nullptr, UpdateHint::kRepaint);
}

void CMoniDigitListBase::OnHeaderClicked(int column, Qt::KeyboardModifiers modifiers) {
    if (!(modifiers & Qt::ControlModifier))
        return;
    if (column == kNameColumn) {
        bool& checksFirst = NameSortChecksFirst();
        const std::vector<int> order = DigitListRows::SortOrder(m_rows, checksFirst);
        checksFirst = !checksFirst;
        std::vector<MonitorChannel> sorted;
        sorted.reserve(m_rows.size());
        for (int i : order)
            sorted.push_back(m_rows[static_cast<std::size_t>(i)]);
        m_rows = std::move(sorted);
        FillRows();
    } else if (column == ValueColumn() + 1 || column == ValueColumn() + 2) {
        if (CCpsRingBuf* ring = m_doc.GetDisplayRing())
            ring->ResetRanges();
        RefreshValues();
    }
}
