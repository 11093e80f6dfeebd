// What the voice notes need of the acquisition document they are taken beside.
#pragma once

#include <string>

class IVoiceNoteHost {
public:
    virtual ~IVoiceNoteHost() = default;
    // Whether the acquisition thread has started; notes are taken only then.
    virtual bool IsAcquiring() const = 0;
    // The current HDD record file (folder, name and extension) the notes are named after.
    virtual std::string GetRecordFileName() const = 0;
    // Adds an entry holding `fileName` to the marks at the acquisition's current sample.
    virtual void AddVoiceMark(const std::string& fileName) = 0;
};
