// What the card file transfer keeps between runs: the PC target folder and how each list is
// sorted (section "CFileTransferDlg_Section").
#pragma once

#include "setup/SortState.h"

#include <string>

class ISettingsStore;

struct FileTransferSettings {
    std::string targetFolder;
    CSortState cardSort{1, false};
    CSortState pcSort{1, false};

    // `defaultFolder` when no target folder was kept.
    void Load(const ISettingsStore& store, const std::string& defaultFolder);
    void Save(ISettingsStore& store) const;

    static constexpr const char* kSection = "CFileTransferDlg_Section";
};
