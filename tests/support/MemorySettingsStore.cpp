#include "support/MemorySettingsStore.h"

int CMemorySettingsStore::GetInt(const std::string& section, const std::string& key,
                                 int defaultValue) const {
    const auto found = m_values.find({section, key});
    return found == m_values.end() ? defaultValue : std::stoi(found->second);
}

std::string CMemorySettingsStore::GetString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue) const {
    const auto found = m_values.find({section, key});
    return found == m_values.end() ? defaultValue : found->second;
}

void CMemorySettingsStore::WriteInt(const std::string& section, const std::string& key, int value) {
    m_values[{section, key}] = std::to_string(value);
}

void CMemorySettingsStore::WriteString(const std::string& section, const std::string& key,
                                       const std::string& value) {
    m_values[{section, key}] = value;
}
