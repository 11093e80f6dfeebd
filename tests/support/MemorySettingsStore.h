// A settings store for tests: sections and keys in memory.
#pragma once

#include "framework/SettingsStore.h"

#include <map>
#include <string>
#include <utility>

class CMemorySettingsStore : public ISettingsStore {
public:
    int GetInt(const std::string& section, const std::string& key, int defaultValue) const override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const override;
    void WriteInt(const std::string& section, const std::string& key, int value) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

    std::map<std::pair<std::string, std::string>, std::string> m_values;
};
