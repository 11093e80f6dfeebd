#include "ui/monitor/MoniDigitListView.h"

CMoniDigitListView::CMoniDigitListView(CZT300SetDoc& doc, const CRecorderSettings& settings,
                                       const IChannelLimits* limits, QWidget* parent)
    : CMoniDigitListBase(doc, settings, limits, parent) {
    Initialise();
}

std::vector<CMoniDigitListBase::Column> CMoniDigitListView::Columns() const {
    return {{"Name", 120, Qt::AlignRight},
            {"Value", 60, Qt::AlignRight},
            {"MIN", 60, Qt::AlignRight},
            {"MAX", 60, Qt::AlignRight},
            {"Unit", 60, Qt::AlignHCenter}};
}

bool& CMoniDigitListView::NameSortChecksFirst() const {
    static bool checksFirst = true;
    return checksFirst;
}
