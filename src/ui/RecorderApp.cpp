#include "ui/RecorderApp.h"

#include "acquisition/DeviceScan.h"
#include "acquisition/ExternalInputSim.h"
#include "acquisition/StartupRecovery.h"
#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimInputs.h"
#include "framework/LinkLibrary.h"
#include "framework/Prompt.h"
#include "framework/UpdateHints.h"
#include "setup/CalTemplate.h"
#include "setup/XcpCommands.h"
#include "ui/CommandIds.h"
#include "ui/DlopenDigitalInput.h"
#include "ui/LinkFactory.h"
#include "ui/LogView.h"
#include "ui/MainFrame.h"
#include "ui/QtPrompt.h"
#include "ui/QtSettingsStore.h"
#include "ui/QtSoundPlayer.h"
#include "ui/SetFrame.h"
#include "ui/calibration/CalibrationCommands.h"
#include "ui/calibration/SimInputsWnd.h"
#include "ui/can/CANSetDlg.h"
#include "ui/can/XcpStatusDlg.h"
#include "ui/dialogs/AutoSaveDlg.h"
#include "ui/dialogs/CardInfoDlg.h"
#include "ui/dialogs/ConfigIpDlg.h"
#include "ui/dialogs/OptionSheet.h"
#include "ui/dialogs/RegPhyUnitDlg.h"
#include "ui/dialogs/RtcDlg.h"
#include "ui/dialogs/SelChBalDlg.h"
#include "ui/dialogs/SelectConnectionDlg.h"
#include "ui/dialogs/WelcomeDlg.h"
#include "ui/files/FileTransferDlg.h"
#include "ui/files/ViewAcqFilesDlg.h"
#include "ui/material/MatView.h"
#include "ui/monitor/MoniChartFrame.h"
#include "ui/relay/RelayCommands.h"
#include "ui/relay/RelaySetInfoView.h"
#include "ui/setup/ZT300SetView.h"
#include "ui/voice/VoiceNotes.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QInputDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>

using namespace CommandId;

namespace {

QString ToQt(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}
std::string FromQt(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

constexpr const char* kMenuKindProperty = "zt300MenuKind";
constexpr const char* kConditionFilter = "ZT300 Condition Files (*.czd)";

std::string PerUserDataFolder(const std::string& wanted) {
    QString folder = wanted.empty()
                         ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                               QStringLiteral("/zt300ctl")
                         : ToQt(wanted);
    QDir().mkpath(folder);
    return FromQt(QDir(folder).absolutePath() + QLatin1Char('/'));
}

std::string ProgramFolder() {
    return FromQt(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

} // namespace

CRecorderApp::CRecorderApp(const AppOptions& options)
    : m_options(options), m_dataFolder(PerUserDataFolder(options.dataFolder)),
      m_store(options.settingsPath.empty()
                  ? std::make_unique<CQtSettingsStore>()
                  : std::make_unique<CQtSettingsStore>(ToQt(options.settingsPath))),
      m_settings(ProgramFolder(), m_dataFolder), m_frame(std::make_unique<CMainFrame>()),
      m_prompt(std::make_unique<CQtPrompt>(m_frame.get())),
      m_sound(std::make_unique<CQtSoundPlayer>()),
      m_relay(std::make_unique<CRelayCommands>(m_settings, *m_prompt, m_frame.get())) {
    // Every window of the program shows its own icon, never the toolkit's.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zt300ctl.svg")));
    m_link = CreateLink(options.demo, &m_clock, options.netPort);
    if (options.demo)
        m_digitalInput = std::make_unique<CExternalInputSim>();
    else
        m_digitalInput = std::make_unique<CDlopenDigitalInput>();
    m_settings.Load(*m_store);
    ApplySettingsToModel();
    CRecCnd::SetDefaultRecordFolder(m_dataFolder);
    CStartupRecovery::Run(m_dataFolder);
    m_frame->SetCommandHandler(this);
    m_frame->SetCloseHandler([this] { return Exit(); });
    connect(m_frame->MdiArea(), &QMdiArea::subWindowActivated, this,
            &CRecorderApp::OnSubWindowActivated);
}

CRecorderApp::~CRecorderApp() {
    m_frame->SetCommandHandler(nullptr);
    m_frame->SetCloseHandler({});
    // The windows are views of their documents: they go first.
    for (OpenDoc& open : m_documents) {
        delete open.monitor;
        delete open.setup;
    }
    m_documents.clear();
}

void CRecorderApp::ApplySettingsToModel() {
    CChCnd::SetBalanceWarnPercent(m_settings.m_balWarnPercent);
}

// The input module's driver is looked for as the acquisition loads it.
bool CRecorderApp::ExternalInputAvailable() const {
    const bool loaded = m_digitalInput->Load();
    m_digitalInput->Unload();
    return loaded;
}

void CRecorderApp::Start() {
    if (!m_store->OpenError().empty())
        m_prompt->MessageBox(m_store->OpenError(), PromptIcon::Stop, PromptButtons::Ok);
    if (m_settings.m_externalSignal && !ExternalInputAvailable()) {
        m_prompt->MessageBox("TSUBSIN.DLL Not Found!", PromptIcon::Stop, PromptButtons::Ok);
        m_settings.m_externalSignal = 0;
    }
    m_frame->resize(1280, 800);
    m_frame->showMaximized();
    if (!m_options.welcome)
        return;
    CWelcomeDlg welcome(m_frame.get());
    if (welcome.exec() != QDialog::Accepted || welcome.GetChoice() != CWelcomeDlg::Choice::Connect)
        return;
    for (;;) {
        ScanAndConnect();
        if (ConnectedDocumentCount() >= 1)
            break;
        if (m_prompt->MessageBox("No device connection!", PromptIcon::Exclamation,
                                 PromptButtons::RetryCancel) != PromptAnswer::Retry)
            break;
    }
    ArrangeAfterConnect();
}

void CRecorderApp::ArrangeAfterConnect() {
    if (ConnectedDocumentCount() == 1) {
        if (QMdiSubWindow* active = m_frame->MdiArea()->activeSubWindow();
            active && !active->isMaximized())
            active->showMaximized();
    } else if (ConnectedDocumentCount() > 1) {
        m_frame->MdiArea()->cascadeSubWindows();
    }
}

bool CRecorderApp::Exit() {
    while (!m_documents.empty()) {
        if (!CloseDocument(*m_documents.back().doc))
            return false;
    }
    m_settings.Save(*m_store);
    m_store->Sync();
    return true;
}

void CRecorderApp::ScanAndConnect() {
    CDeviceScan scan(*m_link, *m_prompt, m_clock);
    const SelectRecorders select = [this](std::vector<RecorderEntry>& recorders,
                                          std::vector<bool>) {
        CSelectConnectionDlg dialog(recorders, m_settings.m_multiZt300 != 0, false, m_frame.get());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        recorders = dialog.GetSelected();
        return true;
    };
    const std::string text = scan.Scan(m_settings.m_multiZt300 != 0, select);
    if (!text.empty())
        OpenDocument(text);
}

CZT300SetDoc* CRecorderApp::OpenDocument(const std::string& path) {
    OpenDoc open;
    DocServices services{*m_link,       *m_prompt,           m_clock, m_settings, m_dataFolder,
                         m_sound.get(), m_digitalInput.get()};
    // The display keeps about one point per pixel of the screen a chart may span.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        services.screenWidth = screen->size().width();
    services.applyCalibrationReference = [this](std::vector<CRecCnd>& conditions) {
        CCalTemplate::ApplyReference(conditions, m_settings, *m_prompt);
    };
    services.store = m_store.get();
    open.doc = std::make_unique<CZT300SetDoc>(services);
    const bool connection = CZT300SetDoc::IsConnectionText(path);
    open.doc->SetTitle(connection ? path : FromQt(QFileInfo(ToQt(path)).fileName()));
    if (!open.doc->OnOpenDocument(path))
        return nullptr;
    m_documents.push_back(std::move(open));
    CreateSetupWindow(m_documents.back());
    return m_documents.back().doc.get();
}

void CRecorderApp::CreateSetupWindow(OpenDoc& open) {
    CZT300SetDoc& doc = *open.doc;
    auto* frame = new CZT300SetFrame(doc, *m_prompt);
    auto* view = new CZT300SetView(frame);
    view->SetPrompt(m_prompt.get());
    view->SetPrintTitle(ToQt(doc.GetTitle()));
    view->SetConditions(&doc.GetConditions(), doc.GetShownIndex(), &m_settings);
    view->SetLocked(!doc.CanEditCondition());
    doc.AddView(view);
    frame->SetView(view);
    connect(view, &CZT300SetView::conditionEdited, frame,
            [&doc](int index) { doc.ConditionEdited(index); });
    connect(frame, &CZT300SetFrame::recorderChanged, view, [this, &doc, view](int) {
        view->SetConditions(&doc.GetConditions(), doc.GetShownIndex(), &m_settings);
    });
    connect(view, &QObject::destroyed, frame, [&doc, view] { doc.RemoveView(view); });
    open.view = view;
    open.setup = m_frame->MdiArea()->addSubWindow(frame);
    open.setup->setWindowTitle(CZT300SetView::FrameCaption(ToQt(doc.GetTitle())));
    open.setup->setProperty(kMenuKindProperty, static_cast<int>(MenuKind::Setup));
    open.setup->setAttribute(Qt::WA_DeleteOnClose, false);
    open.setup->show();
    m_frame->MdiArea()->setActiveSubWindow(open.setup);
}

void CRecorderApp::ShowMonitor(CZT300SetDoc& doc) {
    OpenDoc* open = FindOpen(&doc);
    if (open == nullptr)
        return;
    // A changed chart arrangement builds the chart again.
    if (auto* frame = open->monitor != nullptr
                          ? qobject_cast<CMoniChartFrame*>(open->monitor->widget())
                          : nullptr)
        frame->SetChartType(m_settings.m_chartType);
    if (open->monitor == nullptr) {
        auto* monitor = new CMoniChartFrame(doc, this, &m_settings, m_store.get());
        connect(monitor, &CMoniChartFrame::commError, this, [this, &doc] { OnCommError(doc); });
        CVoiceNotes::Attach(monitor, doc, *m_prompt, m_clock, CreateAudioInput(m_options.demo));
        monitor->SetChannelLimits(&doc.GetMaterials());
        CRelaySetInfoView::FollowRelayControl(*monitor, m_settings.m_relayControl != 0,
                                              m_settings.m_relaySettings);
        open->monitor = m_frame->MdiArea()->addSubWindow(monitor);
        open->monitor->setProperty(kMenuKindProperty, static_cast<int>(MenuKind::Monitor));
        open->monitor->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    open->monitor->show();
    m_frame->MdiArea()->setActiveSubWindow(open->monitor);
}

void CRecorderApp::ShowSetup(CZT300SetDoc& doc) {
    if (OpenDoc* open = FindOpen(&doc); open != nullptr && open->setup != nullptr) {
        open->setup->show();
        m_frame->MdiArea()->setActiveSubWindow(open->setup);
    }
}

bool CRecorderApp::CloseDocument(CZT300SetDoc& doc) {
    if (doc.IsModified() && !CZT300SetDoc::IsConnectionText(doc.GetPathName())) {
        const PromptAnswer answer =
            m_prompt->MessageBox("Save changes to " + doc.GetTitle() + "?", PromptIcon::Exclamation,
                                 PromptButtons::YesNoCancel);
        if (answer == PromptAnswer::Cancel)
            return false;
        if (answer == PromptAnswer::Yes && !doc.GetPathName().empty() &&
            !doc.OnSaveDocument(doc.GetPathName()))
            return false;
    }
    // The run posts to the monitor window: it ends before the windows go.
    doc.StopArmed(false);
    m_relay->Forget(doc);
    doc.OnCloseDocument();
    const auto found = std::find_if(m_documents.begin(), m_documents.end(),
                                    [&doc](const OpenDoc& open) { return open.doc.get() == &doc; });
    if (found == m_documents.end())
        return true;
    // The windows go first: they are views of the document.
    delete found->monitor;
    delete found->setup;
    m_documents.erase(found);
    if (m_documents.empty())
        m_frame->SetMenuKind(MenuKind::NoDocument);
    return true;
}

CRecorderApp::OpenDoc* CRecorderApp::FindOpen(const CZT300SetDoc* doc) {
    for (OpenDoc& open : m_documents) {
        if (open.doc.get() == doc)
            return &open;
    }
    return nullptr;
}

const CRecorderApp::OpenDoc* CRecorderApp::ActiveOpen() const {
    // The current window stays the one the commands act on while a floating panel has the focus.
    const QMdiSubWindow* active = m_frame->MdiArea()->currentSubWindow();
    for (const OpenDoc& open : m_documents) {
        if (active != nullptr && (open.setup == active || open.monitor == active))
            return &open;
    }
    return nullptr;
}

CZT300SetDoc* CRecorderApp::ActiveDocument() const {
    const OpenDoc* open = ActiveOpen();
    return open != nullptr ? open->doc.get() : nullptr;
}

void CRecorderApp::OnSubWindowActivated(QMdiSubWindow* window) {
    if (window == nullptr) {
        if (m_frame->MdiArea()->subWindowList().isEmpty())
            m_frame->SetMenuKind(MenuKind::NoDocument);
        return;
    }
    const auto kind = static_cast<MenuKind>(window->property(kMenuKindProperty).toInt());
    if (kind != m_frame->GetMenuKind())
        m_frame->SetMenuKind(kind);
}

bool CRecorderApp::AnyDocumentArmed() const {
    return std::any_of(m_documents.begin(), m_documents.end(),
                       [](const OpenDoc& open) { return open.doc->m_acq.run; });
}

bool CRecorderApp::AnyDocumentConnected() const {
    return ConnectedDocumentCount() > 0;
}

int CRecorderApp::ConnectedDocumentCount() const {
    return static_cast<int>(
        std::count_if(m_documents.begin(), m_documents.end(),
                      [](const OpenDoc& open) { return open.doc->HasCurrentRecorder(); }));
}

CMoniChartFrame* CRecorderApp::ActiveMonitor() const {
    const OpenDoc* open = ActiveOpen();
    if (open == nullptr || open->monitor == nullptr ||
        m_frame->MdiArea()->currentSubWindow() != open->monitor)
        return nullptr;
    return qobject_cast<CMoniChartFrame*>(open->monitor->widget());
}

bool CRecorderApp::IsCommandEnabled(int id) const {
    if (CMoniChartFrame* monitor = ActiveMonitor(); monitor && monitor->HandlesCommand(id))
        return monitor->IsCommandEnabled(id);
    const OpenDoc* open = ActiveOpen();
    const CZT300SetDoc* doc = open != nullptr ? open->doc.get() : nullptr;
    const bool setupActive =
        open != nullptr && m_frame->MdiArea()->currentSubWindow() == open->setup;
    if (CRelayCommands::IsRelayCommand(id))
        return m_relay->IsEnabled(id, doc);
    switch (id) {
    case kFileOpen: // into the active document, whose condition an acquisition may be using
        return doc == nullptr || doc->CanEditCondition();
    case kIpSetting:
    case kAppAbout:
    case kAppExit:
    case kWindowCascade:
    case kWindowTileHorz:
    case kWindowTileVert:
    case kWindowArrange:
        return true;
    case kScan:
        return !AnyDocumentConnected();
    case kOptionSetting:
    case kRegisterPhyUnit:
    case kMaxMinValue:
    case kViewAcqFile:
        return !AnyDocumentArmed();
    case kFileSave:
    case kFileSaveAs:
    case kFileClose:
    case kSaveAsCnd:
        return doc != nullptr;
    case kFilePrint:
    case kFilePrintPreview:
    case kFilePrintSetup:
        return setupActive;
    case kLoadCnd:
        return doc != nullptr && doc->CanLoadCondition();
    case kWriteCnd:
        return doc != nullptr && doc->CanWriteCondition();
    case kRtc:
    case kCardInfo:
    case kFileTransfer:
        return doc != nullptr && doc->HasCurrentRecorder() && !doc->m_acq.run;
    case kSwitch:
    case kMonitorChart:
        return doc != nullptr && (setupActive ? doc->CanMonitorChart() : true);
    case kConditionSetting:
        return doc != nullptr;
    case kGoArmed:
        return doc != nullptr && doc->CanGoArmed();
    case kRemoteControl:
        return doc != nullptr && doc->CanRemoteControl();
    case kStopArmed:
        return doc != nullptr && doc->CanStopArmed();
    case kStartHddAcq:
        return doc != nullptr && doc->CanStartHdd();
    case kStartCardAcq:
    case kStartHddCardAcq:
        return doc != nullptr && doc->CanStartCard();
    case kStopAcq:
        return doc != nullptr && doc->CanStopAcq();
    case kMark:
    case kPause:
        return doc != nullptr && doc->m_acq.pcRecord;
    case kBalanceAll:
    case kBalanceChannels:
        return doc != nullptr && doc->HasCurrentRecorder() && !doc->m_acq.remote;
    case kCalibration:
        return setupActive && doc->CanEditCondition();
    case kExportCal:
        return doc != nullptr;
    case kImportCal:
        return doc != nullptr && doc->CanEditCondition();
    case kResetMaxMin:
        return doc != nullptr && doc->GetMaxMinValues().CanReset();
    case kSaveMaxMin:
        return doc != nullptr && doc->GetMaxMinValues().HasCopy();
    case kCanKInit:
    case kCanGInit:
        return doc == nullptr || !doc->m_acq.run;
    case kXcpSet:
    case kXcpStatus:
        return doc != nullptr && doc->HasCurrentRecorder() && !doc->m_acq.run &&
               CXcpCommands::CanRun(doc->GetDevice(doc->GetCurrentIndex()));
    case kMaterialList:
        return doc != nullptr;
    default:
        return false;
    }
}

bool CRecorderApp::IsCommandChecked(int id) const {
    if (CMoniChartFrame* monitor = ActiveMonitor(); monitor && monitor->HandlesCommand(id))
        return monitor->IsCommandChecked(id);
    const CZT300SetDoc* doc = ActiveDocument();
    return id == kPause && doc != nullptr && doc->m_acq.paused;
}

void CRecorderApp::OnCommand(int id) {
    if (CMoniChartFrame* monitor = ActiveMonitor(); monitor && monitor->HandlesCommand(id)) {
        monitor->OnCommand(id);
        return;
    }
    CZT300SetDoc* doc = ActiveDocument();
    if (CRelayCommands::IsRelayCommand(id) && doc != nullptr) {
        m_relay->OnCommand(id, *doc);
        return;
    }
    switch (id) {
    case kFileOpen:
        OpenFile();
        break;
    case kFileSave:
        SaveDocument(false);
        break;
    case kFileSaveAs:
        SaveDocument(true);
        break;
    case kFileClose:
        if (doc != nullptr)
            CloseDocument(*doc);
        break;
    case kSaveAsCnd:
        SaveCardCondition();
        break;
    case kFilePrint:
        PrintView(false);
        break;
    case kFilePrintPreview:
        PrintView(true);
        break;
    case kScan:
        ScanAndConnect();
        ArrangeAfterConnect();
        if (!AnyDocumentConnected())
            m_prompt->MessageBox("No Device Connection!", PromptIcon::Exclamation,
                                 PromptButtons::Ok);
        break;
    case kIpSetting:
        SetIpAddress();
        break;
    case kLoadCnd:
        doc->OnLoadCondition();
        break;
    case kWriteCnd:
        doc->OnWriteCondition();
        break;
    case kRtc:
        ShowRtc();
        break;
    case kCardInfo:
        ShowCardInfo();
        break;
    case kFileTransfer:
        TransferCardFiles(doc->GetDevice(doc->GetCurrentIndex()), *m_store, m_dataFolder,
                          m_frame.get());
        break;
    case kViewAcqFile:
        ViewAcqFiles(m_settings, m_frame.get());
        break;
    case kOptionSetting:
        ShowOptionSheet();
        break;
    case kMaxMinValue:
        ShowAutoSaveSetting();
        break;
    case kRegisterPhyUnit:
        ShowRegisterPhyUnit();
        break;
    case kSwitch:
        Switch();
        break;
    case kMonitorChart:
        ShowMonitor(*doc);
        break;
    case kConditionSetting:
        ShowSetup(*doc);
        break;
    case kGoArmed:
    case kRemoteControl:
        ShowMonitor(*doc);
        if (doc->Arm(id == kRemoteControl) && m_options.demo && m_settings.m_externalSignal)
            ShowSimulatedInputs();
        break;
    case kStopArmed:
        doc->StopArmed(true);
        break;
    case kStartHddAcq:
        doc->StartAcq(CZT300SetDoc::AcqKind::Hdd);
        break;
    case kStartCardAcq:
        doc->StartAcq(CZT300SetDoc::AcqKind::Card);
        break;
    case kStartHddCardAcq:
        doc->StartAcq(CZT300SetDoc::AcqKind::HddAndCard);
        break;
    case kStopAcq:
        doc->StopAcq();
        break;
    case kMark:
        AskMarkMemo(*doc);
        break;
    case kPause:
        doc->OnPause();
        break;
    case kBalanceAll:
        if (doc->Balance(nullptr))
            ShowSetup(*doc);
        break;
    case kBalanceChannels:
        BalanceWithSelection(*doc);
        break;
    case kCalibration:
        if (m_options.demo)
            ShowSimulatedInputs();
        CCalibrationCommands::Calibrate(*doc, *ActiveOpen()->view, *m_prompt, m_frame.get());
        break;
    case kExportCal:
        CCalibrationCommands::ExportCal(*doc, *m_prompt, m_frame.get());
        break;
    case kImportCal:
        CCalibrationCommands::ImportCal(*doc, *m_prompt, m_frame.get());
        break;
    case kResetMaxMin:
        doc->ResetMaxMin();
        break;
    case kMaterialList:
        ShowMaterials(*doc);
        break;
    case kSaveMaxMin: {
        const QString path = QFileDialog::getSaveFileName(
            m_frame.get(), tr(CMaxMinFile::kDialogTitle), QString(), tr(CMaxMinFile::kDialogFilter),
            nullptr, QFileDialog::DontConfirmOverwrite);
        if (!path.isEmpty())
            doc->SaveMaxMin(FromQt(path));
        break;
    }
    case kCanKInit:
    case kCanGInit:
        RunCanSetDlg(id == kCanKInit ? CCanSetup::Kind::K : CCanSetup::Kind::G,
                     doc != nullptr && doc->HasCurrentRecorder()
                         ? &doc->GetDevice(doc->GetCurrentIndex())
                         : nullptr,
                     *m_prompt, *m_store, m_frame.get());
        break;
    case kXcpSet:
        CXcpCommands(doc->GetDevice(doc->GetCurrentIndex())).SetXcp(*m_prompt);
        break;
    case kXcpStatus:
        RunXcpStatusDlg(doc->GetDevice(doc->GetCurrentIndex()), m_frame.get());
        break;
    case kWindowCascade:
        m_frame->MdiArea()->cascadeSubWindows();
        break;
    case kWindowTileHorz:
    case kWindowTileVert:
    case kWindowArrange:
        m_frame->MdiArea()->tileSubWindows();
        break;
    default:
        break;
    }
    RefreshLocks();
}

void CRecorderApp::RefreshLocks() {
    for (OpenDoc& open : m_documents) {
        if (open.view != nullptr)
            open.view->SetLocked(!open.doc->CanEditCondition());
        if (auto* frame = open.setup != nullptr
                              ? qobject_cast<CZT300SetFrame*>(open.setup->widget())
                              : nullptr)
            frame->RefreshLock();
    }
}

void CRecorderApp::ShowSimulatedInputs() {
    if (m_inputPanel == nullptr) {
        m_inputPanel = std::make_unique<CSimInputsWnd>(
            dynamic_cast<CExternalInputSim*>(m_digitalInput.get()), CSimInputs::ForLink(*m_link));
    }
    m_inputPanel->show();
}

void CRecorderApp::ShowMaterials(CZT300SetDoc& doc) {
    OpenDoc* open = FindOpen(&doc);
    if (open == nullptr || open->setup == nullptr)
        return;
    // A tool window of the setup window: it goes with the document's windows.
    auto* view = open->setup->findChild<CMatView*>();
    if (view == nullptr) {
        view = new CMatView(doc, *m_prompt, open->setup);
        view->setWindowFlag(Qt::Tool);
        view->setWindowTitle(ToQt(doc.GetTitle()) + tr(" - Material List"));
        view->resize(520, 320);
    }
    view->show();
    view->raise();
}

void CRecorderApp::OnCommError(CZT300SetDoc& doc) {
    if (doc.Reconnect()) {
        ShowMonitor(doc);
        doc.Arm(false);
    } else {
        CloseDocument(doc);
    }
    RefreshLocks();
}

void CRecorderApp::BalanceWithSelection(CZT300SetDoc& doc) {
    const CRecCnd& condition = doc.GetConditions()[static_cast<std::size_t>(doc.GetShownIndex())];
    CSelChBalDlg dialog(condition, LoadBalanceSelection(*m_store, condition.m_channels.size()),
                        m_frame.get());
    const int answer = dialog.exec();
    const ChannelSelection selection = dialog.GetSelection();
    StoreBalanceSelection(*m_store, selection);
    if (answer == QDialog::Accepted && doc.Balance(&selection))
        ShowSetup(doc);
}

void CRecorderApp::AskMarkMemo(CZT300SetDoc& doc) {
    doc.SetMemoAsker([this](const MarkMemoRequest& request, std::string& memo) {
        bool ok = false;
        const QString text =
            QInputDialog::getText(m_frame.get(), tr("Mark Memo"),
                                  tr("%1  (%2)").arg(ToQt(request.fileName)).arg(request.dataPoint),
                                  QLineEdit::Normal, QString(), &ok);
        memo = FromQt(text);
        return ok;
    });
    doc.OnMark(-1);
}

void CRecorderApp::Switch() {
    const OpenDoc* open = ActiveOpen();
    if (open == nullptr)
        return;
    if (m_frame->MdiArea()->currentSubWindow() == open->setup)
        ShowMonitor(*open->doc);
    else
        ShowSetup(*open->doc);
}

void CRecorderApp::OpenFile() {
    const QString path = QFileDialog::getOpenFileName(m_frame.get(), QString(), QString(),
                                                      QString::fromLatin1(kConditionFilter));
    if (path.isEmpty())
        return;
    if (CZT300SetDoc* doc = ActiveDocument(); doc != nullptr)
        doc->OpenConditionFile(FromQt(path));
    else if (CZT300SetDoc* opened = OpenDocument(FromQt(path)); opened != nullptr)
        opened->SetPathName(FromQt(path));
}

void CRecorderApp::SaveDocument(bool askName) {
    CZT300SetDoc* doc = ActiveDocument();
    if (doc == nullptr)
        return;
    std::string path = doc->GetPathName();
    if (askName || path.empty() || CZT300SetDoc::IsConnectionText(path)) {
        const QString chosen = QFileDialog::getSaveFileName(m_frame.get(), QString(), QString(),
                                                            QString::fromLatin1(kConditionFilter));
        if (chosen.isEmpty())
            return;
        path = FromQt(chosen.endsWith(QStringLiteral(".czd"), Qt::CaseInsensitive)
                          ? chosen
                          : chosen + QStringLiteral(".czd"));
    }
    if (doc->OnSaveDocument(path) && !CZT300SetDoc::IsConnectionText(doc->GetPathName())) {
        doc->SetPathName(path);
        doc->SetTitle(FromQt(QFileInfo(ToQt(path)).fileName()));
    }
}

void CRecorderApp::SaveCardCondition() {
    const QString folder =
        QFileDialog::getExistingDirectory(m_frame.get(), tr("Select a card driver to save"));
    if (!folder.isEmpty())
        ActiveDocument()->SaveCardCondition(FromQt(folder));
}

void CRecorderApp::SetIpAddress() {
    CDeviceScan scan(*m_link, *m_prompt, m_clock);
    const SelectRecorders select = [this](std::vector<RecorderEntry>& recorders,
                                          std::vector<bool>) {
        CSelectConnectionDlg dialog(recorders, false, true, m_frame.get());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        recorders = dialog.GetSelected();
        return true;
    };
    const EditIpAddress edit = [this](IpAddressSetting& setting) {
        CConfigIpDlg dialog(setting.oldAddress, m_frame.get());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        setting = {dialog.GetOldAddress(), dialog.GetNewAddress(), dialog.GetMask(),
                   dialog.GetGateway()};
        return true;
    };
    scan.SetIpAddress(select, edit);
}

void CRecorderApp::ShowOptionSheet() {
    COptionSheet sheet(
        m_settings, *m_prompt, [this] { return ExternalInputAvailable(); }, m_frame.get());
    if (sheet.exec() != QDialog::Accepted)
        return;
    const CRecorderSettings before = m_settings;
    m_settings = sheet.GetSettings();
    ApplySettingsToModel();
    const int hint = m_settings.OptionChangeHint(before);
    const bool chartTypeChanged = m_settings.ChartTypeChanged(before);
    for (OpenDoc& open : m_documents) {
        if (chartTypeChanged && open.monitor != nullptr)
            ShowMonitor(*open.doc);
        if (auto* monitor = open.monitor != nullptr
                                ? qobject_cast<CMoniChartFrame*>(open.monitor->widget())
                                : nullptr)
            CRelaySetInfoView::FollowRelayControl(*monitor, m_settings.m_relayControl != 0,
                                                  m_settings.m_relaySettings);
        // The charts read the settings again on their hint.
        if (hint != 0)
            open.doc->UpdateAllViews(nullptr, hint);
    }
}

void CRecorderApp::ShowAutoSaveSetting() {
    CAutoSaveDlg dialog(m_settings.m_autoSave, m_settings.m_asFilePath, m_settings.m_asMode,
                        m_frame.get());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_settings.m_autoSave = dialog.GetAutoSave();
    m_settings.m_asFilePath = dialog.GetFilePath();
    m_settings.m_asMode = dialog.GetMode();
}

void CRecorderApp::ShowRegisterPhyUnit() {
    CRegPhyUnitDlg dialog(m_settings.GetUnitList(), m_frame.get());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_settings.SetUnitList(dialog.GetUnits());
    for (OpenDoc& open : m_documents)
        open.doc->UpdateAllViews(nullptr, UpdateHint::kConditionChanged);
}

void CRecorderApp::ShowRtc() {
    CZT300SetDoc* doc = ActiveDocument();
    CRtcDlg dialog(doc->GetDevice(doc->GetCurrentIndex()), m_clock, m_frame.get());
    dialog.exec();
}

void CRecorderApp::ShowCardInfo() {
    CZT300SetDoc* doc = ActiveDocument();
    CCardInfoDlg dialog(doc->GetDevice(doc->GetCurrentIndex()), m_frame.get());
    dialog.exec();
}

void CRecorderApp::PrintView(bool preview) {
    const OpenDoc* open = ActiveOpen();
    if (open == nullptr || open->view == nullptr)
        return;
    if (!preview) {
        open->view->Print();
        return;
    }
    QPrinter printer;
    QPrintPreviewDialog dialog(&printer, m_frame.get());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, open->view,
            [view = open->view](QPrinter* target) { view->PrintTo(*target); });
    dialog.exec();
}
