#include "ui/files/ViewAcqFilesDlg.h"

#include "acquisition/RecorderSettings.h"
#include "framework/Prompt.h"
#include "setup/RecordListEdit.h"
#include "setup/ViewerLauncher.h"
#include "ui/QtPrompt.h"
#include "ui/dialogs/DialogText.h"
#include "ui/files/EditFileDlg.h"
#include "ui/files/FileListView.h"
#include "ui/files/QtProcessLauncher.h"
#include "ui/files/RecordRowModel.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <set>

namespace {

QToolButton* BrowseButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(QStringLiteral("..."));
    return button;
}

QLineEdit* PathText(QWidget* parent) {
    auto* text = new QLineEdit(parent);
    text->setReadOnly(true);
    return text;
}

std::set<int> SelectedRows(const QTableView* table) {
    std::set<int> rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows())
        rows.insert(index.row());
    return rows;
}

} // namespace

CViewAcqFilesDlg::CViewAcqFilesDlg(const std::string& folder, const std::string& viewer,
                                   IProcessLauncher& launcher, QWidget* parent)
    : QDialog(parent), m_launcher(launcher), m_prompt(std::make_unique<CQtPrompt>(this)),
      m_viewer(viewer), m_folderText(PathText(this)), m_folderBrowse(BrowseButton(this)),
      m_viewerText(PathText(this)), m_viewerBrowse(BrowseButton(this)),
      m_table(new QTableView(this)), m_rows(new CRecordRowModel(m_list, this)),
      m_edit(new QPushButton(tr("Edit File"), this)),
      m_delete(new QPushButton(tr("Delete "), this)), m_close(new QPushButton(tr("Close"), this)) {
    setWindowTitle(tr("View ACQ Files"));
    m_table->setModel(m_rows);
    SetUpFileList(m_table);
    m_table->horizontalHeader()->setSortIndicatorShown(false);
    FitFileListColumns(m_table, CRecordRowModel::kWidths);

    auto* paths = new QGridLayout;
    paths->addWidget(new QLabel(tr("Folder :"), this), 0, 0);
    paths->addWidget(m_folderText, 0, 1);
    paths->addWidget(m_folderBrowse, 0, 2);
    paths->addWidget(new QLabel(tr("Viewer Program :"), this), 1, 0);
    paths->addWidget(m_viewerText, 1, 1);
    paths->addWidget(m_viewerBrowse, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(paths);
    layout->addWidget(new QLabel(tr("Double_click to view a selected file :"), this));
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(1100, 480);

    connect(m_table, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { View(index.row()); });
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &CViewAcqFilesDlg::SortBy);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CViewAcqFilesDlg::UpdateButtons);
    connect(m_folderBrowse, &QToolButton::clicked, this, &CViewAcqFilesDlg::ChooseFolder);
    connect(m_viewerBrowse, &QToolButton::clicked, this, &CViewAcqFilesDlg::ChooseViewer);
    connect(m_edit, &QPushButton::clicked, this, &CViewAcqFilesDlg::EditSelected);
    connect(m_delete, &QPushButton::clicked, this, &CViewAcqFilesDlg::DeleteSelected);
    connect(m_close, &QPushButton::clicked, this, &CViewAcqFilesDlg::accept);

    SetViewer(viewer);
    SetFolder(folder);
}

CViewAcqFilesDlg::~CViewAcqFilesDlg() = default;

void CViewAcqFilesDlg::SetFolder(const std::string& folder) {
    m_folderText->setText(ToQString(folder));
    Fill(folder);
}

void CViewAcqFilesDlg::SetViewer(const std::string& viewer) {
    m_viewer = viewer;
    m_viewerText->setText(ToQString(viewer));
}

// Keeps the order the user chose.
void CViewAcqFilesDlg::Fill(const std::string& folder) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_list.Fill(folder);
    if (m_sorted)
        m_list.Sort(m_sort.GetColumn(), m_sort.IsAscending());
    m_rows->Reset();
    FitFileListColumns(m_table, CRecordRowModel::kWidths);
    QApplication::restoreOverrideCursor();
    UpdateButtons();
}

void CViewAcqFilesDlg::SortBy(int column) {
    if (m_sorted)
        m_sort.Click(column);
    else
        m_sort.Set(column, true);
    m_sorted = true;
    m_list.Sort(m_sort.GetColumn(), m_sort.IsAscending());
    m_rows->Reset();
    m_table->horizontalHeader()->setSortIndicatorShown(true);
    m_table->horizontalHeader()->setSortIndicator(
        column, m_sort.IsAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    UpdateButtons();
}

void CViewAcqFilesDlg::View(int row) {
    if (row < 0 || row >= static_cast<int>(m_list.GetRows().size()))
        return;
    const std::string path = CViewerLauncher::RecordPath(
        m_list.GetFolder(), m_list.GetRows()[static_cast<std::size_t>(row)].fileName);
    CViewerLauncher launcher(m_launcher, *m_prompt, [] { QApplication::beep(); });
    // One viewer at a time: the list waits for it.
    setEnabled(false);
    launcher.Run(m_viewer, path, true, true);
    setEnabled(true);
}

void CViewAcqFilesDlg::EditSelected() {
    const std::set<int> rows = SelectedRows(m_table);
    if (rows.empty())
        return;
    const int row = *rows.begin();
    RecordRow& record = m_list.GetRows()[static_cast<std::size_t>(row)];
    CEditFileDlg dialog(RecordEditOf(record), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (EditRecord(m_list.GetFolder(), record, dialog.GetEdit(), *m_prompt))
        m_rows->RowChanged(row);
}

void CViewAcqFilesDlg::DeleteSelected() {
    const std::set<int> rows = SelectedRows(m_table);
    if (rows.empty() ||
        m_prompt->MessageBox("Do you want to delete selected files ?", PromptIcon::Question,
                             PromptButtons::OkCancel) != PromptAnswer::Ok)
        return;
    for (const int row : rows) {
        if (!DeleteRecord(m_list.GetFolder(), m_list.GetRows()[static_cast<std::size_t>(row)],
                          *m_prompt))
            break;
    }
    Fill(std::string(m_list.GetFolder()));
}

void CViewAcqFilesDlg::ChooseFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, tr("Folder :"), m_folderText->text());
    if (!folder.isEmpty())
        SetFolder(ToStdString(QDir::toNativeSeparators(folder) + QDir::separator()));
}

// On Linux a viewer is any executable file.
void CViewAcqFilesDlg::ChooseViewer() {
    QFileDialog dialog(this, tr("Select a viewer program"),
                       QFileInfo(m_viewerText->text()).absolutePath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(tr("Programs (*)"));
    dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SetViewer(ToStdString(dialog.selectedFiles().front()));
}

void CViewAcqFilesDlg::UpdateButtons() {
    const bool selected = m_table->selectionModel()->hasSelection();
    m_edit->setEnabled(selected);
    m_delete->setEnabled(selected);
}

void ViewAcqFiles(CRecorderSettings& settings, QWidget* mainWindow) {
    CQtProcessLauncher launcher(mainWindow);
    CViewAcqFilesDlg dialog(settings.m_viewFolder, settings.m_viewerPgm, launcher, mainWindow);
    if (dialog.exec() != QDialog::Accepted)
        return;
    settings.m_viewFolder = dialog.GetFolder();
    settings.m_viewerPgm = dialog.GetViewer();
}
