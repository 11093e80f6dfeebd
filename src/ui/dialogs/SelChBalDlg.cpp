#include "ui/dialogs/SelChBalDlg.h"

#include "conditions/RecCnd.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CSelChBalDlg::CSelChBalDlg(const CRecCnd& condition, const ChannelSelection& selection,
                           QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
    setWindowTitle(tr("Select channels to do balance"));
    for (std::size_t i = 0; i < condition.m_channels.size(); ++i) {
        const std::string name = condition.m_channels[i].GetDisplayName();
        auto* item = new QListWidgetItem(
            QString::fromLocal8Bit(name.data(), static_cast<qsizetype>(name.size())), m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(i < selection.size() && selection[i] != 0 ? Qt::Checked
                                                                      : Qt::Unchecked);
    }
    auto* allOn = new QPushButton(tr("All ON"), this);
    auto* allOff = new QPushButton(tr("All OFF"), this);
    connect(allOn, &QPushButton::clicked, this, [this] { SetAll(true); });
    connect(allOff, &QPushButton::clicked, this, [this] { SetAll(false); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(allOn);
    row->addWidget(allOff);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

void CSelChBalDlg::SetAll(bool on) {
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

ChannelSelection CSelChBalDlg::GetSelection() const {
    ChannelSelection selection;
    for (int i = 0; i < m_list->count(); ++i)
        selection.push_back(m_list->item(i)->checkState() == Qt::Checked ? 1 : 0);
    return selection;
}
