#include "setup/FileTransferSettings.h"

#include "framework/SettingsStore.h"
#include "setup/TransferRows.h"

namespace {

void LoadSort(const ISettingsStore& store, const char* column, const char* ascending,
              CSortState& sort) {
    using Settings = FileTransferSettings;
    // A column the lists do not have sorts by the date.
    int kept = store.GetInt(Settings::kSection, column, TransferColumn::kDate);
    if (kept < 0 || kept >= TransferColumn::kCount)
        kept = TransferColumn::kDate;
    sort.Set(kept, store.GetInt(Settings::kSection, ascending, 0) != 0);
}

void SaveSort(ISettingsStore& store, const char* column, const char* ascending,
              const CSortState& sort) {
    using Settings = FileTransferSettings;
    store.WriteInt(Settings::kSection, column, sort.GetColumn());
    store.WriteInt(Settings::kSection, ascending, sort.IsAscending() ? 1 : 0);
}

} // namespace

void FileTransferSettings::Load(const ISettingsStore& store, const std::string& defaultFolder) {
    targetFolder = store.GetString(kSection, "Tgt_Folder", defaultFolder);
    LoadSort(store, "SRC_Last_Column", "SRC_Last_ASC", cardSort);
    LoadSort(store, "TGT_Last_Column", "TGT_Last_ASC", pcSort);
}

void FileTransferSettings::Save(ISettingsStore& store) const {
    store.WriteString(kSection, "Tgt_Folder", targetFolder);
    SaveSort(store, "SRC_Last_Column", "SRC_Last_ASC", cardSort);
    SaveSort(store, "TGT_Last_Column", "TGT_Last_ASC", pcSort);
}
