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

int TestEnv::addCase(const QString &surname, const QString &animal, const QString &species, const QString &breed,
                     const QString &sex, const QString &units, double lower, double upper, const QString &history,
                     const QString &lastWeighedIso, const QString &dobIso, bool active)
{
    QSqlDatabase d = db();
    const int caseNo =
        ClinicDb::scalar(d, QStringLiteral("SELECT COALESCE(MAX([CaseNo]), 0) + 1 FROM [Clients]")).toInt();
    // Last entry of the history as the current weight.
    QString h = history;
    if (h.endsWith(QLatin1Char(';')))
        h.chop(1);
    const QString lastEntry = h.section(QLatin1Char(';'), -1);
    ClinicDb::exec(d,
                   QStringLiteral("INSERT INTO [Clients] ([CaseNo], [Surname], [AnimalName], [Tel No], [Species], "
                                  "[DOB], [Sex], [Breed], [Units], [UpperWt], [LowerWt], [CurrentWt], [Graph Data], "
                                  "[Graph Data Undo], [Last Weighed], [Last Weighed Undo], [Vet Comments], "
                                  "[Diet Recommend], [Active]) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                   {caseNo, surname, animal, QStringLiteral("01632 960123"), species, dobIso, sex, breed, units, upper,
                    lower, lastEntry.trimmed().toDouble(), history, history, lastWeighedIso, lastWeighedIso,
                    QStringLiteral("None"), QString(), active ? 1 : 0});
    return caseNo;
}
