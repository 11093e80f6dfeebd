#include "ui/monitor/MoniChartFrame.h"

#include "acquisition/ZT300SetDoc.h"
#include "framework/MessageTarget.h"
#include "framework/SettingsStore.h"
#include "framework/UpdateHints.h"
#include "monitor/ChartSlots.h"
#include "monitor/MonitorStatus.h"
#include "monitor/PanelLayout.h"
#include "records/RecordEditor.h"
#include "ui/CommandHandler.h"
#include "ui/CommandIds.h"
#include "ui/LogView.h"
#include "ui/QtMessageTarget.h"
#include "ui/monitor/ControlPanel.h"
#include "ui/monitor/MoniChartView.h"
#include "ui/monitor/MoniCommonDigitListView.h"
#include "ui/monitor/MoniCommonView.h"
#include "ui/monitor/MoniDigitListView.h"
#include "ui/monitor/MyStatusBar.h"
#include "ui/voice/VoiceNotes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

using namespace CommandId;

namespace {

constexpr int kToolRefreshMs = 250;
constexpr int kPaneRefreshMs = 500;
constexpr int kMinPane = 10;

QString ToQt(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQt(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

bool IsChartSlot(int id) {
    return id >= kChartSlot1 && id < kChartSlot1 + 8;
}

// The tool bar's buttons that show a state.
bool IsToggle(int id) {
    return IsChartSlot(id) || id == kDigitAndWave || id == kOffset || id == kWave || id == kDigit ||
           id == kTestInfoPanel || id == kRemoteControlPanel || id == kVoice;
}

QRect ScreenRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect(0, 0, 1920, 1080);
}

} // namespace

CMoniChartFrame::CMoniChartFrame(CZT300SetDoc& doc, ICommandHandler* commands,
                                 CRecorderSettings* settings, ISettingsStore* store,
                                 QWidget* parent)
    : QWidget(parent), m_doc(doc), m_commands(commands), m_settings(settings), m_store(store),
      m_chartType(settings->m_chartType == 1 ? 1 : 0),
      m_target(new CQtMessageTarget(
          [this](int id, std::intptr_t w, std::intptr_t l) { OnMessage(id, w, l); }, this)) {
    setWindowTitle(ToQt(doc.GetTitle()) + QString::fromLatin1(kTitleSuffix));
    // A condition that shows no channel yet shows them all: the monitor is there to see them.
    if (!ChartSlots::AnyVisible(m_doc.GetConditions())) {
        for (CRecCnd& condition : m_doc.GetConditions()) {
            for (CChCnd& channel : condition.m_channels)
                channel.m_visible = 1;
            for (CCalcChCnd& calc : condition.m_calcChannels)
                calc.m_visible = 1;
        }
    }
    BuildLayout();
    m_doc.AddView(this);
    m_doc.SetMessageTarget(m_target);
    m_doc.SetLogSink([this](const std::string& line) { m_log->AddLine(ToQt(line)); });
    // The panes follow the recorder as the status bar does on idle.
    auto* paneTimer = new QTimer(this);
    connect(paneTimer, &QTimer::timeout, this, &CMoniChartFrame::RefreshPanes);
    paneTimer->start(kPaneRefreshMs);
    m_toolTimer = new QTimer(this);
    connect(m_toolTimer, &QTimer::timeout, this, &CMoniChartFrame::RefreshToolStates);
    m_toolTimer->start(kToolRefreshMs);
    PlaceControlPanel();
    RefreshPanes();
    RefreshStatusText();
    RefreshEditedFile();
    RefreshToolStates();
}

CMoniChartFrame::~CMoniChartFrame() {
    SaveControlPanel();
    m_doc.SetLogSink({});
    m_doc.SetMessageTarget(nullptr);
    m_doc.RemoveView(this);
    // The views go before the document forgets this frame's message target.
    delete m_outer;
    m_outer = nullptr;
}

void CMoniChartFrame::BuildLayout() {
    m_statusBar = new CMyStatusBar(this);
    m_log = new CLogView(this);
    CreateCharts();
    m_lower = new QSplitter(Qt::Horizontal, this);
    m_lower->addWidget(m_digitList);
    m_lower->addWidget(m_log);
    m_outer = new QSplitter(Qt::Vertical, this);
    m_outer->addWidget(GetChart());
    m_outer->addWidget(m_lower);
    for (QSplitter* splitter : {m_outer, m_lower}) {
        splitter->setChildrenCollapsible(false);
        for (int i = 0; i < splitter->count(); ++i)
            splitter->widget(i)->setMinimumSize(kMinPane, kMinPane);
    }
    m_testInfo = BuildTestInfoPanel();
    m_toolBar = BuildToolBar();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_testInfo);
    layout->addWidget(m_outer, 1);
    layout->addWidget(m_statusBar);
    m_panel = new CControlPanel(m_commands, this);
    connect(m_panel, &CControlPanel::commandChosen, this, &CMoniChartFrame::RunForThisDocument);
}

void CMoniChartFrame::CreateCharts() {
    if (m_chartType == 1) {
        m_commonView = new CMoniCommonView(m_doc, *m_settings, this);
        m_digitList = new CMoniCommonDigitListView(m_doc, *m_settings, m_limits, this);
    } else {
        m_chartView = new CMoniChartView(m_doc, *m_settings, m_store, this);
        m_digitList = new CMoniDigitListView(m_doc, *m_settings, m_limits, this);
    }
    for (QWidget* widget : {GetChart(), static_cast<QWidget*>(m_digitList)})
        widget->setMinimumSize(kMinPane, kMinPane);
}

void CMoniChartFrame::SetChartType(int type) {
    type = type == 1 ? 1 : 0;
    if (type == m_chartType)
        return;
    const QList<int> outerSizes = m_outer->sizes();
    const QList<int> lowerSizes = m_lower->sizes();
    delete GetChart();
    delete m_digitList;
    m_chartView = nullptr;
    m_commonView = nullptr;
    m_chartType = type;
    CreateCharts();
    m_outer->insertWidget(0, GetChart());
    m_lower->insertWidget(0, m_digitList);
    m_outer->setSizes(outerSizes);
    m_lower->setSizes(lowerSizes);
    RefreshToolStates();
}

QWidget* CMoniChartFrame::GetChart() const {
    return m_chartType == 1 ? static_cast<QWidget*>(m_commonView)
                            : static_cast<QWidget*>(m_chartView);
}

QToolBar* CMoniChartFrame::BuildToolBar() {
    auto* bar = new QToolBar(this);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [this, bar](int id, const QString& text, const QString& tip) {
        QAction* action = bar->addAction(text);
        action->setData(id);
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this, [this, id] {
            if (IsCommandEnabled(id))
                OnCommand(id);
            RefreshToolStates();
        });
    };
    for (int slot = 1; slot <= 8; ++slot)
        add(kChartSlot1 + slot - 1, tr("Slot%1").arg(slot), tr("Chart Slot%1").arg(slot));
    bar->addSeparator();
    add(kDigitAndWave, tr("Digit && Wave"), tr("Digit && Wave"));
    bar->addSeparator();
    add(kAutoScale, tr("AutoScale"), tr("AutoScale"));
    add(kOffset, tr("OFFSET"), tr("Offset"));
    add(kResetScale, tr("Reset Scale"), tr("Reset Scale"));
    add(kWave, tr("Wave"), tr("Wave Type"));
    add(kDigit, tr("Digit"), tr("Digit Type"));
    bar->addSeparator();
    add(kTestInfoPanel, tr("TestInfo"), tr("Show/Hide TestInfo Panel"));
    add(kRemoteControlPanel, tr("Control Panel"), tr("Remote Control Panel"));
    bar->addSeparator();
    add(kVoice, tr("Voice"), tr("Voice notes: listen to the microphone while acquiring"));
    return bar;
}

QWidget* CMoniChartFrame::BuildTestInfoPanel() {
    // Two lines across the window: the last record with the edit controls, then the texts.
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 3, 6, 3);
    grid->setVerticalSpacing(3);
    m_lastRecord = new QLabel(panel);
    m_lastRecord->setObjectName(QStringLiteral("field1115"));
    m_lastRecord->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_changeName = new QCheckBox(tr("Change File Name"), panel);
    auto* edit = new QPushButton(tr("Edit File"), panel);
    connect(edit, &QPushButton::clicked, this, &CMoniChartFrame::EditFile);
    grid->addWidget(new QLabel(tr("Last HDD Rec File :"), panel), 0, 0);
    grid->addWidget(m_lastRecord, 0, 1, 1, 5);
    grid->addWidget(m_changeName, 0, 6, 1, 2);
    grid->addWidget(edit, 0, 8);
    grid->addWidget(new QLabel(tr("TestInfo :"), panel), 1, 0);
    for (int i = 0; i < 3; ++i) {
        m_testInfoEdits[i] = new QLineEdit(panel);
        connect(m_testInfoEdits[i], &QLineEdit::textEdited, this, &CMoniChartFrame::TestInfoEdited);
        grid->addWidget(m_testInfoEdits[i], 1, 1 + i);
    }
    m_memo1 = new QLineEdit(panel);
    m_memo2 = new QLineEdit(panel);
    for (QLineEdit* memo : {m_memo1, m_memo2})
        connect(memo, &QLineEdit::textEdited, this, &CMoniChartFrame::TestInfoEdited);
    grid->addWidget(new QLabel(tr("Memo1 :"), panel), 1, 4);
    grid->addWidget(m_memo1, 1, 5);
    grid->addWidget(new QLabel(tr("Memo2 :"), panel), 1, 6);
    grid->addWidget(m_memo2, 1, 7, 1, 2);
    for (int column : {1, 2, 3, 5, 7})
        grid->setColumnStretch(column, 1);
    const CRecCnd& master = m_doc.GetConditions()[static_cast<std::size_t>(m_doc.GetMasterIndex())];
    for (int i = 0; i < 3; ++i)
        m_testInfoEdits[i]->setText(ToQt(master.m_testInfo[static_cast<std::size_t>(i)]));
    m_memo1->setText(ToQt(master.m_memo));
    m_memo2->setText(ToQt(master.m_memo2));
    return panel;
}

// The panel's texts belong to every recorder's condition at once.
void CMoniChartFrame::TestInfoEdited() {
    for (CRecCnd& condition : m_doc.GetConditions()) {
        for (int i = 0; i < 3; ++i)
            condition.m_testInfo[static_cast<std::size_t>(i)] = FromQt(m_testInfoEdits[i]->text());
        condition.m_memo = FromQt(m_memo1->text());
        condition.m_memo2 = FromQt(m_memo2->text());
    }
    m_doc.UpdateAllViews(this, UpdateHint::kTestInfoChanged);
}

void CMoniChartFrame::PlaceControlPanel() {
    const QRect screen = ScreenRect();
    const int x = m_store != nullptr
                      ? m_store->GetInt(kSection, "PopUpBar_X",
                                        screen.width() - MonitorStatus::kPanelRightInset)
                      : screen.width() - MonitorStatus::kPanelRightInset;
    const int y = m_store != nullptr
                      ? m_store->GetInt(kSection, "PopUpBar_Y", MonitorStatus::kPanelTop)
                      : MonitorStatus::kPanelTop;
    const bool visible =
        m_store == nullptr || m_store->GetInt(kSection, "PopUpBar_Visible", 1) != 0;
    const MonitorStatus::PanelPosition position = MonitorStatus::ControlPanelPosition(
        x - screen.left(), y - screen.top(), visible, screen.width(), screen.height());
    const QPoint wanted(position.x + screen.left(), position.y + screen.top());
    m_panel->move(wanted);
    // Where the window system put it against where it was asked to go; added back on saving.
    m_panelOffset = wanted - m_panel->pos();
    m_panelWanted = position.visible;
}

void CMoniChartFrame::SaveControlPanel() {
    if (m_store == nullptr || m_panel == nullptr)
        return;
    const QPoint corner = m_panel->pos() + m_panelOffset;
    m_store->WriteInt(kSection, "PopUpBar_X", corner.x());
    m_store->WriteInt(kSection, "PopUpBar_Y", corner.y());
    m_store->WriteInt(kSection, "PopUpBar_Visible", m_panelWanted ? 1 : 0);
}

void CMoniChartFrame::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_panelWanted)
        m_panel->show();
    if (!m_lowerSized) {
        m_lowerSized = true;
        // The splitters share out the first real size; later the user's sizes stay.
        QTimer::singleShot(0, this, &CMoniChartFrame::SizeLowerPanes);
    }
}

void CMoniChartFrame::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_panel->hide();
}

void CMoniChartFrame::SizeLowerPanes() {
    const int total = m_outer->height();
    const int chart = ChartRowHeight(total);
    m_outer->setSizes({chart, total - chart});
    const std::vector<int> widths = LowerPaneWidths(m_lower->width(), m_lower->count());
    m_lower->setSizes(QList<int>(widths.begin(), widths.end()));
}

void CMoniChartFrame::AddLowerPane(QWidget* pane) {
    pane->setMinimumSize(kMinPane, kMinPane);
    m_lower->addWidget(pane);
    SizeLowerPanes();
}

void CMoniChartFrame::SetChannelLimits(const IChannelLimits* limits) {
    // Kept for the lists of a new chart arrangement too.
    m_limits = limits != nullptr ? limits : &m_matLimits;
    m_digitList->SetLimits(m_limits);
}

void CMoniChartFrame::closeEvent(QCloseEvent* event) {
    // The run posts to this window: it stays while the acquisition thread runs.
    if (m_doc.m_acq.run) {
        QApplication::beep();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void CMoniChartFrame::OnMessage(int id, std::intptr_t wparam, std::intptr_t lparam) {
    if (id == PostedMessage::kCommError) {
        emit commError();
        return;
    }
    if (id == PostedMessage::kCommand) {
        RunForThisDocument(static_cast<int>(wparam));
        return;
    }
    m_doc.OnThreadMessage(id, wparam, lparam);
    if (id == PostedMessage::kDataCount)
        m_statusBar->SetPaneText(CMyStatusBar::kCounts, ToQt(MonitorStatus::CountsText(
                                                            static_cast<std::uint64_t>(wparam),
                                                            static_cast<std::uint64_t>(lparam))));
    if (id == PostedMessage::kRecordWritten)
        RefreshProgress();
    if (id == PostedMessage::kDataCount || id == PostedMessage::kRecordStarted)
        RefreshPanes();
}

// Commands of the control panel and of the acquisition act on this window's document, whichever
// window is active.
void CMoniChartFrame::RunForThisDocument(int id) {
    if (m_commands == nullptr)
        return;
    for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w); sub != nullptr && sub->mdiArea()) {
            sub->mdiArea()->setActiveSubWindow(sub);
            break;
        }
    }
    if (m_commands->IsCommandEnabled(id))
        m_commands->OnCommand(id);
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
    switch (hint) {
    case UpdateHint::kConditionChanged:
    case UpdateHint::kRepaint:
        RefreshPanes();
        RefreshStatusText();
        break;
    case UpdateHint::kNextRecordNameChanged:
        RefreshStatusText();
        break;
    case UpdateHint::kTestInfoChanged: {
        const CRecCnd& master =
            m_doc.GetConditions()[static_cast<std::size_t>(m_doc.GetMasterIndex())];
        for (int i = 0; i < 3; ++i) {
            const QString text = ToQt(master.m_testInfo[static_cast<std::size_t>(i)]);
            if (m_testInfoEdits[i]->text() != text)
                m_testInfoEdits[i]->setText(text);
        }
        if (m_memo1->text() != ToQt(master.m_memo))
            m_memo1->setText(ToQt(master.m_memo));
        if (m_memo2->text() != ToQt(master.m_memo2))
            m_memo2->setText(ToQt(master.m_memo2));
        RefreshPanes();
        break;
    }
    case UpdateHint::kRecordFinished:
        RefreshEditedFile();
        m_statusBar->SetProgress(0);
        RefreshPanes();
        break;
    case UpdateHint::kChartWidthChanged:
    case UpdateHint::kGridStepChanged:
        RefreshPanes();
        break;
    default:
        break;
    }
}

void CMoniChartFrame::RefreshStatusText() {
    const std::vector<CRecCnd>& conditions = m_doc.GetConditions();
    const std::size_t shown = static_cast<std::size_t>(m_doc.GetShownIndex());
    const std::string rate = shown < conditions.size() ? conditions[shown].m_rate : std::string();
    m_statusBar->SetPaneText(CMyStatusBar::kText,
                             ToQt(MonitorStatus::RateText(rate, m_doc.GetNextRecordName())));
}

void CMoniChartFrame::RefreshEditedFile() {
    const std::string header = m_doc.GetRecordWriter().GetPaths().header;
    m_lastRecord->setText(header.empty() ? QStringLiteral("-") : ToQt(header));
}

void CMoniChartFrame::RefreshProgress() {
    const CThreadInfo* run = m_doc.GetRun();
    if (run == nullptr)
        return;
    const int percent = MonitorStatus::RecordProgress(m_doc.GetRecordWriter().GetSamplesWritten(),
                                                      run->GetRecordLimit(), run->GetRowRate());
    if (percent >= 0)
        m_statusBar->SetProgress(percent);
}

void CMoniChartFrame::RefreshPanes() {
    m_statusBar->SetPaneText(CMyStatusBar::kChartWidth,
                             ToQt(MonitorStatus::ChartWidthText(
                                 ChartWidthLabel(m_settings->m_xWidth), m_settings->m_xGrid)));
    m_statusBar->SetPaneText(CMyStatusBar::kStatus, ToQt(m_doc.GetStatusPaneText()));
    m_statusBar->SetPaneText(CMyStatusBar::kRecord, ToQt(m_doc.GetRecordResultText()));
    m_statusBar->SetPaneText(CMyStatusBar::kSlots, ToQt(m_doc.GetSlotPaneText()));
    m_statusBar->SetPaneText(CMyStatusBar::kCard, ToQt(m_doc.GetCardPaneText()));
    m_statusBar->SetPaneText(CMyStatusBar::kRemote,
                             m_doc.m_acq.remote ? tr("REMOTE") : tr("LOCAL"));
}

void CMoniChartFrame::RefreshToolStates() {
    for (QAction* action : m_toolBar->actions()) {
        const int id = action->data().toInt();
        if (id == 0)
            continue;
        action->setEnabled(IsCommandEnabled(id));
        action->setCheckable(IsToggle(id));
        action->setChecked(IsCommandChecked(id));
    }
    m_panel->RefreshStates();
}

bool CMoniChartFrame::HandlesCommand(int id) {
    switch (id) {
    case kOffset:
    case kAutoScale:
    case kResetScale:
    case kWave:
    case kDigit:
    case kTestInfoPanel:
    case kRemoteControlPanel:
    case kEditFile:
    case kDigitAndWave:
    case kFilePrint:
    case kVoice:
        return true;
    default:
        return IsChartSlot(id);
    }
}

bool CMoniChartFrame::IsCommandEnabled(int id) const {
    const bool wave =
        m_chartView != nullptr && m_chartView->GetDisplayType() == CMoniChartView::kWave;
    const bool visible = m_chartView != nullptr && m_chartView->HasVisibleChannel();
    if (IsChartSlot(id))
        return ChartSlots::IsEnabled(m_doc.GetConditions(), id - kChartSlot1 + 1);
    switch (id) {
    case kOffset:
    case kResetScale:
    case kDigitAndWave:
        return wave && visible;
    case kAutoScale:
        return m_commonView != nullptr ? m_commonView->CanAutoScale() : m_chartView->CanAutoScale();
    case kWave:
    case kDigit:
        return visible;
    case kTestInfoPanel:
    case kRemoteControlPanel:
    case kEditFile:
    case kFilePrint:
        return true;
    case kVoice:
        return CVoiceNotes::Find(this) != nullptr;
    default:
        return false;
    }
}

bool CMoniChartFrame::IsCommandChecked(int id) const {
    if (IsChartSlot(id))
        return ChartSlots::IsChecked(m_doc.GetConditions(), id - kChartSlot1 + 1);
    switch (id) {
    case kOffset:
        return m_chartView != nullptr && m_chartView->IsOffset();
    case kWave:
        return m_chartView != nullptr && m_chartView->GetDisplayType() == CMoniChartView::kWave;
    case kDigit:
        return m_chartView != nullptr && m_chartView->GetDisplayType() == CMoniChartView::kDigit;
    case kDigitAndWave:
        return ChartSlots::AnyValueBox(m_doc.GetConditions());
    case kTestInfoPanel:
        return m_testInfo->isVisibleTo(this);
    case kRemoteControlPanel:
        return m_panelWanted;
    case kVoice: {
        const CVoiceNotes* notes = CVoiceNotes::Find(this);
        return notes != nullptr && notes->IsListening();
    }
    default:
        return false;
    }
}

void CMoniChartFrame::OnCommand(int id) {
    if (IsChartSlot(id)) {
        if (ChartSlots::Toggle(m_doc.GetConditions(), id - kChartSlot1 + 1))
            m_doc.UpdateAllViews(nullptr, UpdateHint::kRepaint);
        return;
    }
    switch (id) {
    case kOffset:
        m_chartView->Offset();
        break;
    case kAutoScale:
        if (m_commonView != nullptr)
            m_commonView->BandAutoScale(true);
        else
            m_chartView->AutoScale();
        break;
    case kResetScale:
        m_chartView->ResetScale();
        break;
    case kWave:
        m_chartView->SetDisplayType(CMoniChartView::kWave);
        break;
    case kDigit:
        m_chartView->SetDisplayType(CMoniChartView::kDigit);
        break;
    case kTestInfoPanel:
        m_testInfo->setVisible(!m_testInfo->isVisibleTo(this));
        break;
    case kRemoteControlPanel:
        m_panelWanted = !m_panelWanted;
        m_panel->setVisible(m_panelWanted && isVisible());
        break;
    case kEditFile:
        EditFile();
        break;
    case kFilePrint:
        Print();
        break;
    case kVoice:
        if (CVoiceNotes* notes = CVoiceNotes::Find(this))
            notes->Toggle();
        break;
    default:
        break;
    }
}

std::string CMoniChartFrame::AskNewRecordName() {
    for (;;) {
        const QString path = QFileDialog::getSaveFileName(
            this, tr("Input a new file name"), QString(), tr("HDD Rec Files(*.hdr)"), nullptr,
            QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty())
            return {};
        const std::string chosen = FromQt(path);
        const std::string question = RenameOverwriteQuestion(RecordPathsFor(chosen));
        if (question.empty() ||
            QMessageBox::question(this, QString(), ToQt(question)) == QMessageBox::Yes)
            return chosen;
    }
}

// The texts go into the conditions (later records carry them too) and into the last record's
// header.
void CMoniChartFrame::EditFile() {
    TestInfoEdited();
    CRecCnd& master = m_doc.GetConditions()[static_cast<std::size_t>(m_doc.GetMasterIndex())];
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
    if (m_changeName->isChecked())
        RefreshEditedFile();
    RefreshPanes();
}

void CMoniChartFrame::Print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (m_commonView != nullptr) {
        m_commonView->Print(printer);
        return;
    }
    QImage picture;
    m_chartView->RenderTo(picture);
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    const QSize fitted = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), fitted), picture);
}
