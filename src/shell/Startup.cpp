#include "shell/Startup.h"

#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/WriteAccess.h"
#include "platform/link/LinkServer.h"
#include "platform/prompt/Prompt.h"
#include "platform/settings/Settings.h"
#include "platform/state/AppState.h"
#include "platform/state/LinkMode.h"
#include "platform/text/NumberText.h"
#include "shell/FramePaintedMarker.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QPointer>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

#include <functional>

namespace {

/// A folder text as the program keeps it: ending in "/".
QString withSlash(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

/// The shipped files (help, sounds, start page) lie in the data folder of the
/// build tree or of the installation.
QString defaultAppPath()
{
    return withSlash(ClinicDb::dataDir());
}

/// The database lives in the user's own data folder unless the settings say
/// otherwise.
QString defaultDbfPath()
{
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

/// A start-up step that waits for the frame's first paint, so that the frame
/// is on the screen before the step's work is done. It runs once: after that
/// paint, or earlier when runNow() is called.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget *frame, std::function<void()> step)
        : QObject(frame), m_frame(frame), m_step(std::move(step))
    {
        qApp->installEventFilter(this);
    }

    void runNow()
    {
        if (!m_step)
            return;
        qApp->removeEventFilter(this);
        const std::function<void()> step = std::move(m_step);
        m_step = nullptr;
        step();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_step && !m_queued && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == m_frame) {
            m_queued = true;
            // After the paint, not inside it: the step may show a message box.
            QMetaObject::invokeMethod(
                this, [this] { runNow(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget *m_frame;
    std::function<void()> m_step;
    bool m_queued = false;
};

/// A case register this user cannot write still opens, so that a nurse can
/// look at the records; they are told so now, once, rather than by the first
/// save that fails.
void warnWhenReadOnly()
{
    runGuarded([] {
        if (!ClinicDb::isWritable(ClinicDb::connection(App().DBFName)))
            Prompt::Message(ClinicDb::readOnlyWarning(App().DBFName), Prompt::Icon::Exclamation);
    });
}

/// A linked start whose socket could not be made runs on without it; the
/// partner's tool could only wait in vain, so the user is told now.
void warnWhenLinkUnreachable()
{
    const LinkMode mode = currentLinkMode();
    if (mode == LinkMode::Normal || Link::state() != Link::State::Failed)
        return;
    Prompt::Message(Link::unreachableMessage(Link::stateDescription(), mode == LinkMode::NewCase),
                    Prompt::Icon::Exclamation);
}

/// The database is created on the first start, so the program works at once,
/// but only in the user's own default folder: anywhere else (a shared folder
/// on a share that is not mounted) a missing file is reported, never replaced
/// by an empty one. A file that is not a Fenwarra database is left alone and
/// reported; the program runs on so that the user can point it at the right
/// one.
// The chart options are read as the program can use them: a hand-edited
// value that names no allowed one ("1e400", "teal", "7") must not make every
// case window or handout fail. A switch that is neither 0 nor 1 is read as
// its default; a colour index beyond the palette as its nearest colour, and
// one that is no number as the default colour.
QString switchOption(const QString &key, const QString &defaultValue)
{
    const QString text = Settings::get(QStringLiteral("Options"), key, defaultValue);
    if (NumText::IsNumeric(text)) {
        const double value = NumText::Val(text);
        if (value == 0 || value == 1)
            return value == 0 ? QStringLiteral("0") : QStringLiteral("1");
    }
    return defaultValue;
}

QString colourOption()
{
    constexpr int kLastColour = 15;
    const QString defaultValue = QStringLiteral("3");
    const QString text = Settings::get(QStringLiteral("Options"), QStringLiteral("BackColour"), defaultValue);
    if (!NumText::IsNumeric(text))
        return defaultValue;
    const double value = NumText::Val(text);
    if (value < 0)
        return QStringLiteral("0");
    if (value > kLastColour)
        return QString::number(kLastColour);
    return text; // as the options wrote it (" 12")
}

void checkDatabase()
{
    const bool opened = runGuarded([] {
        if (QDir::cleanPath(App().DBFPath) == QDir::cleanPath(defaultDbfPath()))
            ClinicDb::createIfMissing(App().DBFName);
        ClinicDb::connection(App().DBFName);
    });
    if (opened)
        warnWhenReadOnly();
}

/// While a statement waits for another workstation's lock the window cannot
/// repaint itself: the busy cursor and the status text are drawn at once, and
/// taken away when the program is free again.
void showDatabaseWaits(frmMain *frame)
{
    const QPointer<frmMain> shownOn(frame);
    ClinicDb::WaitHandlers handlers;
    handlers.started = [shownOn](const QString &dbfName) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (shownOn)
            shownOn->statusBar()->showMessage(
                QStringLiteral("Waiting for another workstation to finish writing to the case register %1...")
                    .arg(QDir::toNativeSeparators(dbfName)));
        // Every visible window as it stands now: none can repaint itself
        // until the wait is over.
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows)
            if (window->isVisible())
                window->repaint();
    };
    handlers.ended = [shownOn] {
        QApplication::restoreOverrideCursor();
        if (shownOn)
            shownOn->statusBar()->clearMessage();
    };
    ClinicDb::setWaitHandlers(handlers);
}

/// A file of an earlier version that could not get this version's reference
/// rows still opens; the user is told so, and that it was left as it was.
void showFailedUpgrades()
{
    ClinicDb::setUpgradeFailedHandler([](const QString &text) { Prompt::Message(text, Prompt::Icon::Exclamation); });
}

bool benchmarkStart()
{
    return qEnvironmentVariableIntValue("FENWARRA_BENCH_QUIT_WHEN_SHOWN") == 1;
}

} // namespace

void Main()
{
    QApplication::setApplicationName(QStringLiteral("Fenwarra"));
    // The installed desktop entry's name, by which the desktop finds the
    // program's icon and name for its windows.
    QGuiApplication::setDesktopFileName(QStringLiteral(FENWARRA_APP_ID));

    // 1. The edition tag, which the frame's caption carries.
    App().EditionTag = QStringLiteral("NW");

    // 2. The frame, loaded but not shown; the database relocation is offered.
    auto *frame = new frmMain();
    Prompt::setParentWindow(frame);
    frame->enableNetWorkFW();
    showDatabaseWaits(frame);
    showFailedUpgrades();
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, frame, [frame] { delete frame; });

    // 3. The settings, each with its default.
    const QString appPathDefault = defaultAppPath();
    const QString dbfPathDefault = defaultDbfPath();
    App().AppPath = Settings::get(QStringLiteral("Paths"), QStringLiteral("AppPath"), appPathDefault);
    App().DBFPath = Settings::get(QStringLiteral("Paths"), QStringLiteral("DBFPath"), dbfPathDefault);
    if (App().DBFPath == dbfPathDefault)
        QDir().mkpath(dbfPathDefault);
    // A link mode the program does not know is a normal start.
    App().Linked = linkModeText(
        parseLinkMode(Settings::get(QStringLiteral("LinkData"), QStringLiteral("Linked"), QStringLiteral("0"))));
    App().PrintOption = switchOption(QStringLiteral("PrintOption"), QStringLiteral("1"));
    App().LegendCheck = switchOption(QStringLiteral("LegendCheck"), QStringLiteral("1"));
    App().SymbolCheck = switchOption(QStringLiteral("SymbolCheck"), QStringLiteral("1"));
    App().BackColour = colourOption();

    // Only one Fenwarra at a time waits for the practice-management program;
    // the partner's writes reach the one that waits already. This one says so
    // and ends, leaving the settings as they are.
    if (frmSplash::linkMode(App().Linked) != 0 && Link::heldElsewhere()) {
        Prompt::Message(Link::kHeldElsewhereMessage, Prompt::Icon::Critical);
        frame->endAtOnce();
        return;
    }

    // The link mode serves the one start the partner asked for. Read, it is
    // set back at once: a linked run that ends without Exit (a crash, a kill,
    // a logout) must not turn the next ordinary start into a linked one.
    if (currentLinkMode() != LinkMode::Normal)
        Settings::save(QStringLiteral("LinkData"), QStringLiteral("Linked"), linkModeText(LinkMode::Normal));

    // 4. The database and help file names.
    App().DBFName = App().DBFPath + ClinicDb::kFileName;
    App().HelpFilePath = App().AppPath + QStringLiteral("FW2P0.hlp");

    // Opening the database (SQLite, its driver, the check of the file) takes
    // a few milliseconds. A normal start shows its frame first and checks the
    // database right after the frame's first paint, while the splash is
    // drawing, and at the latest when the splash closes; the splash is modal,
    // so nothing can use the database before. A linked start goes straight on
    // to a case, so its database is made ready before the frame comes up.
    QPointer<AfterFirstPaint> databaseCheck = new AfterFirstPaint(frame, checkDatabase);
    if (currentLinkMode() != LinkMode::Normal)
        databaseCheck->runNow();

    // 5. The splash, modal; its load shows the frame (or the link window).
    frmSplash splash(frame);
    splash.Form_Load();
    warnWhenLinkUnreachable();
    if (benchmarkStart()) {
        // For timing the start: the splash's own 4.2 s are not waited for;
        // the steps that wait for the first paint still run, and the program
        // leaves once the frame's last paint has ended.
        new FramePaintedMarker(
            frame,
            [databaseCheck] {
                if (databaseCheck)
                    databaseCheck->runNow();
            },
            [] { QCoreApplication::exit(0); });
        frame->update();
        return;
    }
    splash.exec();
    if (databaseCheck)
        databaseCheck->runNow();
}
