#include "acquisition/MaxMinValues.h"

#include "acquisition/RecorderSettings.h"
#include "framework/Document.h"
#include "framework/UpdateHints.h"
#include "records/MaxMinFile.h"
#include "records/MaxMinRunTable.h"

namespace {

constexpr int kOverwriteMode = 1;

} // namespace

bool CMaxMinValues::Refresh(const CMaxMinRunTable* run, CDocument& document) {
    if (run == nullptr || !run->CopyTo(m_copy))
        return false;
    document.UpdateAllViews(nullptr, UpdateHint::kMaxMinChanged);
    return true;
}

void CMaxMinValues::Reset(CMaxMinRunTable* run, CDocument& document) {
    if (!CanReset())
        return;
    m_copy.ResetPhysical();
    if (run != nullptr)
        run->ResetPhysical();
    document.UpdateAllViews(nullptr, UpdateHint::kMaxMinChanged);
}

std::string CMaxMinValues::RecordFinished(const CRecorderSettings& settings,
                                          const CMaxMinFile& file) {
    if (settings.m_autoSave == 0) {
        m_unsaved = true;
        return {};
    }
    std::string error =
        file.SaveAutomatically(settings.m_asFilePath, settings.m_asMode == kOverwriteMode);
    m_unsaved = !error.empty();
    return error;
}

bool CMaxMinValues::SaveByHand(const std::string& path, const CMaxMinFile& file, IPrompt& prompt) {
    if (!file.SaveByHand(path, prompt))
        return false;
    m_unsaved = false;
    return true;
}
