// What both digit lists of the monitor window share: one grid row per recorded channel with its
// check box (shown in the chart), its current, smallest and largest value in limit colours,
// the two Name sort orders and the reset of the chart ranges from the MIN and MAX headers.
#pragma once

#include "framework/View.h"
#include "monitor/DataFormat.h"
#include "monitor/MonitorChannels.h"

#include <QWidget>

#include <vector>

class CGridCtrl;
class CRecorderSettings;
class CZT300SetDoc;
class IChannelLimits;
class QTimer;

class CMoniDigitListBase : public QWidget, public IView {
    Q_OBJECT

public:
    // `limits` says where a channel's limits come from; without one the channels have none.
    CMoniDigitListBase(CZT300SetDoc& doc, const CRecorderSettings& settings,
                       const IChannelLimits* limits, QWidget* parent = nullptr);
    ~CMoniDigitListBase() override;

    void OnUpdate(IView* sender, int hint, const CUpdateData* data) override;
    void SetLimits(const IChannelLimits* limits);

    void BuildGrid();
    void RefreshValues();
    void RefreshChecks();
    // A click on a header with Ctrl held: Name sorts, MIN and MAX reset the chart ranges.
    void OnHeaderClicked(int column, Qt::KeyboardModifiers modifiers);

    CGridCtrl& Grid() const { return *m_grid; }
    // The channel of grid row `row` (the header is row 0).
    const MonitorChannel& RowChannel(int row) const {
        return m_rows[static_cast<std::size_t>(row - 1)];
    }
    int RowCount() const { return static_cast<int>(m_rows.size()); }

protected:
    struct Column {
        const char* header;
        int width;
        Qt::Alignment align;
    };

    // Call once from the subclass's constructor, when its columns are known.
    void Initialise();
    virtual std::vector<Column> Columns() const = 0;
    virtual int ValueColumn() const = 0;
    // The separate list writes the unconverted readings too.
    virtual bool WithRaw() const = 0;
    // The shared flag of the list's class: true while the next Name sort puts checked rows first.
    virtual bool& NameSortChecksFirst() const = 0;
    // The cells a subclass adds to a row.
    virtual void FillExtraCells(int row, const MonitorChannel& channel) {
        (void)row, (void)channel;
    }
    virtual void OnCellEdited(int row, int column, const QString& text) {
        (void)row, (void)column, (void)text;
    }
    virtual void OnCellClicked(int row, int column) { (void)row, (void)column; }
    virtual void OnChannelsMoved() {}

    CZT300SetDoc& m_doc;
    const CRecorderSettings& m_settings;
    CDataFormat m_format{CDataFormat::FRACTIONAL, 3};

private:
    void FillRows();
    void OnCellChecked(int row, bool checked);

    const IChannelLimits* m_limits;
    CGridCtrl* m_grid;
    QTimer* m_refreshTimer;
    std::vector<MonitorChannel> m_rows; // in the order of the grid's rows
};
