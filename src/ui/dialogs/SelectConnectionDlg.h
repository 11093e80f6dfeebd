// "Select Connection": which of the recorders a scan found to use, one ticked row each.
#pragma once

#include "acquisition/RecorderList.h"
#include "setup/OptionConnection.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTableView;
class CConnectionListModel;

class CSelectConnectionDlg : public QDialog {
    Q_OBJECT

public:
    // Every row starts ticked with `multiRecorder`, only the first otherwise. With
    // `singleChoice` ticking a row unticks the others.
    CSelectConnectionDlg(const std::vector<RecorderEntry>& recorders, bool multiRecorder,
                         bool singleChoice = false, QWidget* parent = nullptr);
    ~CSelectConnectionDlg() override;

    // The ticked recorders, in list order.
    std::vector<RecorderEntry> GetSelected() const;
    const ConnectionTicks& GetTicks() const;

    QTableView* List() const { return m_list; }
    QPushButton* OkButton() const { return m_ok; }

private:
    void UpdateOk();

    std::vector<RecorderEntry> m_recorders;
    CConnectionListModel* m_model;
    QTableView* m_list;
    QPushButton* m_ok;
};
