#include "ui/monitor/MoniCommonDigitListView.h"

#include "acquisition/ZT300SetDoc.h"
#include "conditions/TextNumbers.h"
#include "framework/UpdateHints.h"
#include "monitor/ChartColour.h"
#include "monitor/DigitListRows.h"
#include "monitor/MyCommonWaveChInfo.h"
#include "ui/grid/GridCtrl.h"
#include "ui/monitor/ChartPicture.h"

#include <QColorDialog>
#include <QMenu>

using ChartPicture::ToQColor;

namespace {

QString Real(double value) {
    return QString::fromStdString(FormatText("%5.3f", value));
}

} // namespace

CMoniCommonDigitListView::CMoniCommonDigitListView(CZT300SetDoc& doc,
                                                   const CRecorderSettings& settings,
                                                   const IChannelLimits* limits, QWidget* parent)
    : CMoniDigitListBase(doc, settings, limits, parent),
      m_chooseColour([this](const QColor& current) {
          return QColorDialog::getColor(current, this, tr("Trace Colour"));
      }) {
    connect(&Grid(), &CGridCtrl::contextMenuRequested, this,
            &CMoniCommonDigitListView::ShowContextMenu);
    Initialise();
}

std::vector<CMoniDigitListBase::Column> CMoniCommonDigitListView::Columns() const {
    return {
        {"Name", 120, Qt::AlignRight},  {"CL", 40, Qt::AlignLeft},   {"Value", 80, Qt::AlignRight},
        {"MIN", 60, Qt::AlignRight},    {"MAX", 60, Qt::AlignRight}, {"Unit", 60, Qt::AlignHCenter},
        {"GridNo", 60, Qt::AlignRight}, {"DIV", 60, Qt::AlignRight}, {"ZeroP", 60, Qt::AlignRight}};
}

bool& CMoniCommonDigitListView::NameSortChecksFirst() const {
    static bool checksFirst = true;
    return checksFirst;
}

void CMoniCommonDigitListView::FillExtraCells(int row, const MonitorChannel&) {
    CGridModel& model = Grid().Model();
    GridCell colour = model.Cell(row, kColour);
    colour.kind = GridCellKind::Colour;
    model.SetCell(row, kColour, colour);
    for (int column : {kGridNo, kDiv, kZeroP}) {
        GridCell cell = model.Cell(row, column);
        cell.kind = GridCellKind::Numeric;
        cell.editable = true;
        cell.integer = column == kGridNo;
        model.SetCell(row, column, cell);
    }
    WritePlacement(row);
}

void CMoniCommonDigitListView::WritePlacement(int row) {
    const MonitorChannel& channel = RowChannel(row);
    // The chart reads its placement from the condition; the list writes it as the chart shows it.
    const CMyCommonWaveChInfo info(channel.index, *channel.condition);
    CGridModel& model = Grid().Model();
    GridCell colour = model.Cell(row, kColour);
    colour.colour = ToQColor(info.GetColor());
    model.SetCell(row, kColour, colour);
    model.SetCellText(row, kGridNo, QString::number(info.GetY()));
    model.SetCellText(row, kDiv, Real(info.GetUnitsPerDivision()));
    model.SetCellText(row, kZeroP, Real(info.GetCenter()));
}

void CMoniCommonDigitListView::OnChannelsMoved() {
    for (int row = 1; row <= RowCount(); ++row)
        WritePlacement(row);
}

void CMoniCommonDigitListView::OnCellEdited(int row, int column, const QString& text) {
    if (row < 1 || row > RowCount())
        return;
    const MonitorChannel& channel = RowChannel(row);
    CMyCommonWaveChInfo info(channel.index, *channel.condition);
    const std::string typed = text.toStdString();
    bool changed = false;
    if (column == kGridNo) {
        if (const auto y = DigitListRows::EditGridNo(typed, info.GetY())) {
            info.SetY(static_cast<std::int16_t>(*y));
            changed = true;
        }
    } else if (column == kDiv) {
        if (const auto units = DigitListRows::EditDivision(typed, info.GetUnitsPerDivision())) {
            info.SetUnitsPerDivision(*units);
            changed = true;
        }
    } else if (column == kZeroP) {
        if (const auto center = DigitListRows::EditZeroPoint(typed, info.GetCenter())) {
            info.SetCenter(*center);
            changed = true;
        }
    } else {
        return;
    }
    WritePlacement(row);
    if (changed)
        m_doc.UpdateAllViews(this, UpdateHint::kRepaint);
}

void CMoniCommonDigitListView::OnCellClicked(int row, int column) {
    if (column != kColour || row < 1 || row > RowCount() || !m_chooseColour)
        return;
    const MonitorChannel& channel = RowChannel(row);
    CMyCommonWaveChInfo info(channel.index, *channel.condition);
    const QColor chosen = m_chooseColour(ToQColor(info.GetColor()));
    if (!chosen.isValid())
        return;
    info.SetColor(ChartColour::Rgb(chosen.red(), chosen.green(), chosen.blue()));
    WritePlacement(row);
    m_doc.UpdateAllViews(this, UpdateHint::kRepaint);
}

void CMoniCommonDigitListView::ShowContextMenu(const QPoint& globalPos) {
    QMenu menu(this);
    menu.addAction(tr("&Copy"), &Grid(), &CGridCtrl::Copy);
    menu.addAction(tr("&Paste"), &Grid(), &CGridCtrl::Paste);
    menu.exec(globalPos);
}
