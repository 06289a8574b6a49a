#include "platform/settings/Settings.h"

#include <QSettings>

// One ini file per application under the user's configuration folder
// ($XDG_CONFIG_HOME, usually ~/.config): ~/.config/Fenwarra/Fenwarra.ini.
// Values are stored as text; QSettings quotes a value that begins with a blank,
// so blank-led texts survive a round trip.

QString Settings::GetSetting(const QString &appName, const QString &section, const QString &key,
                             const QString &defaultValue)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    const QVariant v = s.value(section + QLatin1Char('/') + key);
    if (!v.isValid())
        return defaultValue;
    // The ini format reads an unquoted value holding commas (a caption typed
    // into the file by hand) as a list; the setting is one text.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void Settings::SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    s.setValue(section + QLatin1Char('/') + key, value);
    s.sync();
}

QString Settings::storeFile(const QString &appName)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    return s.fileName();
}
