// The per-user settings profile as an INI file in the user's configuration folder.
#pragma once

#include "framework/SettingsStore.h"

#include <QSettings>

#include <optional>

class CQtSettingsStore : public ISettingsStore {
public:
    // The profile of the program, or, for tests, the INI file at `path`. A path that is not a
    // regular file (a named pipe, a device) is not read or written: the store then starts empty
    // and OpenError() tells why.
    CQtSettingsStore();
    explicit CQtSettingsStore(const QString& path);

    int GetInt(const std::string& section, const std::string& key, int defaultValue) const override;
    // The value as it stands in the file: a comma inside it is part of the text.
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const override;
    void WriteInt(const std::string& section, const std::string& key, int value) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;
    void Sync() { m_settings.sync(); }
    // The file's message when the profile could not be used; empty otherwise.
    const std::string& OpenError() const { return m_openError; }

private:
    std::optional<QString> RawText(const std::string& section, const std::string& key) const;

    std::string m_openError;
    QString m_path;
    mutable QSettings m_settings;
};
