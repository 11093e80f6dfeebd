// The application: its settings, the recorder link, the main window, and the open documents
// with their setup and monitor windows. It carries the program-wide commands and asks the active
// document for the others.
#pragma once

#include "acquisition/RecorderSettings.h"
#include "framework/Clock.h"
#include "ui/CommandHandler.h"

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class CMoniChartFrame;
class CQtPrompt;
class CQtSettingsStore;
class CQtSoundPlayer;
class CRelayCommands;
class CSimInputsWnd;
class CZT300SetDoc;
class CZT300SetFrame;
class CZT300SetView;
class IDigitalInput;
class ILinkLibrary;
class QMdiSubWindow;
class QWidget;

struct AppOptions {
    bool demo = false;          // in-process simulated recorders instead of the network
    bool welcome = true;        // offer CONNECT / NOCON at start
    std::string settingsPath;   // an INI file instead of the user's profile (tests)
    std::string dataFolder;     // instead of the per-user data folder (tests)
    unsigned short netPort = 0; // the recorders' port when it is not their usual one (tests)
};

class CRecorderApp : public QObject, public ICommandHandler {
    Q_OBJECT

public:
    explicit CRecorderApp(const AppOptions& options);
    ~CRecorderApp() override;

    // Reads the settings, shows the main window and, when asked, the welcome choice.
    void Start();
    // Closes every document and writes the settings; false when the user kept the program open.
    bool Exit();

    void OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;
    bool IsCommandChecked(int id) const override;

    CMainFrame& MainFrame() const { return *m_frame; }
    CRecorderSettings& Settings() { return m_settings; }
    ILinkLibrary& Link() const { return *m_link; }
    CQtPrompt& Prompt() const { return *m_prompt; }
    // Opens a document on a condition file or a connection text; nullptr when that failed.
    CZT300SetDoc* OpenDocument(const std::string& path);
    CZT300SetDoc* ActiveDocument() const;
    int DocumentCount() const { return static_cast<int>(m_documents.size()); }
    // The device scan and the document it opens on the chosen recorders.
    void ScanAndConnect();
    // Opens the monitor window of the active document, or activates it.
    void ShowMonitor(CZT300SetDoc& doc);
    void ShowSetup(CZT300SetDoc& doc);
    bool CloseDocument(CZT300SetDoc& doc);
    // One connected document fills the main window; several are cascaded.
    void ArrangeAfterConnect();

private:
    struct OpenDoc {
        std::unique_ptr<CZT300SetDoc> doc;
        QMdiSubWindow* setup = nullptr;
        QMdiSubWindow* monitor = nullptr;
        CZT300SetView* view = nullptr;
    };

    OpenDoc* FindOpen(const CZT300SetDoc* doc);
    const OpenDoc* ActiveOpen() const;
    // The monitor window when it is the active window.
    CMoniChartFrame* ActiveMonitor() const;
    void CreateSetupWindow(OpenDoc& open);
    void OnSubWindowActivated(QMdiSubWindow* window);
    bool AnyDocumentArmed() const;
    bool AnyDocumentConnected() const;
    int ConnectedDocumentCount() const;

    void OpenFile();
    void SaveDocument(bool askName);
    void SaveCardCondition();
    void SetIpAddress();
    void ShowOptionSheet();
    void ShowAutoSaveSetting();
    void ShowRegisterPhyUnit();
    void ShowRtc();
    void ShowCardInfo();
    void Switch();
    void PrintView(bool preview);
    void OnCommError(CZT300SetDoc& doc);
    void BalanceWithSelection(CZT300SetDoc& doc);
    void AskMarkMemo(CZT300SetDoc& doc);
    // The setup windows are locked while their documents are ARMED.
    void RefreshLocks();
    void ApplySettingsToModel();
    bool ExternalInputAvailable() const;
    // In demo mode a small window ticks the contacts of the simulated input module and applies
    // known inputs to the simulated channels.
    void ShowSimulatedInputs();
    // The material list of a document in a window of its own beside its setup window.
    void ShowMaterials(CZT300SetDoc& doc);

    AppOptions m_options;
    std::string m_dataFolder;
    std::unique_ptr<CQtSettingsStore> m_store;
    CRecorderSettings m_settings;
    CSystemClock m_clock;
    std::unique_ptr<ILinkLibrary> m_link;
    std::unique_ptr<IDigitalInput> m_digitalInput; // the simulated module in demo mode
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CQtPrompt> m_prompt;
    std::unique_ptr<CQtSoundPlayer> m_sound;
    std::unique_ptr<CRelayCommands> m_relay;
    // A window of its own, so that it stays usable beside the calibration dialog.
    std::unique_ptr<CSimInputsWnd> m_inputPanel;
    std::vector<OpenDoc> m_documents;
};
