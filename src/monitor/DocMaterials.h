// The material list of an acquisition document and the file it came from, which the document
// remembers across runs of the program in the settings store. The list's specification limits
// are the limits the digit lists colour a channel's extremes against.
#pragma once

#include "monitor/ChannelLimits.h"
#include "monitor/MyMatData.h"

#include <string>

class ISettingsStore;

class CDocMaterials : public IChannelLimits {
public:
    static constexpr const char* kSection = "ZT300DOC_Section";
    static constexpr const char* kPathKey = "Mat_FilePath";

    // At the document's construction: the remembered file, read with the rules of its extension.
    // A file that cannot be read leaves the list empty; the user sees its path and picks another.
    void Restore(const ISettingsStore& store);
    // When the document goes: the path is remembered for the next one.
    void Remember(ISettingsStore& store) const;

    // Another file chosen by the user: path and list change only when it is read. Empty, or the
    // message to show.
    std::string Replace(const std::string& path);

    const std::string& GetPath() const { return m_path; }
    const CMyMatData& GetData() const { return m_data; }

    // A channel whose material values name a material of the list (name and identifier) takes
    // that material's limits, so a newly loaded list applies at once; any other channel keeps
    // the limits of its own material values.
    ChannelLimitPair GetLimits(const CChCnd& channel) const override;

private:
    std::string m_path;
    CMyMatData m_data;
};
