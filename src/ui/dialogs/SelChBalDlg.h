// "Select channels to do balance": one tick per channel of the condition, with All ON / All OFF.
#pragma once

#include "device/Balance.h"

#include <QDialog>

class CRecCnd;
class QListWidget;

class CSelChBalDlg : public QDialog {
    Q_OBJECT

public:
    // `selection` holds one flag per channel of `condition` (the stored flags, or all 0).
    CSelChBalDlg(const CRecCnd& condition, const ChannelSelection& selection,
                 QWidget* parent = nullptr);

    ChannelSelection GetSelection() const;
    QListWidget* ChannelList() const { return m_list; }
    void SetAll(bool on);

private:
    QListWidget* m_list;
};
