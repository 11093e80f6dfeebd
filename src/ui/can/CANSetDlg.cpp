#include "ui/can/CANSetDlg.h"

#include "setup/DcdFile.h"
#include "ui/can/CanSignalModel.h"
#include "ui/can/CanText.h"
#include "ui/dialogs/DialogText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kCellPadding = 12;   // pixels beside the text of a cell
constexpr int kCheckBoxWidth = 22; // the check box of the first column
constexpr int kVisibleRows = 18;

QLabel* CountLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral(" * 000 ")));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// The folder of the file a path edit shows, to start a file dialog in.
QString FolderOf(const QLineEdit* edit) {
    return edit->text().isEmpty() ? QString() : QFileInfo(edit->text()).absolutePath();
}

} // namespace

CCANSetDlg::CCANSetDlg(std::unique_ptr<CCanSetup> setup, QWidget* parent)
    : QDialog(parent), m_setup(std::move(setup)) {
    setWindowTitle(QString::fromLatin1(m_setup->GetTitle()));
    m_model = new CCanSignalModel(*m_setup, this);

    auto* listColumn = new QVBoxLayout;
    m_tabs = new QTabBar(this);
    m_tabs->setExpanding(false);
    m_caption = new QLabel(this);
    m_caption->setObjectName("caption");
    QFont captionFont = m_caption->font();
    captionFont.setBold(true);
    m_caption->setFont(captionFont);
    m_leftOut = new QLabel(this);
    m_leftOut->setObjectName("leftOut");
    m_leftOut->setStyleSheet(QStringLiteral("color: #a04000;"));
    m_list = new QTableView(this);
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    m_list->horizontalHeader()->setSectionsClickable(true);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setStretchLastSection(true);
    listColumn->addWidget(m_tabs);
    listColumn->addWidget(m_caption);
    listColumn->addWidget(m_leftOut);
    listColumn->addWidget(m_list, 1);
    listColumn->addWidget(CreateCountRow());
    listColumn->addWidget(CreateSearchRow());

    auto* body = new QHBoxLayout;
    body->addLayout(listColumn, 1);
    body->addWidget(CreateButtonColumn());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateTopRow());
    layout->addWidget(CreateFileRows());
    layout->addLayout(body, 1);

    SizeColumns();
    ConnectControls();
    m_setup->Open();
    Refresh();
}

CCANSetDlg::~CCANSetDlg() = default;

QWidget* CCANSetDlg::CreateTopRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_slotList = new QComboBox(row);
    for (int slot : m_setup->GetSlots())
        m_slotList->addItem(QString::number(slot));
    m_switch = new QCheckBox(m_setup->GetKind() == CCanSetup::Kind::K ? QStringLiteral("XCP-SW")
                                                                      : QStringLiteral("ACK ON"),
                             row);
    layout->addWidget(new QLabel(QStringLiteral("Module Slot No:"), row));
    layout->addWidget(m_slotList);
    layout->addSpacing(20);
    layout->addWidget(m_switch);
    layout->addStretch(1);
    return row;
}

QToolButton* CCANSetDlg::AddBrowse(QWidget* parent, void (CCANSetDlg::*handler)()) {
    auto* button = new QToolButton(parent);
    button->setText(QStringLiteral("..."));
    connect(button, &QToolButton::clicked, this, handler);
    return button;
}

QWidget* CCANSetDlg::CreateFileRows() {
    auto* rows = new QWidget(this);
    auto* grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    m_dbcSource = new QRadioButton(QStringLiteral("CAN DB File"), rows);
    m_dcdSource = new QRadioButton(QStringLiteral("DCD File"), rows);
    m_dbcPath = new QLineEdit(rows);
    m_dcdPath = new QLineEdit(rows);
    m_xcpPath = new QLineEdit(rows);
    for (QLineEdit* edit : {m_dbcPath, m_dcdPath, m_xcpPath})
        edit->setReadOnly(true);
    grid->addWidget(m_dbcSource, 0, 0);
    grid->addWidget(m_dbcPath, 0, 1);
    grid->addWidget(AddBrowse(rows, &CCANSetDlg::ChooseDbcFile), 0, 2);
    grid->addWidget(m_dcdSource, 1, 0);
    grid->addWidget(m_dcdPath, 1, 1);
    grid->addWidget(AddBrowse(rows, &CCANSetDlg::ChooseDcdFile), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("XCP Procedure File"), rows), 2, 0);
    grid->addWidget(m_xcpPath, 2, 1);
    grid->addWidget(AddBrowse(rows, &CCANSetDlg::ChooseXcpFile), 2, 2);
    grid->setColumnStretch(1, 1);
    return rows;
}

QWidget* CCANSetDlg::CreateCountRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pageSignals = CountLabel(row, "pageSignals");
    m_pageWords = CountLabel(row, "pageWords");
    m_selectedSignals = CountLabel(row, "selectedSignals");
    m_selectedWords = CountLabel(row, "selectedWords");
    layout->addWidget(new QLabel(QStringLiteral("Signals :"), row));
    layout->addWidget(m_pageSignals);
    layout->addWidget(new QLabel(QStringLiteral("Words :"), row));
    layout->addWidget(m_pageWords);
    layout->addSpacing(20);
    layout->addWidget(new QLabel(QStringLiteral("Selected Signals :"), row));
    layout->addWidget(m_selectedSignals);
    layout->addWidget(new QLabel(QStringLiteral("Words :"), row));
    layout->addWidget(m_selectedWords);
    layout->addStretch(1);
    return row;
}

QWidget* CCANSetDlg::CreateSearchRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_search = new QLineEdit(row);
    m_search->setPlaceholderText(QStringLiteral("signal or message name"));
    auto* next = new QPushButton(QStringLiteral("Next"), row);
    auto* prev = new QPushButton(QStringLiteral("Prev"), row);
    next->setAutoDefault(false);
    prev->setAutoDefault(false);
    connect(next, &QPushButton::clicked, this, [this] { Search(true); });
    connect(prev, &QPushButton::clicked, this, [this] { Search(false); });
    connect(m_search, &QLineEdit::returnPressed, this, [this] { Search(true); });
    layout->addWidget(new QLabel(QStringLiteral("Search for"), row));
    layout->addWidget(m_search, 1);
    layout->addWidget(next);
    layout->addWidget(prev);
    layout->addStretch(1);
    return row;
}

QPushButton* CCANSetDlg::AddButton(const char* text, void (CCANSetDlg::*handler)()) {
    auto* button = new QPushButton(QString::fromLatin1(text), this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

QWidget* CCANSetDlg::CreateButtonColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    m_checkAll = new QPushButton(QStringLiteral("Check All"), column);
    m_uncheckAll = new QPushButton(QStringLiteral("Uncheck All"), column);
    m_delete = new QPushButton(QStringLiteral("Delete"), column);
    m_sendDb = new QPushButton(QStringLiteral("Send DB"), column);
    m_clearDb = new QPushButton(QStringLiteral("Clear DB"), column);
    m_sendXcp = new QPushButton(QStringLiteral("Send XCP"), column);
    m_saveDcd = new QPushButton(QStringLiteral("Save DCD"), column);
    m_quit = new QPushButton(QStringLiteral("Quit"), column);
    for (QPushButton* button : {m_checkAll, m_uncheckAll, m_delete}) {
        button->setAutoDefault(false);
        layout->addWidget(button);
    }
    layout->addSpacing(16);
    for (QPushButton* button : {m_sendDb, m_clearDb, m_sendXcp, m_saveDcd}) {
        button->setAutoDefault(false);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    m_quit->setAutoDefault(false);
    layout->addWidget(m_quit);
    return column;
}

template <class Command> void CCANSetDlg::Run(Command command) {
    command();
    Refresh();
}

void CCANSetDlg::ConnectControls() {
    CCanSetup& setup = *m_setup;
    connect(m_slotList, &QComboBox::activated, this,
            [this, &setup](int index) { Run([&] { setup.SelectSlot(index); }); });
    connect(m_switch, &QCheckBox::clicked, this, [this, &setup](bool on) {
        Run([&] {
            if (setup.GetKind() == CCanSetup::Kind::K)
                setup.SetXcpSwitch(on);
            else
                setup.SetAckOn(on);
        });
    });
    connect(m_dbcSource, &QRadioButton::clicked, this,
            [this, &setup] { Run([&] { setup.SetSource(CCanSetup::Source::DbcFiles); }); });
    connect(m_dcdSource, &QRadioButton::clicked, this,
            [this, &setup] { Run([&] { setup.SetSource(CCanSetup::Source::DcdFile); }); });
    connect(m_tabs, &QTabBar::tabBarClicked, this, [this, &setup](int tab) {
        if (tab >= 0)
            Run([&] { setup.ShowTab(tab); });
    });
    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this, &setup](int column) { Run([&] { setup.SortBy(column); }); });
    connect(m_model, &CCanSignalModel::SelectionChanged, this, [this] {
        RefreshCounts();
        RefreshButtons();
    });
    connect(m_checkAll, &QPushButton::clicked, this,
            [this, &setup] { Run([&] { setup.CheckAll(true); }); });
    connect(m_uncheckAll, &QPushButton::clicked, this,
            [this, &setup] { Run([&] { setup.CheckAll(false); }); });
    connect(m_delete, &QPushButton::clicked, this,
            [this, &setup] { Run([&] { setup.DeletePage(); }); });
    connect(m_sendDb, &QPushButton::clicked, this,
            [this, &setup] { Run([&] { setup.SendDb(); }); });
    connect(m_clearDb, &QPushButton::clicked, this,
            [this, &setup] { Run([&] { setup.ClearDb(); }); });
    connect(m_sendXcp, &QPushButton::clicked, this,
            [this, &setup] { Run([&] { setup.SendXcp(); }); });
    connect(m_saveDcd, &QPushButton::clicked, this, &CCANSetDlg::ChooseDcdToSave);
    connect(m_quit, &QPushButton::clicked, this, &CCANSetDlg::reject);
}

void CCANSetDlg::SizeColumns() {
    // Digits and capitals fill the narrow columns; the average character is narrower.
    const int charWidth = m_list->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    int width = 0;
    for (int column = 0; column < CanRow::kColumnCount; ++column) {
        const int columnWidth = CCanSignalModel::ColumnChars(column) * charWidth + kCellPadding +
                                (column == 0 ? kCheckBoxWidth : 0);
        m_list->setColumnWidth(column, columnWidth);
        width += columnWidth;
    }
    m_list->setMinimumSize(width + m_list->verticalScrollBar()->sizeHint().width() + 4,
                           kVisibleRows * m_list->verticalHeader()->defaultSectionSize());
}

void CCANSetDlg::Refresh() {
    const CCanSetup& setup = *m_setup;
    const QSignalBlocker slotBlocker(m_slotList);
    m_slotList->setCurrentIndex(setup.GetSlotIndex());
    m_slotList->setEnabled(setup.HasModule());
    m_switch->setChecked(setup.GetKind() == CCanSetup::Kind::K ? setup.IsXcpOn() : setup.IsAckOn());
    m_switch->setEnabled(setup.HasModule());
    m_dbcSource->setChecked(setup.GetSource() == CCanSetup::Source::DbcFiles);
    m_dcdSource->setChecked(setup.GetSource() == CCanSetup::Source::DcdFile);
    m_dcdSource->setEnabled(!setup.GetDcdPath().empty());
    m_dbcPath->setText(setup.GetTab() < setup.GetPageCount()
                           ? ToQString(setup.GetPagePath(setup.GetTab()))
                           : QString());
    m_dcdPath->setText(ToQString(setup.GetDcdPath()));
    m_xcpPath->setText(ToQString(setup.GetXcpPath()));
    RefreshTabs();
    m_caption->setText(CanTextToQt(setup.GetCaption()));
    m_leftOut->setText(QString::fromStdString(setup.GetLeftOutText()));
    m_leftOut->setVisible(!m_leftOut->text().isEmpty());
    m_model->Reload();
    QHeaderView* header = m_list->horizontalHeader();
    header->setSortIndicatorShown(setup.GetSortColumn() >= 0);
    header->setSortIndicator(setup.GetSortColumn(),
                             setup.IsSortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    RefreshCounts();
    RefreshButtons();
}

void CCANSetDlg::RefreshTabs() {
    QStringList texts;
    for (const std::string& text : m_setup->GetTabTexts())
        texts << ToQString(text);
    const QSignalBlocker blocker(m_tabs);
    while (m_tabs->count() > texts.size())
        m_tabs->removeTab(m_tabs->count() - 1);
    for (int tab = 0; tab < texts.size(); ++tab) {
        if (tab < m_tabs->count())
            m_tabs->setTabText(tab, texts[tab]);
        else
            m_tabs->addTab(texts[tab]);
    }
    m_tabs->setCurrentIndex(m_setup->GetTab());
}

void CCANSetDlg::RefreshCounts() {
    const CCanSetup& setup = *m_setup;
    m_pageSignals->setText(QString::number(setup.GetShownSignals()));
    m_pageWords->setText(QString::number(setup.GetShownWords()));
    m_selectedSignals->setText(QString::number(setup.GetSelectedSignals()));
    m_selectedWords->setText(
        QString::fromStdString(CCanSetup::FormatSelectedWords(setup.GetSelectedWords())));
}

void CCANSetDlg::RefreshButtons() {
    const CCanSetup& setup = *m_setup;
    m_checkAll->setEnabled(setup.CanCheckAll());
    m_uncheckAll->setEnabled(setup.CanUncheckAll());
    m_delete->setEnabled(setup.CanDeletePage());
    m_sendDb->setEnabled(setup.CanSendDb());
    m_clearDb->setEnabled(setup.HasModule());
    m_sendXcp->setEnabled(setup.CanSendXcp());
    m_saveDcd->setEnabled(setup.CanSaveDcd());
}

void CCANSetDlg::LoadDbcFile(const QString& path) {
    Run([&] { m_setup->LoadDbc(ToStdString(path)); });
}

void CCANSetDlg::LoadDcdFile(const QString& path) {
    Run([&] { m_setup->LoadDcd(ToStdString(path)); });
}

void CCANSetDlg::SetXcpFile(const QString& path) {
    Run([&] { m_setup->SetXcpPath(ToStdString(path)); });
}

void CCANSetDlg::SaveDcdFile(const QString& path) {
    Run([&] { m_setup->SaveDcd(ToStdString(path)); });
}

QString CCANSetDlg::AskOpenPath(const char* title, const char* filter, const QLineEdit* near) {
    return QFileDialog::getOpenFileName(this, QString::fromLatin1(title), FolderOf(near),
                                        QString::fromLatin1(filter));
}

void CCANSetDlg::ChooseDbcFile() {
    if (const QString path = AskOpenPath(CCanSetup::kDbcTitle, CCanSetup::kDbcFilter, m_dbcPath);
        !path.isEmpty())
        LoadDbcFile(path);
}

void CCANSetDlg::ChooseDcdFile() {
    if (const QString path = AskOpenPath(CDcdFile::kOpenTitle, CDcdFile::kDialogFilter, m_dcdPath);
        !path.isEmpty())
        LoadDcdFile(path);
}

void CCANSetDlg::ChooseXcpFile() {
    if (const QString path = AskOpenPath(CCanSetup::kXcpTitle, CCanSetup::kXcpFilter, m_xcpPath);
        !path.isEmpty())
        SetXcpFile(path);
}

void CCANSetDlg::ChooseDcdToSave() {
    QString path = QFileDialog::getSaveFileName(this, QString::fromLatin1(CDcdFile::kSaveTitle),
                                                m_dcdPath->text().isEmpty() ? FolderOf(m_dbcPath)
                                                                            : m_dcdPath->text(),
                                                QString::fromLatin1(CDcdFile::kDialogFilter));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".dcd");
    SaveDcdFile(path);
}

void CCANSetDlg::Search(bool forward) {
    const int current =
        m_list->currentIndex().isValid() ? m_list->currentIndex().row() : (forward ? -1 : 0);
    const int row = m_setup->FindRow(ToStdString(m_search->text()),
                                     forward ? current + 1 : current - 1, forward);
    if (row < 0) {
        QApplication::beep();
        return;
    }
    m_list->setCurrentIndex(m_model->index(row, 0));
    m_list->scrollTo(m_model->index(row, 0));
}

void CCANSetDlg::reject() {
    if (!m_setup->Quit())
        return;
    m_setup->Close();
    QDialog::reject();
}

void RunCanSetDlg(CCanSetup::Kind kind, CDevice* device, IPrompt& prompt, ISettingsStore& store,
                  QWidget* parent) {
    CCANSetDlg dialog(CCanSetup::Create(kind, device, prompt, store), parent);
    dialog.exec();
}
