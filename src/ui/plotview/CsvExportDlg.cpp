#include "ui/plotview/CsvExportDlg.h"

#include "ui/plotview/ChannelListModel.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CCsvExportDlg::CCsvExportDlg(const CChannelListModel& channels, bool wallClock, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)),
      m_visible(new QRadioButton(QStringLiteral("Time range in view"), this)),
      m_whole(new QRadioButton(QStringLiteral("Whole record"), this)),
      m_elapsed(new QRadioButton(QStringLiteral("Elapsed seconds"), this)),
      m_wallClock(new QRadioButton(QStringLiteral("Date and time"), this)) {
    setWindowTitle(QStringLiteral("Export CSV"));
    for (std::size_t i = 0; i < channels.GetChannelCount(); ++i) {
        auto* item =
            new QListWidgetItem(QString::fromStdString(channels.GetChannel(i).name), m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(channels.IsShown(i) ? Qt::Checked : Qt::Unchecked);
    }
    auto* all = new QPushButton(QStringLiteral("All"), this);
    auto* none = new QPushButton(QStringLiteral("None"), this);
    auto checkAll = [this](Qt::CheckState state) {
        for (int i = 0; i < m_list->count(); ++i)
            m_list->item(i)->setCheckState(state);
    };
    connect(all, &QPushButton::clicked, this, [checkAll] { checkAll(Qt::Checked); });
    connect(none, &QPushButton::clicked, this, [checkAll] { checkAll(Qt::Unchecked); });

    auto* rangeBox = new QGroupBox(QStringLiteral("Rows"), this);
    auto* rangeLayout = new QVBoxLayout(rangeBox);
    rangeLayout->addWidget(m_visible);
    rangeLayout->addWidget(m_whole);
    m_visible->setChecked(true);
    auto* timeBox = new QGroupBox(QStringLiteral("Time column"), this);
    auto* timeLayout = new QVBoxLayout(timeBox);
    timeLayout->addWidget(m_elapsed);
    timeLayout->addWidget(m_wallClock);
    m_elapsed->setChecked(true);
    m_wallClock->setEnabled(wallClock);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto updateOk = [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!GetChannels().empty());
    };
    connect(m_list, &QListWidget::itemChanged, this, updateOk);
    updateOk();

    auto* choose = new QHBoxLayout;
    choose->addWidget(all);
    choose->addWidget(none);
    choose->addStretch();
    auto* options = new QHBoxLayout;
    options->addWidget(rangeBox);
    options->addWidget(timeBox);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(choose);
    layout->addLayout(options);
    layout->addWidget(buttons);
}

std::vector<std::size_t> CCsvExportDlg::GetChannels() const {
    std::vector<std::size_t> chosen;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->checkState() == Qt::Checked)
            chosen.push_back(static_cast<std::size_t>(i));
    }
    return chosen;
}

bool CCsvExportDlg::IsWholeRecord() const {
    return m_whole->isChecked();
}

CRecordCsvExport::TimeColumn CCsvExportDlg::GetTimeColumn() const {
    return m_wallClock->isChecked() ? CRecordCsvExport::TimeColumn::WallClock
                                    : CRecordCsvExport::TimeColumn::Elapsed;
}
