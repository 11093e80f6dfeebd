#include "ui/files/FileTransferDlg.h"

#include "framework/SettingsStore.h"
#include "setup/CardTree.h"
#include "ui/QtPrompt.h"
#include "ui/dialogs/DialogText.h"
#include "ui/files/FileListView.h"
#include "ui/files/TransferRowModel.h"

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <set>

namespace {

constexpr int kFolderRole = Qt::UserRole;

QTableView* MakeList(CTransferRowModel* model, QWidget* parent) {
    auto* list = new QTableView(parent);
    list->setModel(model);
    SetUpFileList(list);
    list->horizontalHeader()->setSortIndicatorShown(true);
    FitFileListColumns(list, CTransferRowModel::kWidths);
    return list;
}

} // namespace

CFileTransferDlg::CFileTransferDlg(CDevice& device, ISettingsStore& store,
                                   const std::string& dataFolder, QWidget* parent)
    : QDialog(parent), m_store(store), m_prompt(std::make_unique<CQtPrompt>(this)),
      m_transfer(device, *m_prompt), m_tree(new QTreeWidget(this)), m_cardTotal(new QLabel(this)),
      m_cardRows(new CTransferRowModel(this)), m_target(new QLineEdit(this)),
      m_browse(new QToolButton(this)), m_pcRows(new CTransferRowModel(this)),
      m_copy(new QPushButton(tr("Copy =>"), this)), m_move(new QPushButton(tr("Move =>"), this)),
      m_delete(new QPushButton(tr("DEL"), this)), m_format(new QPushButton(tr("Format"), this)),
      m_close(new QPushButton(tr("Close"), this)) {
    setWindowTitle(tr("File Transfer"));
    m_settings.Load(store, dataFolder);
    m_cardList = MakeList(m_cardRows, this);
    m_pcList = MakeList(m_pcRows, this);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_copy, m_move, m_delete, m_format}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* sides = new QHBoxLayout;
    sides->addWidget(BuildCardSide(), 3);
    sides->addLayout(buttons);
    sides->addWidget(BuildPcSide(), 2);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides, 1);
    layout->addLayout(bottom);
    resize(1100, 520);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        const int folder = item != nullptr ? item->data(0, kFolderRole).toInt() : -1;
        const auto& folders = m_transfer.GetFolders();
        m_folderPath = folder >= 0 && folder < static_cast<int>(folders.size())
                           ? folders[static_cast<std::size_t>(folder)].path
                           : std::string();
        ShowCardFolder();
    });
    connect(m_cardList->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_settings.cardSort.Click(column);
        SortList(m_cardList, m_cardRows, m_settings.cardSort);
    });
    connect(m_pcList->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_settings.pcSort.Click(column);
        SortList(m_pcList, m_pcRows, m_settings.pcSort);
    });
    connect(m_cardList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CFileTransferDlg::UpdateButtons);
    connect(m_copy, &QPushButton::clicked, this, [this] { Run(CCardTransfer::Kind::Copy); });
    connect(m_move, &QPushButton::clicked, this, [this] { Run(CCardTransfer::Kind::Move); });
    connect(m_delete, &QPushButton::clicked, this, [this] { Run(CCardTransfer::Kind::Delete); });
    connect(m_format, &QPushButton::clicked, this, &CFileTransferDlg::Format);
    connect(m_browse, &QToolButton::clicked, this, &CFileTransferDlg::ChooseFolder);
    connect(m_close, &QPushButton::clicked, this, &CFileTransferDlg::accept);

    SetTargetFolder(m_settings.targetFolder);
    UpdateButtons();
}

CFileTransferDlg::~CFileTransferDlg() = default;

QWidget* CFileTransferDlg::BuildCardSide() {
    auto* side = new QWidget(this);
    auto* device = new QGroupBox(tr("Device"), side);
    auto* deviceLayout = new QVBoxLayout(device);
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumWidth(160);
    deviceLayout->addWidget(m_tree);
    auto* list = new QVBoxLayout;
    list->addWidget(m_cardTotal);
    list->addWidget(m_cardList, 1);
    auto* layout = new QHBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(device, 1);
    layout->addLayout(list, 2);
    return side;
}

QWidget* CFileTransferDlg::BuildPcSide() {
    auto* side = new QWidget(this);
    m_target->setReadOnly(true);
    m_browse->setText(QStringLiteral("..."));
    auto* folder = new QHBoxLayout;
    folder->addWidget(new QLabel(tr("Folder :"), side));
    folder->addWidget(m_target, 1);
    folder->addWidget(m_browse);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(folder);
    layout->addWidget(m_pcList, 1);
    return side;
}

int CFileTransferDlg::Run() {
    return Open() ? exec() : QDialog::Rejected;
}

bool CFileTransferDlg::Open() {
    if (!m_transfer.Open())
        return false;
    RebuildTree();
    return true;
}

void CFileTransferDlg::done(int result) {
    m_settings.Save(m_store);
    QDialog::done(result);
}

void CFileTransferDlg::RebuildTree() {
    const std::string shown = m_folderPath;
    m_tree->clear();
    if (m_transfer.GetFolders().empty()) {
        m_folderPath.clear();
        ShowCardFolder();
        return;
    }
    auto* root = new QTreeWidgetItem(m_tree);
    AddTreeItems(root, BuildCardTree(m_transfer.GetFolders()));
    m_tree->expandAll();
    // The folder shown before stays shown when the card still has it.
    SelectCardFolder(shown.empty() ? std::string("\\") : shown);
    if (m_tree->currentItem() == nullptr)
        m_tree->setCurrentItem(root);
}

void CFileTransferDlg::AddTreeItems(QTreeWidgetItem* parent, const CardTreeItem& item) {
    parent->setText(0, ToQString(item.text));
    parent->setData(0, kFolderRole, item.folder);
    parent->setIcon(0, style()->standardIcon(parent->parent() == nullptr ? QStyle::SP_DriveFDIcon
                                                                         : QStyle::SP_DirIcon));
    for (const CardTreeItem& child : item.children)
        AddTreeItems(new QTreeWidgetItem(parent), child);
}

void CFileTransferDlg::SelectCardFolder(const std::string& path) {
    const int folder = FindCardFolder(m_transfer.GetFolders(), path);
    for (QTreeWidgetItemIterator item(m_tree); *item != nullptr; ++item) {
        if (folder >= 0 && (*item)->data(0, kFolderRole).toInt() == folder) {
            m_tree->setCurrentItem(*item);
            return;
        }
    }
}

void CFileTransferDlg::ShowCardFolder() {
    const auto& folders = m_transfer.GetFolders();
    const int folder = FindCardFolder(folders, m_folderPath);
    if (folder < 0) {
        m_cardTotal->clear();
        m_cardRows->SetRows({});
    } else {
        const LinkCardFolder& shown = folders[static_cast<std::size_t>(folder)];
        m_cardTotal->setText(ToQString(CardFolderTotalText(shown)));
        m_cardRows->SetRows(CardRows(shown));
    }
    SortList(m_cardList, m_cardRows, m_settings.cardSort);
}

void CFileTransferDlg::FillPcList() {
    m_pcRows->SetRows(PcRows(m_settings.targetFolder));
    SortList(m_pcList, m_pcRows, m_settings.pcSort);
}

void CFileTransferDlg::SortList(QTableView* list, CTransferRowModel* model,
                                const CSortState& sort) {
    std::vector<TransferRow> rows = model->Rows();
    SortRows(rows, sort.GetColumn(), sort.IsAscending());
    model->SetRows(std::move(rows));
    FitFileListColumns(list, CTransferRowModel::kWidths);
    list->horizontalHeader()->setSortIndicator(
        sort.GetColumn(), sort.IsAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    UpdateButtons();
}

void CFileTransferDlg::SetTargetFolder(const std::string& folder) {
    m_settings.targetFolder = folder;
    m_target->setText(ToQString(folder));
    FillPcList();
}

std::vector<std::string> CFileTransferDlg::SelectedCardFiles() const {
    std::set<int> rows;
    for (const QModelIndex& index : m_cardList->selectionModel()->selectedRows())
        rows.insert(index.row());
    std::vector<std::string> names;
    for (const int row : rows)
        names.push_back(m_cardRows->Rows()[static_cast<std::size_t>(row)].name);
    return names;
}

void CFileTransferDlg::Run(CCardTransfer::Kind kind) {
    const std::vector<std::string> names = SelectedCardFiles();
    if (names.empty())
        return;
    SetBusy(true);
    const CCardTransfer::Refresh refresh =
        m_transfer.Transfer(kind, m_folderPath, names, m_settings.targetFolder);
    SetBusy(false);
    Apply(refresh);
}

void CFileTransferDlg::Format() {
    SetBusy(true);
    const CCardTransfer::Refresh refresh = m_transfer.Format();
    SetBusy(false);
    Apply(refresh);
}

void CFileTransferDlg::Apply(const CCardTransfer::Refresh& refresh) {
    if (refresh.card)
        RebuildTree();
    if (refresh.pc)
        FillPcList();
}

void CFileTransferDlg::ChooseFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, tr("Folder :"), m_target->text());
    if (!folder.isEmpty())
        SetTargetFolder(ToStdString(folder));
}

void CFileTransferDlg::SetBusy(bool busy) {
    m_busy = busy;
    UpdateButtons();
}

void CFileTransferDlg::UpdateButtons() {
    const bool selected = m_cardList->selectionModel()->hasSelection();
    for (QPushButton* button : {m_copy, m_move, m_delete})
        button->setEnabled(!m_busy && selected);
    m_format->setEnabled(!m_busy && m_transfer.CanFormat());
    m_close->setEnabled(!m_busy);
    m_browse->setEnabled(!m_busy);
}

void TransferCardFiles(CDevice& device, ISettingsStore& store, const std::string& dataFolder,
                       QWidget* parent) {
    CFileTransferDlg dialog(device, store, dataFolder, parent);
    dialog.Run();
}
