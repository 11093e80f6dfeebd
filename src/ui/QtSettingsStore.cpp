#include "ui/QtSettingsStore.h"

#include "conditions/TextFile.h"

#include <QFile>
#include <QStandardPaths>
#include <QStringList>

namespace {

QString Key(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

QString ProfilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/zt300ctl/zt300ctl.ini");
}

std::string ToLocal(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

// The path the profile may use; empty (a store in memory only) when it is refused.
QString UsablePath(const QString& path, std::string& error) {
    error = CTextFile::CheckReadable(ToLocal(path));
    return error.empty() ? path : QString();
}

} // namespace

CQtSettingsStore::CQtSettingsStore() : CQtSettingsStore(ProfilePath()) {}

CQtSettingsStore::CQtSettingsStore(const QString& path)
    : m_path(UsablePath(path, m_openError)), m_settings(m_path, QSettings::IniFormat) {}

int CQtSettingsStore::GetInt(const std::string& section, const std::string& key,
                             int defaultValue) const {
    bool ok = false;
    const int value = m_settings.value(Key(section, key)).toInt(&ok);
    return ok ? value : defaultValue;
}

std::string CQtSettingsStore::GetString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const {
    const QVariant value = m_settings.value(Key(section, key));
    if (!value.isValid())
        return defaultValue;
    // An INI value written by hand with commas and no quotes is read as a list; the text
    // itself is what the key holds.
    if (value.typeId() == QMetaType::QStringList)
        return ToLocal(RawText(section, key).value_or(value.toStringList().join(QLatin1Char(','))));
    return ToLocal(value.toString());
}

// The text after "key=" in the key's section of the file, without the blanks around it.
std::optional<QString> CQtSettingsStore::RawText(const std::string& section,
                                                 const std::string& key) const {
    QFile file(m_path);
    if (m_path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    const QString wantedSection =
        QLatin1Char('[') + QString::fromStdString(section) + QLatin1Char(']');
    const QString wantedKey = QString::fromStdString(key);
    bool inSection = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inSection = line.compare(wantedSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inSection && equals > 0 && line.left(equals).trimmed() == wantedKey)
            return line.mid(equals + 1).trimmed();
    }
    return std::nullopt;
}

void CQtSettingsStore::WriteInt(const std::string& section, const std::string& key, int value) {
    m_settings.setValue(Key(section, key), value);
}

void CQtSettingsStore::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value) {
    m_settings.setValue(Key(section, key),
                        QString::fromLocal8Bit(value.data(), static_cast<qsizetype>(value.size())));
}
