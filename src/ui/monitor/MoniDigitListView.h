// The digit list beside the separate charts: Name, Value, MIN, MAX and Unit, each value followed
// by its unconverted reading.
#pragma once

#include "ui/monitor/MoniDigitListBase.h"

class CMoniDigitListView : public CMoniDigitListBase {
    Q_OBJECT

public:
    CMoniDigitListView(CZT300SetDoc& doc, const CRecorderSettings& settings,
                       const IChannelLimits* limits, QWidget* parent = nullptr);

protected:
    std::vector<Column> Columns() const override;
    int ValueColumn() const override { return 1; }
    bool WithRaw() const override { return true; }
    bool& NameSortChecksFirst() const override;
};
