// The digit list beside the common chart: besides the values a colour column and the three
// placement columns of each channel's trace (grid division, units per division, zero point),
// edited in place, with Copy and Paste.
#pragma once

#include "ui/monitor/MoniDigitListBase.h"

#include <functional>

class QColor;

class CMoniCommonDigitListView : public CMoniDigitListBase {
    Q_OBJECT

public:
    enum ColumnId { kName, kColour, kValue, kMin, kMax, kUnit, kGridNo, kDiv, kZeroP };
    // Asks the user for a colour; an invalid colour means cancelled.
    using ColourChooser = std::function<QColor(const QColor& current)>;

    CMoniCommonDigitListView(CZT300SetDoc& doc, const CRecorderSettings& settings,
                             const IChannelLimits* limits, QWidget* parent = nullptr);

    void SetColourChooser(ColourChooser chooser) { m_chooseColour = std::move(chooser); }

protected:
    std::vector<Column> Columns() const override;
    int ValueColumn() const override { return kValue; }
    bool WithRaw() const override { return false; }
    bool& NameSortChecksFirst() const override;
    void FillExtraCells(int row, const MonitorChannel& channel) override;
    void OnCellEdited(int row, int column, const QString& text) override;
    void OnCellClicked(int row, int column) override;
    void OnChannelsMoved() override;

private:
    void WritePlacement(int row);
    void ShowContextMenu(const QPoint& globalPos);

    ColourChooser m_chooseColour;
};
