#include "ui/dialogs/RegPhyUnitDlg.h"

#include "setup/OptionUnits.h"
#include "ui/dialogs/DialogText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

CRegPhyUnitDlg::CRegPhyUnitDlg(const std::vector<std::string>& units, QWidget* parent)
    : QDialog(parent), m_units(units), m_model(new QStringListModel(this)),
      m_list(new QListView(this)), m_newUnit(new QLineEdit(this)),
      m_insertBefore(new QPushButton(QStringLiteral("Insert Before"), this)),
      m_insertAfter(new QPushButton(QStringLiteral("Insert After"), this)),
      m_delete(new QPushButton(QStringLiteral("DEL"), this)) {
    setWindowTitle(QStringLiteral("Register Physical Unit"));
    m_list->setModel(m_model);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("New unit"), this));
    side->addWidget(m_newUnit);
    side->addWidget(m_insertBefore);
    side->addWidget(m_insertAfter);
    side->addWidget(m_delete);
    side->addStretch(1);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Unit List:"), this), 0, 0);
    grid->addWidget(m_list, 1, 0);
    grid->addLayout(side, 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    connect(m_insertBefore, &QPushButton::clicked, this, [this] { Insert(true); });
    connect(m_insertAfter, &QPushButton::clicked, this, [this] { Insert(false); });
    connect(m_delete, &QPushButton::clicked, this, &CRegPhyUnitDlg::Delete);
    connect(m_newUnit, &QLineEdit::textChanged, this, &CRegPhyUnitDlg::UpdateButtons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRegPhyUnitDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRegPhyUnitDlg::reject);
    ShowUnits(std::nullopt);
}

std::optional<std::size_t> CRegPhyUnitDlg::SelectedRow() const {
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid() || !m_list->selectionModel()->isSelected(current))
        return std::nullopt;
    return static_cast<std::size_t>(current.row());
}

void CRegPhyUnitDlg::Insert(bool before) {
    const std::optional<std::size_t> row =
        InsertUnit(m_units, SelectedRow(), before ? UnitInsert::Before : UnitInsert::After,
                   ToStdString(m_newUnit->text()));
    if (!row)
        return;
    m_newUnit->clear();
    ShowUnits(row);
}

void CRegPhyUnitDlg::Delete() {
    if (const std::optional<std::size_t> row = SelectedRow())
        ShowUnits(DeleteUnit(m_units, *row));
}

void CRegPhyUnitDlg::ShowUnits(std::optional<std::size_t> select) {
    QStringList texts;
    for (const std::string& unit : m_units)
        texts << ToQString(unit);
    m_model->setStringList(texts);
    if (select)
        m_list->setCurrentIndex(m_model->index(static_cast<int>(*select)));
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CRegPhyUnitDlg::UpdateButtons, Qt::UniqueConnection);
    UpdateButtons();
}

void CRegPhyUnitDlg::UpdateButtons() {
    const bool canInsert = CanInsertUnit(m_units, ToStdString(m_newUnit->text()));
    m_insertBefore->setEnabled(canInsert);
    m_insertAfter->setEnabled(canInsert);
    m_delete->setEnabled(SelectedRow().has_value());
}
