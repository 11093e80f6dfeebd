#include "ui/MoniChartFrame.h"

#include "acquisition/ZT300SetDoc.h"
#include "conditions/TextNumbers.h"
#include "framework/MessageTarget.h"
#include "framework/UpdateHints.h"
#include "records/RecordEditor.h"
#include "ui/CommandHandler.h"
#include "ui/LogView.h"
#include "ui/QtMessageTarget.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QLabel* Pane(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

QString ToQt(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CMoniChartFrame::CMoniChartFrame(CZT300SetDoc& doc, ICommandHandler* commands,
                                 const CRecorderSettings* settings, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_commands(commands), m_settings(settings),
      m_target(new CQtMessageTarget(
          [this](int id, std::intptr_t w, std::intptr_t l) { OnMessage(id, w, l); }, this)),
      m_log(new CLogView(this)), m_maxMin(new QTableWidget(0, 4, this)), m_statusPane(Pane(this)),
      m_slotPane(Pane(this)), m_cardPane(Pane(this)), m_remotePane(Pane(this)),
      m_recordPane(Pane(this)) {
    setWindowTitle(ToQt(doc.GetTitle()) + tr(" - Monitor"));
    m_maxMin->setHorizontalHeaderLabels({tr("Channel"), tr("MIN"), tr("MAX"), tr("Value")});
    m_maxMin->horizontalHeader()->setStretchLastSection(true);
    m_maxMin->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(BuildEditPanel());
    splitter->addWidget(m_maxMin);
    splitter->addWidget(m_log);
    auto* panes = new QHBoxLayout;
    for (QLabel* pane : {m_statusPane, m_recordPane, m_slotPane, m_cardPane, m_remotePane})
        panes->addWidget(pane);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(panes);

    m_doc.AddView(this);
    m_doc.SetMessageTarget(m_target);
    m_doc.SetLogSink([this](const std::string& line) { m_log->AddLine(ToQt(line)); });
    // The panes follow the recorder as the status bar does on idle.
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &CMoniChartFrame::RefreshPanes);
    timer->start(500);
    RefreshPanes();
}

CMoniChartFrame::~CMoniChartFrame() {
    m_doc.SetLogSink({});
    m_doc.SetMessageTarget(nullptr);
    m_doc.RemoveView(this);
}

void CMoniChartFrame::OnMessage(int id, std::intptr_t wparam, std::intptr_t lparam) {
    if (id == PostedMessage::kCommError) {
        emit commError();
        return;
    }
    if (id == PostedMessage::kCommand) {
        if (m_commands != nullptr && m_commands->IsCommandEnabled(static_cast<int>(wparam)))
            m_commands->OnCommand(static_cast<int>(wparam));
        return;
    }
    m_doc.OnThreadMessage(id, wparam, lparam);
    if (id == PostedMessage::kDataCount || id == PostedMessage::kRecordStarted)
        RefreshPanes();
}

// Digits and Enter become the key numbers of the code input: the numeric pad has its own.
void CMoniChartFrame::keyPressEvent(QKeyEvent* event) {
    int key = 0;
    const int qtKey = event->key();
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        key = (event->modifiers() & Qt::KeypadModifier)
                  ? CKeyCodeInput::kNumPad0 + (qtKey - Qt::Key_0)
                  : '0' + (qtKey - Qt::Key_0);
    else if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter)
        key = CKeyCodeInput::kEnter;
    if (key == 0 || m_settings == nullptr || !m_keyCodes.OnKeyDown(key, *m_settings, *m_target))
        QWidget::keyPressEvent(event);
}

void CMoniChartFrame::OnUpdate(IView*, int hint, const CUpdateData*) {
    if (hint == UpdateHint::kMaxMinChanged || hint == UpdateHint::kConditionChanged)
        RefreshMaxMin();
    RefreshPanes();
}

void CMoniChartFrame::RefreshMaxMin() {
    const CMaxMinTable& table = m_doc.GetMaxMinValues().GetCopy();
    std::vector<std::string> names;
    for (const CRecCnd& condition : m_doc.GetConditions()) {
        for (const CChCnd& channel : condition.m_channels) {
            if (channel.m_enabled)
                names.push_back(channel.GetDisplayName());
        }
        for (const CCalcChCnd& calc : condition.m_calcChannels) {
            if (condition.m_calc && calc.m_enabled)
                names.push_back(calc.GetDisplayName());
        }
    }
    const int rows = std::min(static_cast<int>(names.size()), table.GetCount());
    m_maxMin->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const MaxMinEntry& entry = table.GetEntry(row);
        const bool hasData = entry.maximum >= entry.minimum;
        const QString texts[] = {
            ToQt(names[static_cast<std::size_t>(row)]),
            hasData ? QString::number(entry.minimum, 'f', 3) : QStringLiteral("-"),
            hasData ? QString::number(entry.maximum, 'f', 3) : QStringLiteral("-"),
            QString::number(entry.last, 'f', 3)};
        for (int column = 0; column < 4; ++column)
            m_maxMin->setItem(row, column, new QTableWidgetItem(texts[column]));
    }
}

QWidget* CMoniChartFrame::BuildEditPanel() {
    auto* panel = new QGroupBox(tr("Edit File"), this);
    auto* form = new QFormLayout(panel);
    m_lastRecord = new QLabel(panel);
    form->addRow(tr("Last HDD Rec File :"), m_lastRecord);
    auto* info = new QHBoxLayout;
    for (QLineEdit*& edit : m_testInfo) {
        edit = new QLineEdit(panel);
        info->addWidget(edit);
    }
    form->addRow(tr("TestInfo :"), info);
    m_memo1 = new QLineEdit(panel);
    m_memo2 = new QLineEdit(panel);
    form->addRow(tr("Memo1 :"), m_memo1);
    form->addRow(tr("Memo2 :"), m_memo2);
    m_changeName = new QCheckBox(tr("Change File Name"), panel);
    auto* edit = new QPushButton(tr("Edit File"), panel);
    connect(edit, &QPushButton::clicked, this, &CMoniChartFrame::EditFile);
    auto* row = new QHBoxLayout;
    row->addWidget(m_changeName);
    row->addWidget(edit);
    form->addRow(row);
    const CRecCnd& master = m_doc.GetConditions()[static_cast<std::size_t>(m_doc.GetMasterIndex())];
    for (int i = 0; i < 3; ++i)
        m_testInfo[i]->setText(ToQt(master.m_testInfo[static_cast<std::size_t>(i)]));
    m_memo1->setText(ToQt(master.m_memo));
    m_memo2->setText(ToQt(master.m_memo2));
    return panel;
}

std::string CMoniChartFrame::AskNewRecordName() {
    for (;;) {
        const QString path = QFileDialog::getSaveFileName(
            this, tr("Input a new file name"), QString(), tr("HDD Rec Files(*.hdr)"), nullptr,
            QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty())
            return {};
        const std::string chosen = path.toLocal8Bit().toStdString();
        const std::string question = RenameOverwriteQuestion(RecordPathsFor(chosen));
        if (question.empty() ||
            QMessageBox::question(this, QString(), ToQt(question)) == QMessageBox::Yes)
            return chosen;
    }
}

// The texts go into the master's condition (later records carry them too) and into the last
// record's header.
void CMoniChartFrame::EditFile() {
    CRecCnd& master = m_doc.GetConditions()[static_cast<std::size_t>(m_doc.GetMasterIndex())];
    for (int i = 0; i < 3; ++i)
        master.m_testInfo[static_cast<std::size_t>(i)] =
            m_testInfo[i]->text().toLocal8Bit().toStdString();
    master.m_memo = m_memo1->text().toLocal8Bit().toStdString();
    master.m_memo2 = m_memo2->text().toLocal8Bit().toStdString();
    std::string newPath;
    if (m_changeName->isChecked()) {
        newPath = AskNewRecordName();
        if (newPath.empty())
            return;
    }
    const std::string failed =
        m_doc.GetRecordWriter().EditLastRecord(master, newPath.empty() ? nullptr : &newPath);
    if (!failed.empty()) {
        QMessageBox::critical(this, QString(), ToQt(failed));
        return;
    }
    QMessageBox::information(this, QString(), tr("Edit OK!"));
    RefreshPanes();
}

void CMoniChartFrame::RefreshPanes() {
    const RecordPaths paths = m_doc.GetRecordWriter().GetPaths();
    m_lastRecord->setText(ToQt(paths.header));
    m_statusPane->setText(ToQt(m_doc.GetStatusPaneText()));
    m_recordPane->setText(ToQt(m_doc.GetRecordResultText()));
    m_slotPane->setText(ToQt(m_doc.GetSlotPaneText()));
    m_cardPane->setText(ToQt(m_doc.GetCardPaneText()));
    m_remotePane->setText(m_doc.m_acq.remote ? tr("REMOTE") : tr("LOCAL"));
}
