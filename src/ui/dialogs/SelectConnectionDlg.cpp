#include "ui/dialogs/SelectConnectionDlg.h"

#include "ui/dialogs/ConnectionListModel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

CSelectConnectionDlg::CSelectConnectionDlg(const std::vector<RecorderEntry>& recorders,
                                           bool multiRecorder, bool singleChoice, QWidget* parent)
    : QDialog(parent), m_recorders(recorders),
      m_model(new CConnectionListModel(
          m_recorders, InitialConnectionTicks(m_recorders.size(), multiRecorder && !singleChoice),
          singleChoice, this)),
      m_list(new QTableView(this)), m_ok(nullptr) {
    setWindowTitle(QStringLiteral("Select Connection"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->resizeColumnsToContents();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(420, 260);

    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectConnectionDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectConnectionDlg::reject);
    connect(m_model, &CConnectionListModel::TicksChanged, this, &CSelectConnectionDlg::UpdateOk);
    UpdateOk();
}

CSelectConnectionDlg::~CSelectConnectionDlg() = default;

void CSelectConnectionDlg::UpdateOk() {
    m_ok->setEnabled(CanAcceptConnectionTicks(m_model->GetTicks()));
}

const ConnectionTicks& CSelectConnectionDlg::GetTicks() const {
    return m_model->GetTicks();
}

std::vector<RecorderEntry> CSelectConnectionDlg::GetSelected() const {
    return KeepTickedRecorders(m_recorders, m_model->GetTicks());
}
