// Start-up and the splash window: settings read into the application state,
// the database made ready, the frame shown by link mode, the splash picture
// drawn step by step.
#include "support/CaseBuilder.h"
#include "support/LockHolder.h"
#include "support/ReadOnlyRegister.h"
#include "support/ScriptedPrompt.h"
#include "support/SteppingWaitClock.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "cases/CaseDetails.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/WriteAccess.h"
#include "platform/link/LinkServer.h"
#include "platform/settings/Settings.h"
#include "platform/state/AppState.h"
#include "shell/Startup.h"
#include "shell/frmLink.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <unistd.h>

namespace {

struct SplashSeen {
    QString version;
    QString product;
    bool frameVisibleWhileSplash = false;
    bool databaseWhileSplash = false;
    int ticks = 0;
    bool found = false;
};

/// Notes whether the database file was there when the frame painted for the
/// first time.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(const QString &dbfName) : m_dbfName(dbfName) { qApp->installEventFilter(this); }

    bool painted = false;
    bool databaseThen = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!painted && event->type() == QEvent::Paint && watched->isWidgetType() && frmMain::instance() &&
            static_cast<QWidget *>(watched)->window() == frmMain::instance()) {
            painted = true;
            databaseThen = QFileInfo::exists(m_dbfName);
        }
        return false;
    }

private:
    QString m_dbfName;
};

/// Run Main() with the splash driven tick by tick as soon as it shows, so the
/// test does not wait for its 4.2 s. Returns what the splash showed. With a
/// probe, the frame is first let paint and the events after the paint run.
SplashSeen runMain(FirstPaintProbe *probe = nullptr)
{
    SplashSeen seen;
    QTimer::singleShot(0, [&seen, probe] {
        frmMain *frame = frmMain::instance();
        auto *splash = frame ? frame->findChild<frmSplash *>() : nullptr;
        if (!splash)
            return;
        seen.found = true;
        if (probe && QTest::qWaitFor([probe] { return probe->painted; }, 5000)) {
            // The events that follow the paint.
            QCoreApplication::processEvents();
            seen.databaseWhileSplash = QFileInfo::exists(App().DBFName);
        }
        seen.version = splash->findChild<QLabel *>(QStringLiteral("lblVersion"))->text();
        seen.product = splash->findChild<QLabel *>(QStringLiteral("lblProductName"))->text();
        seen.frameVisibleWhileSplash = frame->isVisible();
        while (splash->isVisible() && seen.ticks < 20) {
            splash->Timer1_Timer();
            ++seen.ticks;
        }
    });
    Main();
    return seen;
}

/// The frame that Main() made, deleted at the end of the test.
struct FrameOwner {
    ~FrameOwner() { delete frmMain::instance(); }
};

/// The user's data folder (XDG_DATA_HOME) points at a temporary folder while a
/// test runs Main() with default folders, so the database the first start
/// creates lands there.
struct TemporaryHome {
    QTemporaryDir dir;
    QByteArray saved = qgetenv("XDG_DATA_HOME");
    TemporaryHome() { qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path())); }
    ~TemporaryHome() { qputenv("XDG_DATA_HOME", saved); }
};

/// What the status bar showed while it was painted with a message, and the
/// cursor then: the program cannot run its event loop while it waits for a
/// lock, so what the user sees is what was painted at once.
class StatusPaints : public QObject {
public:
    StatusPaints() { qApp->installEventFilter(this); }
    QStringList messages;
    QList<int> cursors; // Qt::CursorShape, or -1 with no busy cursor

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            if (auto *bar = qobject_cast<QStatusBar *>(watched); bar && !bar->currentMessage().isEmpty()) {
                messages << bar->currentMessage();
                const QCursor *cursor = QGuiApplication::overrideCursor();
                cursors << (cursor ? int(cursor->shape()) : -1);
            }
        return false;
    }
};

/// The database file of a start with default folders.
QString defaultDbfName()
{
    QCoreApplication::setApplicationName(QStringLiteral("Fenwarra"));
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Fenwarra.mdb");
}

/// The settings a start reads: the test's database folder and a link mode.
void saveStartSettings(const TestEnv &env, const QString &linked)
{
    Settings::save("Paths", "DBFPath", env.dbfPath());
    Settings::save("LinkData", "Linked", linked);
}

/// The two linked starts, by the link mode the partner sets.
void linkedModeRows()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("new case") << "1";
    QTest::newRow("waiting for a record number") << "2";
}

bool isYellow(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) > 170 && qBlue(c) < 120;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void firstStart();
    void settingsAreRead();
    void optionsOutOfRangeAreReadAsAllowed_data();
    void optionsOutOfRangeAreReadAsAllowed();
    void linkModes_data();
    void linkModes();
    void unknownLinkModeStartsNormally_data();
    void unknownLinkModeStartsNormally();
    void foreignDatabaseIsReportedAndLeftAlone();
    void readOnlyRegisterIsWarnedOnce_data();
    void readOnlyRegisterIsWarnedOnce();
    void failedUpgradeIsShownOnce();
    void normalStartPaintsTheFrameBeforeMakingTheDatabase();
    void lockedDatabaseShowsTheWaitThenSaysSo();
    void missingSharedDatabaseIsReportedNotMade_data();
    void missingSharedDatabaseIsReportedNotMade();
    void linkedStartMakesTheDatabaseBeforeTheFrame();
    void killedLinkedStartIsFollowedByAnOrdinaryStart_data();
    void killedLinkedStartIsFollowedByAnOrdinaryStart();
    void unreachableLinkIsToldAtStartUp_data();
    void unreachableLinkIsToldAtStartUp();
    void splashControls();
    void splashDrawsStepByStep();
    void splashInLinkMode1();
    void splashInLinkMode2();
};

void StartupTest::firstStart()
{
    TestEnv env(false);
    TemporaryHome home;
    ScriptedPrompt prompt;
    resetApp(); // as the program starts: nothing known yet
    FrameOwner owner;
    const SplashSeen seen = runMain();

    QVERIFY(seen.found);
    QCOMPARE(seen.version, QStringLiteral("Version 3.0.0 NW"));
    QCOMPARE(seen.product, QStringLiteral("Fenwarra"));
    QVERIFY(seen.frameVisibleWhileSplash);
    QCOMPARE(seen.ticks, 7);

    frmMain *frame = frmMain::instance();
    QVERIFY(frame && frame->isVisible());
    QCOMPARE(frame->windowTitle(), QStringLiteral("Fenwarra 3.0.0 NW"));
    for (int i = 1; i <= 10; ++i)
        QCOMPARE(frame->recentCaption(i), QStringLiteral("?"));
    QVERIFY(frame->findChild<QAction *>(QStringLiteral("NetWorkFW"))->isEnabled());

    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/');
    QVERIFY(dataHome.startsWith(home.dir.path()));
    QCOMPARE(App().EditionTag, QStringLiteral("NW"));
    QCOMPARE(QDir(App().AppPath).canonicalPath(), QDir(ClinicDb::dataDir()).canonicalPath());
    QVERIFY(App().AppPath.endsWith(QLatin1Char('/')));
    QCOMPARE(App().DBFPath, dataHome);
    QCOMPARE(App().DBFName, dataHome + QStringLiteral("Fenwarra.mdb"));
    QCOMPARE(App().HelpFilePath, App().AppPath + QStringLiteral("FW2P0.hlp"));
    QCOMPARE(App().Linked, QStringLiteral("0"));
    QCOMPARE(App().PrintOption, QStringLiteral("1"));
    QCOMPARE(App().LegendCheck, QStringLiteral("1"));
    QCOMPARE(App().SymbolCheck, QStringLiteral("1"));
    QCOMPARE(App().BackColour, QStringLiteral("3"));
    // The first start made the user's database, ready to use.
    QVERIFY(ClinicDb::isFenwarraDatabase(App().DBFName));
    QCOMPARE(prompt.count(), 0);
    ClinicDb::closeAll();
}

void StartupTest::settingsAreRead()
{
    TestEnv env;
    ScriptedPrompt prompt;
    Settings::save("Paths", "AppPath", env.appPath());
    Settings::save("Paths", "DBFPath", env.dbfPath());
    Settings::save("Options", "PrintOption", "0");
    Settings::save("Options", "LegendCheck", "0");
    Settings::save("Options", "SymbolCheck", "0");
    Settings::save("Options", "BackColour", "12");
    Settings::save("Recent", "C1", "Case# 4, Rex Smith");
    Settings::save("Recent", "C3", "Case# 2, Tib Jones");
    Settings::save("Settings", "MainWidth", "9000");
    FrameOwner owner;
    runMain();

    QCOMPARE(App().AppPath, env.appPath());
    QCOMPARE(App().DBFPath, env.dbfPath());
    QCOMPARE(App().DBFName, env.dbfPath() + QStringLiteral("Fenwarra.mdb"));
    QCOMPARE(App().HelpFilePath, env.appPath() + QStringLiteral("FW2P0.hlp"));
    QCOMPARE(App().PrintOption, QStringLiteral("0"));
    QCOMPARE(App().LegendCheck, QStringLiteral("0"));
    QCOMPARE(App().SymbolCheck, QStringLiteral("0"));
    QCOMPARE(App().BackColour, QStringLiteral("12"));
    frmMain *frame = frmMain::instance();
    QCOMPARE(frame->recentCaption(1), QStringLiteral("Case# 4, Rex Smith"));
    QCOMPARE(frame->recentCaption(2), QStringLiteral("?"));
    QCOMPARE(frame->recentCaption(3), QStringLiteral("Case# 2, Tib Jones"));
    QCOMPARE(frame->width(), 600);
    QCOMPARE(prompt.count(), 0);
}

// A hand-edited option that names no allowed value is read as its default,
// or a colour beyond the palette as the nearest one, so that no case window
// or handout fails because of it.
void StartupTest::optionsOutOfRangeAreReadAsAllowed_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("read");
    QTest::newRow("colour too large to read") << "BackColour"
                                              << "1e400"
                                              << "3";
    QTest::newRow("colour above the palette") << "BackColour"
                                              << "99"
                                              << "15";
    QTest::newRow("colour below the palette") << "BackColour"
                                              << "-4"
                                              << "0";
    QTest::newRow("colour no number") << "BackColour"
                                      << "teal"
                                      << "3";
    QTest::newRow("colour as the options write it") << "BackColour"
                                                    << " 12"
                                                    << " 12";
    QTest::newRow("printing too large to read") << "PrintOption"
                                                << "1e400"
                                                << "1";
    QTest::newRow("printing neither 0 nor 1") << "PrintOption"
                                              << "7"
                                              << "1";
    QTest::newRow("printing 0 after a blank") << "PrintOption"
                                              << " 0"
                                              << "0";
    QTest::newRow("legend neither 0 nor 1") << "LegendCheck"
                                            << "2"
                                            << "1";
    QTest::newRow("symbols too large to read") << "SymbolCheck"
                                               << "-1e400"
                                               << "1";
}

void StartupTest::optionsOutOfRangeAreReadAsAllowed()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, read);
    TestEnv env;
    ScriptedPrompt prompt;
    Settings::save("Paths", "DBFPath", env.dbfPath());
    Settings::save("Options", key, stored);
    FrameOwner owner;
    runMain();
    const QHash<QString, QString> options{{"BackColour", App().BackColour},
                                          {"PrintOption", App().PrintOption},
                                          {"LegendCheck", App().LegendCheck},
                                          {"SymbolCheck", App().SymbolCheck}};
    QCOMPARE(options.value(key), read);
    // The setting itself is left as the user wrote it.
    QCOMPARE(Settings::get("Options", key), stored);
    QCOMPARE(prompt.count(), 0);
}

void StartupTest::linkModes_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("mode");
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("2") << "2" << 2;
    QTest::newRow("blank before") << " 1" << 1;
    QTest::newRow("7") << "7" << 0;
    QTest::newRow("-1") << "-1" << 0;
    QTest::newRow("1.5") << "1.5" << 0;
    QTest::newRow("abc") << "abc" << 0;
    QTest::newRow("1abc") << "1abc" << 0;
    QTest::newRow("empty") << "" << 0;
}

void StartupTest::linkModes()
{
    QFETCH(QString, setting);
    QFETCH(int, mode);
    QCOMPARE(frmSplash::linkMode(setting), mode);
}

void StartupTest::unknownLinkModeStartsNormally_data()
{
    QTest::addColumn<QString>("setting");
    QTest::newRow("7") << "7";
    QTest::newRow("abc") << "abc";
}

void StartupTest::unknownLinkModeStartsNormally()
{
    QFETCH(QString, setting);
    TestEnv env;
    ScriptedPrompt prompt;
    saveStartSettings(env, setting);
    FrameOwner owner;
    const SplashSeen seen = runMain();
    QCOMPARE(App().Linked, QStringLiteral("0"));
    // A normal start: the whole picture is drawn and the frame is shown.
    QCOMPARE(seen.ticks, 7);
    QVERIFY(frmMain::instance()->isVisible());
    QCOMPARE(prompt.count(), 0);
}

void StartupTest::foreignDatabaseIsReportedAndLeftAlone()
{
    TestEnv env(false);
    ScriptedPrompt prompt;
    const QByteArray foreign("This is somebody's spreadsheet, not a database.\n");
    {
        QFile f(env.dbfPath() + QStringLiteral("Fenwarra.mdb"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(foreign);
    }
    Settings::save("Paths", "DBFPath", env.dbfPath());
    FrameOwner owner;
    const SplashSeen seen = runMain();

    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().icon, Prompt::Icon::Critical);
    QCOMPARE(prompt.last().title, QStringLiteral("Message from the Fenwarra"));
    QVERIFY(!prompt.last().text.isEmpty());
    // The program runs on, and the file is untouched.
    QCOMPARE(seen.ticks, 7);
    QVERIFY(frmMain::instance()->isVisible());
    QFile f(env.dbfPath() + QStringLiteral("Fenwarra.mdb"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), foreign);
    FW_VERIFY_PROMPTS(prompt);
}

void StartupTest::readOnlyRegisterIsWarnedOnce_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("opened read-only") << int(ReadOnlyRegister::OpenedReadOnly);
    QTest::newRow("file read-only") << int(ReadOnlyRegister::FileReadOnly);
    QTest::newRow("folder read-only") << int(ReadOnlyRegister::FolderReadOnly);
}

// The program runs on so that a nurse can look at the records, and says once,
// at start-up, that nothing can be saved and what to do about it; a file of an
// earlier version is not upgraded, which would fail with a second message.
void StartupTest::readOnlyRegisterIsWarnedOnce()
{
    QFETCH(int, kind);
    const auto how = ReadOnlyRegister::Kind(kind);
    if (!ReadOnlyRegister::skipReason(how).isEmpty())
        QSKIP(qPrintable(ReadOnlyRegister::skipReason(how)));
    TestEnv env;
    ScriptedPrompt prompt;
    CaseBuilder().breed("Labrador").range(20, 25).history("24.0;").lastWeighed("2024-03-01").add();
    ClinicDb::exec(env.db(), QStringLiteral("PRAGMA user_version = 1"));
    Settings::save("Paths", "DBFPath", env.dbfPath());
    const QString path = env.dbfPath() + QStringLiteral("Fenwarra.mdb");
    ReadOnlyRegister readOnly(path, how);
    FrameOwner owner;
    const SplashSeen seen = runMain();

    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().text, ClinicDb::readOnlyWarning(path));
    QVERIFY(prompt.last().text.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(prompt.last().icon, Prompt::Icon::Exclamation);
    QCOMPARE(prompt.last().title, QStringLiteral("Message from the Fenwarra"));
    QCOMPARE(seen.ticks, 7);
    QVERIFY(frmMain::instance()->isVisible());
    QCOMPARE(ClinicDb::scalar(ClinicDb::connection(path), QStringLiteral("SELECT [Surname] FROM [Clients]")).toString(),
             QStringLiteral("Smith"));
    FW_VERIFY_PROMPTS(prompt);
}

// A file of an earlier version that cannot get this version's reference rows
// (here the shipped files lack them) opens as it was, and the user is told
// once, in a box of the program's own.
void StartupTest::failedUpgradeIsShownOnce()
{
    TestEnv env;
    ScriptedPrompt prompt;
    ClinicDb::exec(env.db(), QStringLiteral("PRAGMA user_version = 1"));
    ClinicDb::closeAll();
    QVERIFY(QFile::copy(ClinicDb::dataDir() + QStringLiteral("/schema.sql"), env.appPath() + "schema.sql"));
    Settings::save("Paths", "AppPath", env.appPath());
    Settings::save("Paths", "DBFPath", env.dbfPath());
    FrameOwner owner;
    const SplashSeen seen = runMain();

    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().icon, Prompt::Icon::Exclamation);
    QCOMPARE(prompt.last().title, QStringLiteral("Message from the Fenwarra"));
    QVERIFY2(prompt.last().text.contains("has not been changed"), qPrintable(prompt.last().text));
    QCOMPARE(seen.ticks, 7);
    QVERIFY(frmMain::instance()->isVisible());
    QCOMPARE(ClinicDb::scalar(ClinicDb::connection(App().DBFName), QStringLiteral("PRAGMA user_version")).toInt(), 1);
    FW_VERIFY_PROMPTS(prompt);
}

// The frame comes up first; the database is made right after the frame's
// first paint, while the splash is still drawing.
void StartupTest::normalStartPaintsTheFrameBeforeMakingTheDatabase()
{
    TestEnv env(false);
    TemporaryHome home;
    ScriptedPrompt prompt;
    FirstPaintProbe probe(defaultDbfName());
    FrameOwner owner;
    const SplashSeen seen = runMain(&probe);

    QVERIFY(probe.painted);
    QVERIFY(!probe.databaseThen);
    QVERIFY(seen.databaseWhileSplash);
    QCOMPARE(seen.ticks, 7);
    QVERIFY(ClinicDb::isFenwarraDatabase(App().DBFName));
    QCOMPARE(prompt.count(), 0);
}

// Another workstation holds the register locked for longer than the program
// waits: the frame shows a busy cursor and says in its status bar what it
// waits for, then the user is told in plain words, once; afterwards the
// cursor and the status bar are as before.
void StartupTest::lockedDatabaseShowsTheWaitThenSaysSo()
{
    TestEnv env;
    ScriptedPrompt prompt;
    Settings::save("Paths", "DBFPath", env.dbfPath());
    ClinicDb::closeAll();
    ClinicDb::setLockWait(700);
    SteppingWaitClock clock;
    LockHolder holder(App().DBFName, "exclusive");
    QVERIFY(holder.locked());
    StatusPaints paints;
    FrameOwner owner;
    const SplashSeen seen = runMain();
    QCoreApplication::processEvents();

    // One wait, not one at every step of the start.
    QVERIFY2(clock.now() >= 700 && clock.now() < 2 * 700, qPrintable(QString::number(clock.now())));
    QCOMPARE(seen.ticks, 7);
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().icon, Prompt::Icon::Critical);
    QCOMPARE(prompt.last().text, ClinicDb::lockedText(App().DBFName));
    QVERIFY(!paints.messages.isEmpty());
    QCOMPARE(paints.messages.first(),
             QStringLiteral("Waiting for another workstation to finish writing to the case register %1...")
                 .arg(QDir::toNativeSeparators(QFileInfo(App().DBFName).absoluteFilePath())));
    QCOMPARE(paints.cursors.first(), int(Qt::WaitCursor));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(frmMain::instance()->statusBar()->currentMessage(), QString());
    FW_VERIFY_PROMPTS(prompt);

    // Once the other workstation is done, the register is there as before.
    holder.release();
    QVERIFY(ClinicDb::connection(App().DBFName).isOpen());
}

// A database folder other than the default one (a network share that is not
// mounted, or mounted without the file): the missing file is reported with
// the way out, and no empty database is made in its place.
void StartupTest::missingSharedDatabaseIsReportedNotMade_data()
{
    QTest::addColumn<bool>("folderThere");
    QTest::newRow("share not mounted") << false;
    QTest::newRow("folder without the file") << true;
}

void StartupTest::missingSharedDatabaseIsReportedNotMade()
{
    QFETCH(bool, folderThere);
    TestEnv env(false);
    TemporaryHome home;
    ScriptedPrompt prompt;
    const QString share = env.dbfPath() + QStringLiteral("practice-share/");
    if (folderThere)
        QVERIFY(QDir().mkpath(share));
    Settings::save("Paths", "DBFPath", share);
    FrameOwner owner;
    const SplashSeen seen = runMain();

    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().icon, Prompt::Icon::Critical);
    QCOMPARE(prompt.last().text, ClinicDb::missingText(share + QStringLiteral("Fenwarra.mdb")));
    // The program runs on, so that the user can choose the database.
    QCOMPARE(seen.ticks, 7);
    QVERIFY(frmMain::instance()->isVisible());
    QCOMPARE(QFileInfo::exists(share), folderThere);
    QVERIFY(!QFileInfo::exists(share + QStringLiteral("Fenwarra.mdb")));
    QVERIFY(!QFileInfo::exists(defaultDbfName()));
    FW_VERIFY_PROMPTS(prompt);
}

// A linked start goes straight on to a case: its database is ready before the
// frame is painted (link mode 1 shows the frame with a new case begun; link
// mode 2 keeps it hidden until the case is known).
void StartupTest::linkedStartMakesTheDatabaseBeforeTheFrame()
{
    TestEnv env(false);
    TemporaryHome home;
    ScriptedPrompt prompt;
    Settings::save("LinkData", "Linked", "1");
    FirstPaintProbe probe(defaultDbfName());
    FrameOwner owner;
    const SplashSeen seen = runMain(&probe);

    QVERIFY(probe.painted);
    QVERIFY(probe.databaseThen);
    QCOMPARE(seen.ticks, 1);
    QVERIFY(ClinicDb::isFenwarraDatabase(App().DBFName));
    QCOMPARE(prompt.count(), 0);
}

void StartupTest::killedLinkedStartIsFollowedByAnOrdinaryStart_data()
{
    linkedModeRows();
}

// A linked run that ends without Exit (killed, the session logged out): the
// next start, from the desktop, is an ordinary one.
void StartupTest::killedLinkedStartIsFollowedByAnOrdinaryStart()
{
    QFETCH(QString, mode);
    TestEnv env;
    ScriptedPrompt prompt;
    saveStartSettings(env, mode);
    {
        FrameOwner linkedRun;
        const SplashSeen seen = runMain();
        QCOMPARE(seen.ticks, 1);
        QCOMPARE(App().Linked, mode);
        QCOMPARE(Settings::get("LinkData", "Linked"), QStringLiteral("0"));
    } // ended without Exit

    FrameOwner owner;
    const SplashSeen seen = runMain();
    QCOMPARE(App().Linked, QStringLiteral("0"));
    QCOMPARE(seen.ticks, 7);
    QVERIFY(frmMain::instance()->isVisible());
    QVERIFY(!frmMain::instance()->findChild<CaseDetails *>());
    QVERIFY(!frmMain::instance()->findChild<frmLink *>());
    FW_VERIFY_PROMPTS(prompt);
}

void StartupTest::unreachableLinkIsToldAtStartUp_data()
{
    linkedModeRows();
}

// No private folder for the link's socket: the linked start runs on without
// it and says so, rather than leave the partner's tool to wait in vain.
void StartupTest::unreachableLinkIsToldAtStartUp()
{
    QFETCH(QString, mode);
    TestEnv env;
    ScriptedPrompt prompt;
    saveStartSettings(env, mode);

    // Both places for the socket may be entered by other users.
    QTemporaryDir open;
    const QFileDevice::Permissions shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                            QFileDevice::ReadOther | QFileDevice::ExeOther;
    QVERIFY(QFile::setPermissions(open.path(), shared));
    const QString ownFolder = open.path() + QStringLiteral("/fenwarra-%1").arg(::geteuid());
    QVERIFY(QDir().mkdir(ownFolder));
    QVERIFY(QFile::setPermissions(ownFolder, shared));
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedTemp = qgetenv("TMPDIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open.path()));
    qputenv("TMPDIR", QFile::encodeName(open.path()));
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
        if (savedTemp.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", savedTemp);
    });

    FrameOwner owner;
    const SplashSeen seen = runMain();
    QCOMPARE(seen.ticks, 1);
    QCOMPARE(Link::state(), Link::State::Failed);
    QVERIFY(Link::stateDescription().contains(ownFolder));
    QCOMPARE(prompt.texts(), QStringList{Link::unreachableMessage(Link::stateDescription(), mode == "1")});
    QCOMPARE(prompt.last().icon, Prompt::Icon::Exclamation);
    // The start goes on without the link: the new case can be typed in, or
    // the waiting window closed.
    if (mode == "1")
        QVERIFY(frmMain::instance()->findChild<CaseDetails *>()->isVisible());
    else
        QVERIFY(frmMain::instance()->findChild<frmLink *>()->isVisible());
    FW_VERIFY_PROMPTS(prompt);
}

void StartupTest::splashControls()
{
    TestEnv env;
    ScriptedPrompt prompt;
    frmMain frame;
    frmSplash splash(&frame);
    splash.Form_Load();
    for (const char *name :
         {"fraMainFrame", "Shape2", "lblProductName", "lblVersion", "lblPlatform", "Line1", "Line2", "Line3", "Line4",
          "Line5(1)", "Line5(2)", "Line5(3)", "Line5(4)", "Line5(5)", "Line5(6)", "Shape1", "Label1"})
        QVERIFY2(splash.findChild<QWidget *>(QLatin1String(name)), name);
    auto *timer = splash.findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 600);
    QCOMPARE(splash.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Version 3.0.0 NW"));
    QCOMPARE(splash.findChild<QLabel *>(QStringLiteral("lblProductName"))->text(), QStringLiteral("Fenwarra"));
    QCOMPARE(splash.findChild<QLabel *>(QStringLiteral("lblPlatform"))->text(), QStringLiteral("For Linux"));
    QCOMPARE(splash.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Sucess!"));
    QCOMPARE(splash.SplashStep, qint16(0));
}

// The picture as the user sees it: after each tick one more yellow segment,
// checked at the middle of every segment of the rendered window.
void StartupTest::splashDrawsStepByStep()
{
    TestEnv env;
    ScriptedPrompt prompt;
    frmMain frame;
    frmSplash splash(&frame);
    splash.Form_Load();
    QVERIFY(frame.isVisible());
    splash.show();
    splash.findChild<QTimer *>(QStringLiteral("Timer1"))->stop(); // the test gives the ticks

    // Segment ends in twips; 15 twips to the pixel.
    const QPoint ends[7] = {{240, 1920},  {720, 2520},  {1560, 2400}, {2400, 2520},
                            {3240, 2760}, {4080, 2760}, {4680, 3120}};
    auto drawn = [&](const QImage &image) {
        QList<bool> out;
        for (int i = 0; i < 6; ++i) {
            const QPoint mid = (ends[i] + ends[i + 1]) / 30;
            out << isYellow(image.pixel(mid));
        }
        return out;
    };
    QCOMPARE(drawn(splash.grab().toImage()), QList<bool>(6, false));
    for (int step = 1; step <= 6; ++step) {
        splash.Timer1_Timer();
        QCOMPARE(splash.SplashStep, qint16(step));
        QList<bool> expected;
        for (int i = 1; i <= 6; ++i)
            expected << (i <= step);
        QCOMPARE(drawn(splash.grab().toImage()), expected);
        QCOMPARE(splash.findChild<QWidget *>(QStringLiteral("Label1"))->isVisible(), step == 6);
        QCOMPARE(splash.findChild<QWidget *>(QStringLiteral("Shape1"))->isVisible(), step == 6);
        QVERIFY(splash.isVisible());
    }
    splash.Timer1_Timer();
    QCOMPARE(splash.SplashStep, qint16(7));
    QVERIFY(!splash.isVisible());
    QVERIFY(frame.isVisible());
}

void StartupTest::splashInLinkMode1()
{
    TestEnv env;
    ScriptedPrompt prompt;
    App().Linked = QStringLiteral("1");
    frmMain frame;
    QSignalSpy hidden1(&frame, &frmMain::hidden1Pressed);
    frmSplash splash(&frame);
    splash.Form_Load();
    QVERIFY(frame.isVisible());
    QCOMPARE(hidden1.count(), 1);
    splash.show();
    splash.Timer1_Timer();
    QVERIFY(!splash.isVisible());
    QVERIFY(splash.findChild<QWidget *>(QStringLiteral("Line5(1)"))->isHidden());
    QCOMPARE(hidden1.count(), 1);
    QCOMPARE(prompt.count(), 0);
}

void StartupTest::splashInLinkMode2()
{
    TestEnv env;
    ScriptedPrompt prompt;
    App().Linked = QStringLiteral("2");
    frmMain frame;
    QSignalSpy hidden1(&frame, &frmMain::hidden1Pressed);
    frmSplash splash(&frame);
    splash.Form_Load();
    splash.show();
    splash.Timer1_Timer();
    QVERIFY(!splash.isVisible());
    QCOMPARE(hidden1.count(), 0);
    // The link window waits with the frame hidden; closing it shows the frame.
    QPointer<frmLink> link = frame.findChild<frmLink *>();
    QVERIFY(link && link->isVisible());
    QVERIFY(!frame.isVisible());
    link->close();
    QVERIFY(frame.isVisible());
    QCOMPARE(prompt.count(), 0);
}

FW_TEST(StartupTest)
#include "tst_Startup.moc"
