// The material list of an acquisition document and the file it came from, which the document
// remembers across runs of the program in the settings store.
#pragma once

#include "monitor/MyMatData.h"

#include <string>

class ISettingsStore;

class CDocMaterials {
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

private:
    std::string m_path;
    CMyMatData m_data;
};
