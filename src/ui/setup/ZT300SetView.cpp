#include "ui/setup/ZT300SetView.h"

#include "acquisition/RecorderSettings.h"
#include "conditions/ConditionTables.h"
#include "conditions/RecCnd.h"
#include "framework/UpdateHints.h"
#include "ui/QtPrompt.h"
#include "ui/grid/GridCtrl.h"
#include "ui/setup/CalcChSettingDlg.h"
#include "ui/setup/FvAmpSettingDlg.h"
#include "ui/setup/ModuleIcons.h"

#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QVBoxLayout>

namespace Col = ChannelTableColumn;

namespace {

constexpr int kDefaultBalWarnPercent = 100;

// Condition texts are single-byte; Latin-1 carries every byte through unchanged.
QString ToQt(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQt(const QString& text) {
    return text.toLatin1().toStdString();
}

Qt::Alignment ToQt(TableAlign align) {
    switch (align) {
    case TableAlign::Centre:
        return Qt::AlignCenter;
    case TableAlign::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QColor ToQColor(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

GridCell ToGridCell(const TableCell& cell) {
    GridCell grid;
    grid.text = ToQt(cell.text);
    grid.kind = cell.kind == TableCellKind::Check    ? GridCellKind::Check
                : cell.kind == TableCellKind::Choice ? GridCellKind::Choice
                                                     : GridCellKind::Text;
    grid.editable = cell.editable;
    grid.checkable = cell.checkable;
    grid.checked = cell.checked;
    grid.freeText = cell.freeText;
    for (const std::string& choice : cell.choices)
        grid.choices << ToQt(choice);
    if (cell.textColour)
        grid.textColour = ToQColor(*cell.textColour);
    grid.backColour = ToQColor(cell.backColour);
    grid.align = ToQt(cell.align);
    if (cell.icon >= 0)
        grid.icon = CModuleIcons::Icon(cell.icon);
    return grid;
}

} // namespace

CZT300SetView::CZT300SetView(QWidget* parent)
    : QWidget(parent), m_grid(new CGridCtrl(this)),
      m_runDialog([](QDialog& dialog) { return dialog.exec(); }) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    m_grid->SetEditOnActivate(false);
    connect(m_grid, &CGridCtrl::cellEdited, this, &CZT300SetView::OnCellEdited);
    connect(m_grid, &CGridCtrl::cellChecked, this, &CZT300SetView::OnCellChecked);
    connect(m_grid, &CGridCtrl::cellActivated, this, &CZT300SetView::OnCellActivated);
    connect(m_grid, &CGridCtrl::contextMenuRequested, this, &CZT300SetView::OnContextMenu);
    Rebuild();
}

CZT300SetView::~CZT300SetView() {
    // An editor still open commits while the widgets close, after the rules are gone.
    disconnect(m_grid, nullptr, this, nullptr);
}

void CZT300SetView::SetConditions(std::vector<CRecCnd>* conditions, int currentIndex,
                                  const CRecorderSettings* settings) {
    m_conditions = conditions;
    m_currentIndex = currentIndex;
    m_settings = settings;
    Rebuild();
}

void CZT300SetView::SetLocked(bool locked) {
    m_locked = locked;
    m_grid->SetReadOnly(locked);
}

int CZT300SetView::CurrentIndex() const {
    if (!m_conditions || m_conditions->empty())
        return -1;
    const int count = static_cast<int>(m_conditions->size());
    return m_currentIndex >= 0 && m_currentIndex < count ? m_currentIndex : 0;
}

CRecCnd* CZT300SetView::CurrentCondition() const {
    const int index = CurrentIndex();
    return index < 0 ? nullptr : &(*m_conditions)[static_cast<std::size_t>(index)];
}

QString CZT300SetView::FrameCaption(const QString& documentTitle) {
    return documentTitle + QStringLiteral("--- Setting");
}

IPrompt& CZT300SetView::Prompt() {
    if (m_prompt)
        return *m_prompt;
    if (!m_ownPrompt)
        m_ownPrompt = std::make_unique<CQtPrompt>(this);
    return *m_ownPrompt;
}

void CZT300SetView::Rebuild() {
    CRecCnd* condition = CurrentCondition();
    m_rules.reset();
    if (condition) {
        CChannelTableRules::NumberChannels(*m_conditions);
        const int warn = m_settings ? m_settings->m_balWarnPercent : kDefaultBalWarnPercent;
        m_rules = std::make_unique<CChannelTableRules>(
            *condition, warn, m_settings ? m_settings->GetUnitList() : std::vector<std::string>{});
    }
    m_grid->SetDimensions(m_rules ? m_rules->RowCount() : 1, Col::kCount, 1, 1);
    FillHeader();
    for (int row = 1; m_rules && row < m_rules->RowCount(); ++row)
        FillRow(row);
    FitColumns(true);
    m_grid->SetReadOnly(m_locked);
    m_grid->viewport()->update();
}

void CZT300SetView::FillHeader() {
    for (int column = 0; column < Col::kCount; ++column) {
        const TableColumn& info = CChannelTableRules::kColumns[static_cast<std::size_t>(column)];
        GridCell cell;
        cell.text = m_rules ? ToQt(m_rules->HeaderText(column))
                            : QString::fromLatin1(info.header.data(), info.header.size());
        cell.align = Qt::AlignCenter;
        m_grid->Model().SetCell(0, column, cell);
    }
}

// The widths follow the font, and a column is never narrower than its widest text. A rebuild
// starts from the font's widths; an edit only widens.
void CZT300SetView::FitColumns(bool fromFontWidths) {
    const int digitsWidth = m_grid->fontMetrics().horizontalAdvance(QStringLiteral("0123456789"));
    for (int column = 0; column < Col::kCount; ++column) {
        int width = fromFontWidths ? CChannelTableRules::ScaledWidth(column, digitsWidth)
                                   : m_grid->ColumnWidth(column);
        for (int row = 0; row < m_grid->Model().GridRows(); ++row)
            width = std::max(width, m_grid->FittingWidth(row, column));
        m_grid->SetColumnWidth(column, width);
    }
}

void CZT300SetView::FillRow(int row) {
    for (int column = 0; column < Col::kCount; ++column) {
        GridCell cell = ToGridCell(m_rules->GetCell(row, column));
        if (column == Col::kChannels)
            cell.itemData = QVariant::fromValue(static_cast<void*>(m_rules->RowChannel(row)));
        m_grid->Model().SetCell(row, column, std::move(cell));
    }
}

void CZT300SetView::FillColumn(int column) {
    for (int row = 1; m_rules && row < m_rules->RowCount(); ++row)
        m_grid->Model().SetCell(row, column, ToGridCell(m_rules->GetCell(row, column)));
}

void CZT300SetView::RefreshBalance() {
    FillColumn(Col::kBal);
}

void CZT300SetView::RefreshChecks() {
    FillColumn(Col::kMon);
}

void CZT300SetView::OnUpdate(IView* /*sender*/, int hint, const CUpdateData* /*data*/) {
    switch (hint) {
    case UpdateHint::kConditionChanged:
        emit frameRefreshRequested(hint);
        Rebuild();
        break;
    case UpdateHint::kRepaint:
        RefreshChecks();
        break;
    case UpdateHint::kBalanceValuesRead:
        RefreshBalance();
        break;
    case UpdateHint::kNextRecordNameChanged:
    case UpdateHint::kTestInfoChanged:
        emit frameRefreshRequested(hint);
        break;
    default:
        break;
    }
}

CChCnd* CZT300SetView::ChannelOfRow(int row) const {
    const QVariant data = m_grid->Model().Cell(row, Col::kChannels).itemData;
    return static_cast<CChCnd*>(data.value<void*>());
}

int CZT300SetView::RowOfChannel(const CChCnd* channel) const {
    for (int row = 1; m_rules && row < m_rules->RowCount(); ++row) {
        if (m_rules->RowChannel(row) == channel)
            return row;
    }
    return -1;
}

void CZT300SetView::OnCellEdited(int row, int column, const QString& text, bool pasted) {
    if (!m_rules || m_locked || row < 1)
        return;
    const std::string value = FromQt(text);
    if (!m_rules->ApplyText(row, column, value, Prompt())) {
        if (column != Col::kMaterialId) // shown as typed, but not stored
            FillRow(row);
        return;
    }
    std::vector<int> changed{row};
    if (!pasted && CChannelTableRules::SpreadsToSelectedRows(column)) {
        std::vector<int> selected;
        for (int other = 1; other < m_rules->RowCount(); ++other) {
            if (m_grid->IsCellSelected(other, column))
                selected.push_back(other);
        }
        const std::vector<int> taken = m_rules->ApplyToRows(row, column, value, selected, Prompt());
        changed.insert(changed.end(), taken.begin(), taken.end());
    }
    for (int r : changed)
        FillRow(r);
    FitColumns(false);
    emit conditionEdited(CurrentIndex());
}

void CZT300SetView::OnCellChecked(int row, int column, bool checked) {
    if (!m_rules || m_locked)
        return;
    if (m_rules->ApplyCheck(row, column, checked))
        emit conditionEdited(CurrentIndex());
    else
        FillRow(row);
}

void CZT300SetView::OnCellActivated(int row, int column) {
    if (!m_rules || m_locked || row < 1)
        return;
    if (m_rules->IsCalcRow(row) && column != Col::kMemo) {
        OpenCalcChSetting(row);
    } else if (column == Col::kFilter && m_rules->RowTypeCode(row) == ModuleType::kFrequency) {
        OpenFvAmpSetting(row);
    } else if (column != Col::kMaterialId) {
        m_grid->EditCell(row, column);
    }
}

void CZT300SetView::OpenCalcChSetting(int row) {
    if (!m_rules || m_locked || !m_rules->IsCalcRow(row))
        return;
    auto& calc = static_cast<CCalcChCnd&>(*m_rules->RowChannel(row));
    CCalcChSettingDlg dialog(CChannelTableCalcSetting::FromChannel(calc),
                             CChannelTableRules::DisplayNumber(calc), Prompt(), this);
    if (m_runDialog(dialog) != QDialog::Accepted)
        return;
    dialog.Setting().Store(calc);
    emit conditionEdited(CurrentIndex());
    Rebuild();
}

void CZT300SetView::OpenFvAmpSetting(int row) {
    if (!m_rules || m_locked || m_rules->RowTypeCode(row) != ModuleType::kFrequency)
        return;
    CRecCnd& condition = *CurrentCondition();
    CChCnd& channel = *m_rules->RowChannel(row);
    CFvAmpSettingDlg dialog(CChannelTableFvSetting::ForChannel(condition, channel), this);
    if (m_runDialog(dialog) != QDialog::Accepted)
        return;
    const std::vector<CChCnd*> changed = dialog.Setting().Store(condition, channel);
    if (changed.empty())
        return;
    for (const CChCnd* ch : changed) {
        if (const int r = RowOfChannel(ch); r > 0)
            FillRow(r);
    }
    FitColumns(false);
    emit conditionEdited(CurrentIndex());
}

void CZT300SetView::OnContextMenu(const QPoint& globalPos) {
    QMenu* menu = m_grid->CreateClipboardMenu(this, true);
    menu->exec(globalPos);
    menu->deleteLater();
}

bool CZT300SetView::PrintTo(QPrinter& printer) {
    return m_grid->Print(printer, m_printTitle);
}

namespace {

// The table is far wider than high; it starts on a landscape page.
void SetUpPrinter(QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
}

} // namespace

void CZT300SetView::Print() {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    QPrintDialog dialog(&printer, this);
    if (m_runDialog(dialog) == QDialog::Accepted)
        PrintTo(printer);
}

void CZT300SetView::PrintDirect() {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    PrintTo(printer);
}

void CZT300SetView::PrintPreview() {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { PrintTo(*target); });
    m_runDialog(preview);
}
