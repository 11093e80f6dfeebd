// The relay commands of the menus: "Relay Control Setting ..." (the relay setting dialog on the
// document's current condition) and "Watch Dog Start" / "Watch Dog Stop" (one watch-dog per
// document, while relay control is switched on in the options).
#pragma once

#include "conditions/WatchDog.h"

#include <functional>
#include <map>
#include <memory>

class CRecorderSettings;
class CRelaySettingDlg;
class CZT300SetDoc;
class IPrompt;
class IRelayOutput;
class QWidget;

class CRelayCommands {
public:
    // Runs the relay setting dialog; tests answer it themselves.
    using DialogRunner = std::function<int(CRelaySettingDlg& dialog)>;

    // `driver` switches the relay outputs; without one (this program) the watch-dog cannot start.
    CRelayCommands(CRecorderSettings& settings, IPrompt& prompt, QWidget* dialogParent,
                   IRelayOutput* driver = nullptr);
    ~CRelayCommands();

    static bool IsRelayCommand(int id);
    bool IsEnabled(int id, const CZT300SetDoc* doc) const;
    void OnCommand(int id, CZT300SetDoc& doc);
    // The document closes: its watch-dog stops.
    void Forget(const CZT300SetDoc& doc);
    bool IsWatchDogRunning(const CZT300SetDoc& doc) const;

    void SetDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }

private:
    void EditRelaySettings(CZT300SetDoc& doc);

    CRecorderSettings& m_settings;
    IPrompt& m_prompt;
    QWidget* m_dialogParent;
    IRelayOutput* m_driver;
    DialogRunner m_runDialog;
    std::map<const CZT300SetDoc*, std::unique_ptr<CWatchDog>> m_watchDogs;
};
