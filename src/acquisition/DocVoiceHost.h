// The acquisition document as the voice notes see it: whether its data thread runs, the name of
// its current HDD record, and the marks of that record.
#pragma once

#include "monitor/VoiceNoteHost.h"

class CZT300SetDoc;
class IClock;

class CDocVoiceHost : public IVoiceNoteHost {
public:
    CDocVoiceHost(CZT300SetDoc& doc, const IClock& clock);

    bool IsAcquiring() const override;
    // The running (or last) record's data file; before the first record, the master's record
    // folder and base name, so that notes still land where the records go.
    std::string GetRecordFileName() const override;
    // The mark goes to the running PC record, at the rows written so far, with the note's name
    // (without its folder: the note lies beside the record). Without a record nothing is marked.
    void AddVoiceMark(const std::string& fileName) override;

private:
    CZT300SetDoc& m_doc;
    const IClock& m_clock;
};
