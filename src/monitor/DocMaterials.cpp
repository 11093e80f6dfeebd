#include "monitor/DocMaterials.h"

#include "framework/SettingsStore.h"

void CDocMaterials::Restore(const ISettingsStore& store) {
    m_path = store.GetString(kSection, kPathKey, "");
    m_data = CMyMatData{};
    if (!m_path.empty())
        m_data.LoadFile(m_path);
}

void CDocMaterials::Remember(ISettingsStore& store) const {
    store.WriteString(kSection, kPathKey, m_path);
}

std::string CDocMaterials::Replace(const std::string& path) {
    std::string message = m_data.LoadFile(path);
    if (message.empty())
        m_path = path;
    return message;
}
