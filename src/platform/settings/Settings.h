#pragma once
// The per-user settings store: text values addressed by application, section
// and key. A missing key gives the default; nothing is ever deleted.
#include <QString>

namespace Settings {
/// The application name under which every setting of the program is kept.
inline const QString kAppName = QStringLiteral("Fenwarra");

QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultValue = QString());
void SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value);

/// Shorthands for the program's own application name.
inline QString get(const QString &section, const QString &key, const QString &defaultValue = QString())
{
    return GetSetting(kAppName, section, key, defaultValue);
}
inline void save(const QString &section, const QString &key, const QString &value)
{
    SaveSetting(kAppName, section, key, value);
}

/// The file the store writes (for the README and tests).
QString storeFile(const QString &appName = kAppName);
} // namespace Settings
