#include "support/TestEnv.h"

#include "platform/db/ClinicDb.h"
#include "platform/settings/Settings.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

void TestEnv::prepareProcess()
{
    static QTemporaryDir home;
    home.setAutoRemove(true);
    const QString base = home.path();
    QDir().mkpath(base + "/config");
    QDir().mkpath(base + "/data");
    QDir().mkpath(base + "/runtime");
    QFile::setPermissions(base + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(base + "/config"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + "/data"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(base + "/runtime"));
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

TestEnv::TestEnv(bool withDatabase)
{
    resetApp();
    Clock::reset();
    ClinicDb::closeAll();
    ClinicDb::setWaitHandlers({});
    ClinicDb::setUpgradeFailedHandler({});
    ClinicDb::setWaitClock({});
    ClinicDb::setLockWait(5000);
    QFile::remove(Settings::storeFile());
    QDir().mkpath(m_dir.path() + "/app");
    QDir().mkpath(m_dir.path() + "/db");
    App().AppPath = appPath();
    App().DBFPath = dbfPath();
    App().DBFName = dbfPath() + ClinicDb::kFileName;
    App().HelpFilePath = appPath() + QStringLiteral("FW2P0.hlp");
    App().EditionTag = QStringLiteral("NW");
    App().Linked = QStringLiteral("0");
    App().BackColour = QStringLiteral("3");
    App().PrintOption = QStringLiteral("1");
    App().LegendCheck = QStringLiteral("1");
    App().SymbolCheck = QStringLiteral("1");
    if (withDatabase)
        ClinicDb::create(App().DBFName);
}

TestEnv::~TestEnv()
{
    ClinicDb::closeAll();
    QFile::remove(Settings::storeFile());
    Clock::reset();
    resetApp();
}

QString TestEnv::appPath() const
{
    return m_dir.path() + QStringLiteral("/app/");
}
QString TestEnv::dbfPath() const
{
    return m_dir.path() + QStringLiteral("/db/");
}
QSqlDatabase TestEnv::db()
{
    return ClinicDb::connection(App().DBFName);
}
