#include "ui/relay/RelayCommands.h"

#include "acquisition/ZT300SetDoc.h"
#include "conditions/RelayTable.h"
#include "framework/UpdateHints.h"
#include "setup/ChannelTableRules.h"
#include "ui/CommandIds.h"
#include "ui/relay/RelaySettingDlg.h"

CRelayCommands::CRelayCommands(CRecorderSettings& settings, IPrompt& prompt, QWidget* dialogParent,
                               IRelayOutput* driver)
    : m_settings(settings), m_prompt(prompt), m_dialogParent(dialogParent), m_driver(driver),
      m_runDialog([](CRelaySettingDlg& dialog) { return dialog.exec(); }) {}

CRelayCommands::~CRelayCommands() = default;

bool CRelayCommands::IsRelayCommand(int id) {
    return id == CommandId::kRelayControlSetting || id == CommandId::kWatchDogStart ||
           id == CommandId::kWatchDogStop;
}

bool CRelayCommands::IsWatchDogRunning(const CZT300SetDoc& doc) const {
    const auto found = m_watchDogs.find(&doc);
    return found != m_watchDogs.end() && found->second->IsRunning();
}

bool CRelayCommands::IsEnabled(int id, const CZT300SetDoc* doc) const {
    if (doc == nullptr)
        return false;
    switch (id) {
    case CommandId::kRelayControlSetting:
        return doc->CanEditCondition();
    case CommandId::kWatchDogStart:
        return m_settings.m_relayControl != 0 && doc->m_acq.run && !IsWatchDogRunning(*doc);
    case CommandId::kWatchDogStop:
        return IsWatchDogRunning(*doc);
    default:
        return false;
    }
}

void CRelayCommands::OnCommand(int id, CZT300SetDoc& doc) {
    if (!IsEnabled(id, &doc))
        return;
    if (id == CommandId::kRelayControlSetting) {
        EditRelaySettings(doc);
        return;
    }
    std::unique_ptr<CWatchDog>& dog = m_watchDogs[&doc];
    if (!dog)
        dog = std::make_unique<CWatchDog>(m_driver);
    if (id == CommandId::kWatchDogStart)
        dog->Start(GetPortLevels(m_settings.m_relaySettings), m_prompt);
    else
        dog->Stop();
}

void CRelayCommands::Forget(const CZT300SetDoc& doc) {
    m_watchDogs.erase(&doc);
}

void CRelayCommands::EditRelaySettings(CZT300SetDoc& doc) {
    // The rows name channels by the numbers the channel table shows.
    CChannelTableRules::NumberChannels(doc.GetConditions());
    CRecCnd& condition = doc.GetConditions()[static_cast<std::size_t>(doc.GetShownIndex())];
    CRelaySettingDlg dialog(condition, GetPortLevels(m_settings.m_relaySettings), m_prompt,
                            m_dialogParent);
    if (m_runDialog(dialog) != QDialog::Accepted)
        return;
    dialog.ApplyTo(condition);
    SetPortLevels(m_settings.m_relaySettings, dialog.GetPortLevels());
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(nullptr, UpdateHint::kConditionChanged);
}
