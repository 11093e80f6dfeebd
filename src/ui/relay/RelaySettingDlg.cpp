#include "ui/relay/RelaySettingDlg.h"

#include "conditions/TextNumbers.h"
#include "framework/Prompt.h"
#include "ui/dialogs/DialogText.h"
#include "ui/grid/GridCtrl.h"
#include "ui/relay/PortSettingDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kFilter = "n66 files(*.n66)";

QString DefaultChooseFile(QWidget* parent, bool save) {
    if (!save)
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Import from file"),
                                            QStringLiteral("*.n66"), QString::fromLatin1(kFilter));
    QString path =
        QFileDialog::getSaveFileName(parent, QStringLiteral("Export to file"),
                                     QStringLiteral("*.n66"), QString::fromLatin1(kFilter));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".n66");
    return path;
}

QLineEdit* NumberEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaximumWidth(90);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QStringList ToQStringList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << ToQString(text);
    return list;
}

} // namespace

CRelaySettingDlg::CRelaySettingDlg(const CRecCnd& condition, std::vector<int> portLevels,
                                   IPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_table(condition, std::move(portLevels)), m_prompt(prompt),
      m_chooseFile([this](bool save) { return DefaultChooseFile(this, save); }),
      m_runPortDialog([](QDialog& dialog) { return dialog.exec(); }), m_grid(new CGridCtrl(this)),
      m_channels(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Trg Setting for NI6525"));
    m_grid->setObjectName(QStringLiteral("relayGrid"));
    m_channels->setObjectName(QStringLiteral("channelList"));
    for (const RelayCandidate& candidate : m_table.Candidates())
        m_channels->addItem(ToQString(FormatText("Ch%d  ", candidate.monitorNo) + candidate.name));
    if (m_channels->count() > 0)
        m_channels->setCurrentRow(0);
    m_channels->setMaximumWidth(180);
    int tableWidth = 0;
    for (const CRelayTable::ColumnInfo& column : CRelayTable::kColumns)
        tableWidth += column.width;
    m_grid->setMinimumWidth(tableWidth + m_grid->frameWidth() * 2 + 4);

    auto* add = new QPushButton(QStringLiteral("<<"), this);
    add->setObjectName(QStringLiteral("addRow"));
    auto* del = new QPushButton(QStringLiteral("DEL"), this);
    del->setObjectName(QStringLiteral("deleteRow"));
    auto* ports = new QPushButton(QStringLiteral("Port Setting"), this);
    auto* import = new QPushButton(QStringLiteral("Import From File"), this);
    auto* exportFile = new QPushButton(QStringLiteral("Export To File"), this);
    connect(add, &QPushButton::clicked, this, &CRelaySettingDlg::AddSelectedChannel);
    connect(m_channels, &QListWidget::itemDoubleClicked, this,
            &CRelaySettingDlg::AddSelectedChannel);
    connect(del, &QPushButton::clicked, this, &CRelaySettingDlg::DeleteSelectedRow);
    connect(ports, &QPushButton::clicked, this, &CRelaySettingDlg::ShowPortSetting);
    connect(import, &QPushButton::clicked, this, &CRelaySettingDlg::ImportFromFile);
    connect(exportFile, &QPushButton::clicked, this, &CRelaySettingDlg::ExportToFile);
    connect(m_grid, &CGridCtrl::cellEdited, this,
            [this](int row, int column, const QString& text, bool) {
                OnCellEdited(row, column, text);
            });
    connect(m_grid, &CGridCtrl::cellChecked, this, &CRelaySettingDlg::OnCellChecked);

    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(add);
    middle->addWidget(del);
    middle->addStretch(1);
    auto* table = new QHBoxLayout;
    table->addWidget(m_grid, 1);
    table->addLayout(middle);
    table->addWidget(m_channels);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(ports, QDialogButtonBox::ActionRole);
    buttons->addButton(import, QDialogButtonBox::ActionRole);
    buttons->addButton(exportFile, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRelaySettingDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildDogFields());
    layout->addLayout(table, 1);
    layout->addWidget(buttons);
    FillDogFields();
    FillGrid();
    resize(1040, 460);
}

QWidget* CRelaySettingDlg::BuildDogFields() {
    auto* group = new QGroupBox(this);
    auto* grid = new QGridLayout(group);
    m_safeTimer = NumberEdit(group, "safeTimer");
    m_trgTimer = NumberEdit(group, "trgTimer");
    m_recStop = NumberEdit(group, "recStop");
    m_autoMonitor = NumberEdit(group, "autoMonitor");
    m_recStopOn = new QCheckBox(QStringLiteral("REC Stop (0-600sec)"), group);
    m_recStopOn->setObjectName(QStringLiteral("recStopOn"));
    m_recStart = new QCheckBox(QStringLiteral("REC Start"), group);
    m_recStart->setObjectName(QStringLiteral("recStart"));
    connect(m_recStopOn, &QCheckBox::toggled, m_recStop, &QLineEdit::setEnabled);
    grid->addWidget(new QLabel(QStringLiteral("SafeTimer"), group), 0, 0);
    grid->addWidget(m_safeTimer, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("ms"), group), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("TrgTimer"), group), 1, 0);
    grid->addWidget(m_trgTimer, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("ms"), group), 1, 2);
    grid->addWidget(m_recStopOn, 0, 3);
    grid->addWidget(m_recStop, 0, 4);
    grid->addWidget(m_recStart, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Auto Start Monitor (60sec-3600sec)"), group), 0, 5);
    grid->addWidget(m_autoMonitor, 0, 6);
    grid->setColumnStretch(7, 1);
    return group;
}

void CRelaySettingDlg::FillDogFields() {
    const WatchDogSettings& dog = m_table.Settings().dog;
    const bool stopOn = dog.recStopTime != WatchDogSettings::kRecStopOff;
    m_safeTimer->setText(QString::number(dog.safeTimer));
    m_trgTimer->setText(QString::number(dog.trgTimer));
    m_recStopOn->setChecked(stopOn);
    m_recStop->setText(stopOn ? QString::number(dog.recStopTime) : QStringLiteral("0"));
    m_recStop->setEnabled(stopOn);
    m_recStart->setChecked(dog.recStart != 0);
    m_autoMonitor->setText(QString::number(dog.autoMonitorTime));
}

void CRelaySettingDlg::FillGrid() {
    m_grid->SetDimensions(m_table.RowCount() + 1, CRelayTable::kColumnCount, 1, 0);
    for (int column = 0; column < CRelayTable::kColumnCount; ++column) {
        const CRelayTable::ColumnInfo& info =
            CRelayTable::kColumns[static_cast<std::size_t>(column)];
        GridCell cell;
        cell.text = QString::fromLatin1(info.title);
        cell.align = Qt::AlignCenter;
        m_grid->Model().SetCell(0, column, cell);
        m_grid->SetColumnWidth(column, info.width);
    }
    for (int row = 0; row < m_table.RowCount(); ++row)
        FillRow(row);
}

void CRelaySettingDlg::FillRow(int row) {
    const std::vector<std::string> texts = m_table.RowTexts(row);
    const CMonitorCh& monitor = m_table.Settings().monitors[static_cast<std::size_t>(row)];
    for (int column = 0; column < CRelayTable::kColumnCount; ++column) {
        const CRelayTable::ColumnInfo& info =
            CRelayTable::kColumns[static_cast<std::size_t>(column)];
        GridCell cell;
        cell.text = ToQString(texts[static_cast<std::size_t>(column)]);
        cell.align = (info.left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
        switch (column) {
        case CRelayTable::kX:
        case CRelayTable::kY:
            cell.kind = GridCellKind::Numeric;
            cell.editable = true;
            break;
        case CRelayTable::kTrgTimes:
        case CRelayTable::kCntLmt:
            cell.kind = GridCellKind::Numeric;
            cell.integer = true;
            cell.editable = true;
            break;
        case CRelayTable::kLogic:
            cell.kind = GridCellKind::Choice;
            cell.choices = ToQStringList(CRelayTable::LogicChoices());
            cell.editable = true;
            break;
        case CRelayTable::kPort:
            cell.kind = GridCellKind::Choice;
            cell.choices = ToQStringList(m_table.PortChoices());
            cell.editable = true;
            break;
        case CRelayTable::kAnd:
            cell.kind = GridCellKind::Check;
            cell.text.clear();
            cell.checkable = true;
            cell.checked = monitor.m_and != 0;
            break;
        default:
            break;
        }
        m_grid->Model().SetCell(row + 1, column, std::move(cell));
    }
}

void CRelaySettingDlg::OnCellEdited(int gridRow, int column, const QString& text) {
    const int row = gridRow - 1;
    m_table.EditCell(row, column, ToStdString(text));
    if (row >= 0 && row < m_table.RowCount())
        FillRow(row); // a refused text gives way to the value kept
}

void CRelaySettingDlg::OnCellChecked(int gridRow, int column, bool checked) {
    m_table.EditCell(gridRow - 1, column, checked ? "1" : "0");
}

void CRelaySettingDlg::AddSelectedChannel() {
    const int candidate = m_channels->currentRow();
    if (candidate < 0)
        return;
    const int row = m_table.AddRow(static_cast<std::size_t>(candidate));
    FillGrid();
    m_grid->SelectCells(row + 1, 0, row + 1, CRelayTable::kColumnCount - 1);
}

void CRelaySettingDlg::DeleteSelectedRow() {
    const std::vector<CGridCtrl::CellPos> cells = m_grid->SelectedCells();
    if (cells.empty() || !m_table.DeleteRow(cells.front().first - 1))
        return;
    FillGrid();
}

void CRelaySettingDlg::ShowPortSetting() {
    CPortSettingDlg dialog(m_table.PortLevels(), this);
    if (m_runPortDialog(dialog) != QDialog::Accepted)
        return;
    m_table.SetPortLevels(dialog.GetLevels());
    FillGrid();
}

void CRelaySettingDlg::ImportFromFile() {
    const QString path = m_chooseFile(false);
    if (path.isEmpty())
        return;
    TextLines lines;
    if (const std::string message = CTextFile::ReadTextLines(ToStdString(path), lines);
        !message.empty()) {
        m_prompt.MessageBox(message, PromptIcon::Stop);
        return;
    }
    if (!m_table.Import(lines, m_prompt))
        return;
    FillDogFields();
    FillGrid();
}

void CRelaySettingDlg::ExportToFile() {
    if (!TakeDogFields())
        return;
    const QString path = m_chooseFile(true);
    if (!path.isEmpty())
        m_table.Export(ToStdString(path), m_prompt);
}

bool CRelaySettingDlg::TakeDogFields() {
    const std::string message =
        m_table.SetDogValues(ToStdString(m_safeTimer->text()), ToStdString(m_trgTimer->text()),
                             m_recStopOn->isChecked(), ToStdString(m_recStop->text()),
                             m_recStart->isChecked(), ToStdString(m_autoMonitor->text()));
    if (message.empty())
        return true;
    m_prompt.MessageBox(message, PromptIcon::Exclamation);
    return false;
}

void CRelaySettingDlg::accept() {
    if (TakeDogFields())
        QDialog::accept();
}
