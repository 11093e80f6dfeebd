// The document's side of the max/min values: its copy for the views (user-interface thread
// only), the reset command, and saving them, by hand or after each record.
#pragma once

#include "records/MaxMinTable.h"

#include <string>

class CDocument;
class CMaxMinFile;
class CMaxMinRunTable;
class CRecorderSettings;
class IPrompt;

class CMaxMinValues {
public:
    // A new copy of `channels` new entries, made with each new display ring at ARM.
    bool Create(int channels) { return m_copy.Create(channels); }
    bool HasCopy() const { return m_copy.Exists(); }
    const CMaxMinTable& GetCopy() const { return m_copy; }

    // On the new-data message: takes the run's table when it fits the copy and refreshes the
    // views; false when nothing was taken.
    bool Refresh(const CMaxMinRunTable* run, CDocument& document);

    bool CanReset() const { return HasCopy(); }
    // Physical minimum and maximum start again, in the copy and in the run's table.
    void Reset(CMaxMinRunTable* run, CDocument& document);

    // Values of a finished record that no save has taken yet.
    bool IsUnsaved() const { return m_unsaved; }
    // After a record is finished: saves automatically when the settings say so, else keeps the
    // values unsaved. The empty text, or the message of a failed automatic save (the values
    // then stay unsaved).
    std::string RecordFinished(const CRecorderSettings& settings, const CMaxMinFile& file);
    // The Save MAX/MIN command, to the path chosen in the save dialog (empty: cancelled).
    bool SaveByHand(const std::string& path, const CMaxMinFile& file, IPrompt& prompt);

private:
    CMaxMinTable m_copy;
    bool m_unsaved = false;
};
