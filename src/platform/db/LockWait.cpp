// Waiting for another workstation's lock.
//
// SQLite's own busy timeout waits silently: the window froze for as long as
// another workstation held the lock, once per statement. The program's own
// wait tells the program when it begins (a busy cursor and a status text),
// gives up after lockWait(), and spends that time once per turn of the event
// loop: when one wait has given up, the further statements of the same user
// step give up at once instead of freezing the window again. The handlers
// that show the wait are the window's; the clock it is measured by may be a
// test's own.
#include "platform/db/ClinicDb.h"

#include "platform/db/ClinicDbInternal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QThread>

#include <iterator>

namespace ClinicDb {

namespace {

int &lockWaitMs()
{
    static int ms = 5000;
    return ms;
}

// The window shows that the program waits once it has waited this long.
constexpr int kShowWaitAfterMs = 150;

struct WaitTurn {
    bool shown = false;  // the started handler was called in this turn
    bool gaveUp = false; // a wait gave up in this turn
    bool endQueued = false;
};

WaitTurn &waitTurn()
{
    static WaitTurn turn;
    return turn;
}

WaitHandlers &handlers()
{
    static WaitHandlers h;
    return h;
}

bool onInterfaceThread()
{
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

// When the event loop runs again, the step that waited is over.
void endTurnLater()
{
    WaitTurn &turn = waitTurn();
    if (turn.endQueued)
        return;
    turn.endQueued = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            const bool shown = waitTurn().shown;
            waitTurn() = WaitTurn();
            if (shown && handlers().ended)
                handlers().ended();
        },
        Qt::QueuedConnection);
}

// The file each connection's wait names; they live as long as the program.
const QString *waitName(const QString &path)
{
    static QHash<QString, QString> names;
    auto it = names.find(path);
    if (it == names.end())
        it = names.insert(path, path);
    return &it.value();
}

WaitClock &waitClock()
{
    static WaitClock clock;
    return clock;
}

qint64 waitClockNow()
{
    if (waitClock())
        return waitClock()();
    static QElapsedTimer steady;
    if (!steady.isValid())
        steady.start();
    return steady.elapsed();
}

int busyHandler(void *file, int count)
{
    // One start per wait: SQLite counts the calls of one wait from 0.
    static qint64 waitStarted = 0;
    if (count == 0)
        waitStarted = waitClockNow();
    const bool interfaceThread = onInterfaceThread();
    WaitTurn &turn = waitTurn();
    if (interfaceThread && turn.gaveUp)
        return 0;
    const qint64 elapsed = waitClockNow() - waitStarted;
    if (elapsed >= lockWaitMs()) {
        if (interfaceThread) {
            turn.gaveUp = true;
            endTurnLater();
        }
        return 0;
    }
    if (interfaceThread && !turn.shown && elapsed >= kShowWaitAfterMs) {
        turn.shown = true;
        endTurnLater();
        if (handlers().started)
            handlers().started(*static_cast<const QString *>(file));
    }
    // Short sleeps first: most locks are held for a few milliseconds.
    static const int delays[] = {1, 2, 5, 10, 15, 20};
    const int delay = count < int(std::size(delays)) ? delays[count] : 25;
    QThread::msleep(ulong(qBound(qint64(1), qint64(lockWaitMs()) - elapsed, qint64(delay))));
    return 1;
}

} // namespace

void installBusyHandler(const QSqlDatabase &db, const QString &path)
{
    const SqliteApi &api = sqliteApi();
    if (!api.busyHandler)
        return;
    if (FwSqlite *sqlite = sqliteHandle(db))
        api.busyHandler(sqlite, &busyHandler, const_cast<QString *>(waitName(path)));
}

int lockWait()
{
    return lockWaitMs();
}

void setLockWait(int ms)
{
    lockWaitMs() = ms;
}

void setWaitClock(const WaitClock &clock)
{
    waitClock() = clock;
}

void setWaitHandlers(const WaitHandlers &h)
{
    handlers() = h;
}

WaitHandlers waitHandlers()
{
    return handlers();
}

} // namespace ClinicDb
