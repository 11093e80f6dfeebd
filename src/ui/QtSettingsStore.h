// The per-user settings profile as an INI file in the user's configuration folder.
#pragma once

#include "framework/SettingsStore.h"

#include <QSettings>

class CQtSettingsStore : public ISettingsStore {
public:
    // The profile of the program, or, for tests, the INI file at `path`.
    CQtSettingsStore();
    explicit CQtSettingsStore(const QString& path);

    int GetInt(const std::string& section, const std::string& key, int defaultValue) const override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const override;
    void WriteInt(const std::string& section, const std::string& key, int value) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;
    void Sync() { m_settings.sync(); }

private:
    mutable QSettings m_settings;
};
