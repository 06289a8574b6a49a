// fenwarra-link: the command-line tool with which a practice-management
// program sets Fenwarra's link mode, starts Fenwarra and writes items into
// its windows. It runs as the same user as Fenwarra and talks to it through
// that user's private link socket (see platform/link/LinkProtocol.h).
#include "platform/link/LinkClient.h"
#include "platform/link/LinkProtocol.h"
#include "platform/settings/Settings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QThread>

#include <cstdio>

namespace {

enum Exit { Done = 0, BadArguments = 1, ModeNotSaved = 2, NotStarted = 3, NotReached = 4, Refused = 5 };

constexpr int kDefaultWaitSeconds = 30;
constexpr int kMaxWaitSeconds = 3600;
constexpr int kRetryMs = 100;

const char kUsage[] = "Usage: fenwarra-link [--mode 0|1|2] [--start] [--wait SECONDS]\n"
                      "                     [--write TOPIC ITEM TEXT]...\n"
                      "\n"
                      "Links a practice-management program with Fenwarra, for the user who runs it.\n"
                      "\n"
                      "  --mode N      set the link mode that Fenwarra reads when it starts:\n"
                      "                  0  a normal start\n"
                      "                  1  begin a new case at once; the partner fills it in\n"
                      "                  2  wait for the client's record number over the link,\n"
                      "                     then open the case that carries it\n"
                      "  --start       start Fenwarra (the program installed beside this one)\n"
                      "  --write TOPIC ITEM TEXT\n"
                      "                write TEXT into ITEM of TOPIC of the running Fenwarra; may\n"
                      "                be given more than once, the writes are made in order\n"
                      "  --wait S      how long each write keeps trying while Fenwarra starts or\n"
                      "                its window opens, in seconds (default 30, at most 3600)\n"
                      "  --help        show this text\n"
                      "\n"
                      "The steps run in this order: mode, start, writes.\n"
                      "\n"
                      "Topics and items:\n"
                      "  frmLink HiddenText       the client's record number (link mode 2)\n"
                      "  CaseDetails HiddenText   the client's record number, stored with the new\n"
                      "                           case (link mode 1)\n"
                      "  CaseDetails SSurname, AnName, TelNo, SSpecies, BBreedK9, BBreedFel, SSex,\n"
                      "              DOB, Units, UpperWt, LowerWt, CurrWt, VetCom\n"
                      "                           the new case's boxes (link mode 1), each as the\n"
                      "                           user could type it\n"
                      "\n"
                      "Example: open the case of the client with record number 4711:\n"
                      "  fenwarra-link --mode 2 --start --write frmLink HiddenText 4711\n"
                      "\n"
                      "Exit status: 0 done; 1 wrong arguments; 2 the link mode could not be\n"
                      "saved; 3 Fenwarra could not be started; 4 Fenwarra could not be reached\n"
                      "in time; 5 Fenwarra refused a write.\n";

struct Write {
    QString topic;
    QString item;
    QString text;
};

struct Options {
    QString mode; // "" when not given
    bool start = false;
    int waitSeconds = kDefaultWaitSeconds;
    QList<Write> writes;
    bool help = false;
};

void say(const QString &text)
{
    std::fputs(("fenwarra-link: " + text + "\n").toLocal8Bit().constData(), stderr);
}

/// Read the arguments; an empty text when they are sound, else the reason.
QString parse(const QStringList &args, Options &o)
{
    if (args.isEmpty())
        return QStringLiteral("nothing to do");
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const qsizetype left = args.size() - i - 1;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--mode")) {
            if (left < 1)
                return QStringLiteral("--mode needs a value");
            o.mode = args[++i];
            if (o.mode != QLatin1String("0") && o.mode != QLatin1String("1") && o.mode != QLatin1String("2"))
                return QStringLiteral("the link mode must be 0, 1 or 2, not \"%1\"").arg(o.mode);
        } else if (a == QLatin1String("--start")) {
            o.start = true;
        } else if (a == QLatin1String("--wait")) {
            if (left < 1)
                return QStringLiteral("--wait needs a number of seconds");
            bool ok = false;
            o.waitSeconds = args[++i].toInt(&ok);
            if (!ok || o.waitSeconds < 0 || o.waitSeconds > kMaxWaitSeconds)
                return QStringLiteral("--wait takes a number of seconds from 0 to %1").arg(kMaxWaitSeconds);
        } else if (a == QLatin1String("--write")) {
            if (left < 3)
                return QStringLiteral("--write needs a topic, an item and a text");
            Write w{args[i + 1], args[i + 2], args[i + 3]};
            i += 3;
            const QString invalid = Link::checkWrite(w.topic, w.item, w.text);
            if (!invalid.isEmpty())
                return invalid;
            o.writes << w;
        } else {
            return QStringLiteral("unknown argument \"%1\"").arg(a);
        }
    }
    return QString();
}

int setMode(const QString &mode)
{
    const QString section = QStringLiteral("LinkData");
    const QString key = QStringLiteral("Linked");
    Settings::save(section, key, mode);
    if (Settings::get(section, key) != mode) {
        say(QStringLiteral("the link mode could not be saved in %1").arg(Settings::storeFile()));
        return ModeNotSaved;
    }
    return Done;
}

int startFenwarra()
{
    // The program beside this one, started directly: no shell reads its name.
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/fenwarra");
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable()) {
        say(QStringLiteral("Fenwarra cannot be started: %1 is not an executable program").arg(program));
        return NotStarted;
    }
    if (!QProcess::startDetached(program, QStringList())) {
        say(QStringLiteral("Fenwarra cannot be started: %1 did not run").arg(program));
        return NotStarted;
    }
    return Done;
}

/// Write one item, trying again while Fenwarra starts and opens its window.
int write(const Write &w, int waitSeconds)
{
    const QDeadlineTimer deadline(qint64(waitSeconds) * 1000);
    for (;;) {
        const qint64 left = deadline.remainingTime();
        const Link::WriteResult r =
            Link::writeItem(w.topic, w.item, w.text, int(qBound(qint64(1000), left, qint64(5000))));
        if (r.status == Link::WriteResult::Status::Ok)
            return Done;
        const QString what = QStringLiteral("%1 of %2").arg(w.item, w.topic);
        if (!r.retryable()) {
            if (r.status == Link::WriteResult::Status::Rejected) {
                say(QStringLiteral("Fenwarra refused the write of %1: %2").arg(what, r.description));
                return Refused;
            }
            say(QStringLiteral("%1 could not be written: %2").arg(what, r.description));
            return NotReached;
        }
        if (deadline.hasExpired()) {
            say(QStringLiteral("%1 could not be written within %2 s: %3")
                    .arg(what)
                    .arg(waitSeconds)
                    .arg(r.description));
            return NotReached;
        }
        QThread::msleep(quint64(qMin<qint64>(kRetryMs, qMax<qint64>(deadline.remainingTime(), 1))));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();

    Options o;
    const QString problem = parse(args, o);
    if (o.help) {
        std::fputs(kUsage, stdout);
        return Done;
    }
    if (!problem.isEmpty()) {
        say(problem);
        std::fputs(kUsage, stderr);
        return BadArguments;
    }

    if (!o.mode.isEmpty())
        if (const int rc = setMode(o.mode))
            return rc;
    if (o.start)
        if (const int rc = startFenwarra())
            return rc;
    for (const Write &w : o.writes)
        if (const int rc = write(w, o.waitSeconds))
            return rc;
    return Done;
}
