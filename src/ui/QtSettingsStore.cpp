#include "ui/QtSettingsStore.h"

namespace {

QString Key(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

} // namespace

CQtSettingsStore::CQtSettingsStore()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("zt300ctl"),
                 QStringLiteral("zt300ctl")) {}

CQtSettingsStore::CQtSettingsStore(const QString& path) : m_settings(path, QSettings::IniFormat) {}

int CQtSettingsStore::GetInt(const std::string& section, const std::string& key,
                             int defaultValue) const {
    bool ok = false;
    const int value = m_settings.value(Key(section, key)).toInt(&ok);
    return ok ? value : defaultValue;
}

std::string CQtSettingsStore::GetString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const {
    const QVariant value = m_settings.value(Key(section, key));
    return value.isValid() ? value.toString().toLocal8Bit().toStdString() : defaultValue;
}

void CQtSettingsStore::WriteInt(const std::string& section, const std::string& key, int value) {
    m_settings.setValue(Key(section, key), value);
}

void CQtSettingsStore::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value) {
    m_settings.setValue(Key(section, key),
                        QString::fromLocal8Bit(value.data(), static_cast<qsizetype>(value.size())));
}
