// "Export CSV": which channels, the time range in view or the whole record, and the time as
// elapsed seconds or date and time.
#pragma once

#include "records/RecordCsvExport.h"

#include <QDialog>

class CChannelListModel;
class QListWidget;
class QRadioButton;

class CCsvExportDlg : public QDialog {
    Q_OBJECT

public:
    // The shown channels are chosen at first; `wallClock` false leaves only elapsed seconds.
    CCsvExportDlg(const CChannelListModel& channels, bool wallClock, QWidget* parent);

    std::vector<std::size_t> GetChannels() const;
    bool IsWholeRecord() const;
    CRecordCsvExport::TimeColumn GetTimeColumn() const;

private:
    QListWidget* m_list;
    QRadioButton* m_visible;
    QRadioButton* m_whole;
    QRadioButton* m_elapsed;
    QRadioButton* m_wallClock;
};
