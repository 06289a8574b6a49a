#include "platform/FwError.h"
#include "platform/link/LinkProtocol.h"
#include "platform/link/LinkServer.h"
#include "platform/settings/Settings.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

/// What a topic's window received.
struct Received {
    QStringList items;
    QStringList texts;
};

std::unique_ptr<Link::Topic> offer(const QString &topic, const QStringList &items, Received &into)
{
    return std::make_unique<Link::Topic>(topic, items, [&into](const QString &item, const QString &text) {
        into.items << item;
        into.texts << text;
    });
}

/// A partner on the socket, driven from the test's own event loop (the
/// server runs on the same thread).
class Partner {
public:
    bool connect()
    {
        m_socket.connectToServer(Link::socketPath());
        return m_socket.waitForConnected(2000);
    }

    /// Send raw bytes and wait for one reply line (without its line feed).
    QByteArray send(const QByteArray &bytes)
    {
        m_socket.write(bytes);
        QDeadlineTimer deadline(5000);
        while (!m_socket.canReadLine() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QByteArray line = m_socket.readLine();
        line.chop(line.endsWith('\n') ? 1 : 0);
        return line;
    }

    bool closedByServer()
    {
        QDeadlineTimer deadline(3000);
        while (m_socket.state() != QLocalSocket::UnconnectedState && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return m_socket.state() == QLocalSocket::UnconnectedState;
    }

private:
    QLocalSocket m_socket;
};

QByteArray exchange(const QByteArray &bytes)
{
    Partner p;
    if (!p.connect())
        return "no connection";
    return p.send(bytes);
}

struct ToolRun {
    int exitCode = -1;
    QString errorText;
};

/// Run fenwarra-link while the event loop keeps serving the socket.
ToolRun runTool(const QStringList &args, const std::function<void()> &meanwhile = {})
{
    QProcess tool;
    tool.start(QStringLiteral(FENWARRA_LINK_TOOL), args);
    ToolRun run;
    if (!tool.waitForStarted(5000))
        return run;
    if (meanwhile)
        meanwhile();
    QDeadlineTimer deadline(20000);
    while (tool.state() != QProcess::NotRunning && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    tool.waitForFinished(100);
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.errorText = QString::fromLocal8Bit(tool.readAllStandardError());
    return run;
}

} // namespace

class LinkServerTest : public QObject {
    Q_OBJECT
private slots:
    void offeredTopicReceivesTheText()
    {
        TestEnv env(false);
        Received got;
        auto topic = offer("frmLink", {"HiddenText"}, got);
        QCOMPARE(Link::state(), Link::State::Listening);

        Partner p;
        QVERIFY(p.connect());
        const QString text = QString::fromUtf8("4711 Ångström\nsecond line");
        const QByteArray body = text.toUtf8();
        QCOMPARE(p.send("WRITE frmLink HiddenText " + QByteArray::number(body.size()) + "\n" + body), QByteArray("OK"));
        // The connection carries further requests; an empty text is a text.
        QCOMPARE(p.send("WRITE frmLink HiddenText 0\n"), QByteArray("OK"));
        QCOMPARE(got.items, QStringList({"HiddenText", "HiddenText"}));
        QCOMPARE(got.texts, QStringList({text, QString()}));
    }

    void badRequestsAreRefusedAndChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("code");
        QTest::newRow("topic not offered") << QByteArray("WRITE Nowhere HiddenText 4\n4711") << QByteArray("topic");
        QTest::newRow("topic offered no more") << QByteArray("WRITE Gone HiddenText 4\n4711") << QByteArray("topic");
        QTest::newRow("topic in other case") << QByteArray("WRITE frmlink HiddenText 4\n4711") << QByteArray("topic");
        QTest::newRow("item not listed") << QByteArray("WRITE frmLink Caption 4\n4711") << QByteArray("item");
        QTest::newRow("text too long") << QByteArray("WRITE frmLink HiddenText 4097\n") << QByteArray("size");
        QTest::newRow("absurd length") << QByteArray("WRITE frmLink HiddenText 99999999999999999999\n")
                                       << QByteArray("size");
        QTest::newRow("endless line") << QByteArray(300, 'W') << QByteArray("size");
        QTest::newRow("other verb") << QByteArray("READ frmLink HiddenText 4\n4711") << QByteArray("format");
        QTest::newRow("no length") << QByteArray("WRITE frmLink HiddenText\n4711") << QByteArray("format");
        QTest::newRow("signed length") << QByteArray("WRITE frmLink HiddenText -4\n4711") << QByteArray("format");
        QTest::newRow("two blanks") << QByteArray("WRITE frmLink  HiddenText 4\n4711") << QByteArray("format");
        QTest::newRow("widget path") << QByteArray("WRITE frmLink Frame1/Label1 4\n4711") << QByteArray("format");
        QTest::newRow("not UTF-8") << QByteArray("WRITE frmLink HiddenText 2\n\xC3\x28") << QByteArray("text");
        QTest::newRow("control character")
            << QByteArray("WRITE frmLink HiddenText 3\n4") + QByteArray(1, '\0') + QByteArray("1")
            << QByteArray("text");
    }
    void badRequestsAreRefusedAndChangeNothing()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, code);
        TestEnv env(false);
        Received got;
        auto topic = offer("frmLink", {"HiddenText"}, got);
        Received gone;
        offer("Gone", {"HiddenText"}, gone); // offered, then withdrawn at once

        Partner p;
        QVERIFY(p.connect());
        const QByteArray reply = p.send(request);
        QVERIFY2(reply.startsWith("ERR " + code + " "), reply.constData());
        QVERIFY(p.closedByServer());
        QVERIFY(got.texts.isEmpty());
        QVERIFY(gone.texts.isEmpty());
        // The program goes on serving.
        QCOMPARE(exchange("WRITE frmLink HiddenText 1\n7"), QByteArray("OK"));
        QCOMPARE(got.texts, QStringList({"7"}));
    }

    // Topic and item names are at most 64 characters long: the longest are
    // served, one character more is a malformed request, on the socket and in
    // the tool alike.
    void namesOfSixtyFourCharactersAtMost_data()
    {
        QTest::addColumn<int>("topicChars");
        QTest::addColumn<int>("itemChars");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("topic of 64") << 64 << 10 << QByteArray("OK");
        QTest::newRow("item of 64") << 10 << 64 << QByteArray("OK");
        QTest::newRow("both of 64") << 64 << 64 << QByteArray("OK");
        QTest::newRow("topic of 65") << 65 << 10 << QByteArray("ERR format");
        QTest::newRow("item of 65") << 10 << 65 << QByteArray("ERR format");
    }
    void namesOfSixtyFourCharactersAtMost()
    {
        QFETCH(int, topicChars);
        QFETCH(int, itemChars);
        QFETCH(QByteArray, reply);
        TestEnv env(false);
        const QString topicSent(topicChars, QLatin1Char('T'));
        const QString itemSent(itemChars, QLatin1Char('i'));
        // What is offered is at most 64 characters long: a name one longer
        // than that must be refused as malformed, not looked for.
        Received got;
        auto topic = offer(topicSent.left(64), {itemSent.left(64)}, got);

        const QByteArray answer = exchange(Link::encodeWrite(topicSent, itemSent, QStringLiteral("7")));
        QVERIFY2(answer.startsWith(reply), answer.constData());
        QCOMPARE(got.texts, reply == "OK" ? QStringList{"7"} : QStringList());
        QCOMPARE(Link::isValidName(topicSent) && Link::isValidName(itemSent), reply == "OK");
        QCOMPARE(Link::checkWrite(topicSent, itemSent, QStringLiteral("7")).isEmpty(), reply == "OK");
    }

    void aWindowThatRefusesTheTextSaysWhy()
    {
        TestEnv env(false);
        Link::Topic topic("CaseDetails", {"SSurname"}, [](const QString &, const QString &) {
            throw FwError(ErrNo::TypeMismatch, QStringLiteral("The case is being saved"));
        });
        QCOMPARE(exchange("WRITE CaseDetails SSurname 5\nSmith"), QByteArray("ERR refused The case is being saved"));
    }

    void tooManyConnectionsAtOnceAreTurnedAway()
    {
        TestEnv env(false);
        Received got;
        auto topic = offer("frmLink", {"HiddenText"}, got);
        // Eight idle partners are served; the ninth is told to try later.
        std::vector<std::unique_ptr<Partner>> idle;
        for (int i = 0; i < 8; ++i) {
            idle.push_back(std::make_unique<Partner>());
            QVERIFY(idle.back()->connect());
        }
        QCOMPARE(idle.back()->send("WRITE frmLink HiddenText 1\n8"), QByteArray("OK"));
        QVERIFY(exchange("WRITE frmLink HiddenText 1\n9").startsWith("ERR busy "));
        QCOMPARE(got.texts, QStringList({"8"}));
        idle.clear();
        QTRY_COMPARE(exchange("WRITE frmLink HiddenText 2\n10"), QByteArray("OK"));
    }

    void socketIsTheUsersAloneAndExistsOnlyWhileATopicIsOffered()
    {
        TestEnv env(false);
        const QString path = Link::socketPath();
        QVERIFY(!path.isEmpty());
        QCOMPARE(Link::state(), Link::State::Idle);
        {
            Received got;
            auto topic = offer("frmLink", {"HiddenText"}, got);
            struct stat st;
            QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
            QVERIFY(S_ISSOCK(st.st_mode));
            QCOMPARE(int(st.st_mode & (S_IRWXG | S_IRWXO)), 0);
            QCOMPARE(int(st.st_uid), int(::geteuid()));
        }
        QCOMPARE(Link::state(), Link::State::Idle);
        QVERIFY(!QFile::exists(path));
    }

    void aRuntimeFolderOthersMayEnterIsNotUsed()
    {
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        QTemporaryDir open;
        QVERIFY(QFile::setPermissions(open.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                       QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                       QFileDevice::ExeOther));
        QTemporaryDir temp; // where the fallback goes, removed afterwards
        const QByteArray savedTemp = qgetenv("TMPDIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open.path()));
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        const QString folder = Link::socketFolder();
        qputenv("XDG_RUNTIME_DIR", saved);
        if (savedTemp.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", savedTemp);

        QVERIFY(!folder.isEmpty());
        QVERIFY(folder.startsWith(temp.path() + "/"));
        struct stat st;
        QCOMPARE(::lstat(QFile::encodeName(folder).constData(), &st), 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(int(st.st_mode & 0777), 0700);
    }

    void aSocketLeftByACrashIsReplaced()
    {
        TestEnv env(false);
        const QByteArray path = QFile::encodeName(Link::socketPath());
        // A socket file nobody listens on any more.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
        ::close(fd);
        QVERIFY(QFile::exists(QString::fromLocal8Bit(path)));

        Received got;
        auto topic = offer("frmLink", {"HiddenText"}, got);
        QCOMPARE(Link::state(), Link::State::Listening);
        QCOMPARE(exchange("WRITE frmLink HiddenText 2\n12"), QByteArray("OK"));
        QCOMPARE(got.texts, QStringList({"12"}));
    }

    void aSecondFenwarraLeavesTheSocketToTheFirst()
    {
        TestEnv env(false);
        // The first Fenwarra, waiting for the partner.
        QLocalServer first;
        first.setSocketOptions(QLocalServer::UserAccessOption);
        QVERIFY(first.listen(Link::socketPath()));
        QVERIFY(Link::heldElsewhere());

        Received got;
        {
            auto topic = offer("frmLink", {"HiddenText"}, got);
            QCOMPARE(Link::state(), Link::State::HeldElsewhere);
        }
        QVERIFY(QFile::exists(Link::socketPath())); // the first one's socket stays

        // Once the first has let go, the next window takes the socket.
        first.close();
        QVERIFY(!Link::heldElsewhere());
        auto topic = offer("frmLink", {"HiddenText"}, got);
        QCOMPARE(Link::state(), Link::State::Listening);
    }
};
FW_TEST(LinkServerTest)

class LinkToolTest : public QObject {
    Q_OBJECT
private slots:
    void setsTheLinkModeAndWritesAnItem()
    {
        TestEnv env(false);
        Received got;
        auto topic = offer("CaseDetails", {"HiddenText", "SSurname"}, got);
        const ToolRun run = runTool({"--mode", "1", "--write", "CaseDetails", "SSurname", "O'Brien & Söhne", "--write",
                                     "CaseDetails", "HiddenText", "4711"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.errorText));
        QCOMPARE(Settings::get("LinkData", "Linked", "0"), QString("1"));
        QCOMPARE(got.items, QStringList({"SSurname", "HiddenText"}));
        QCOMPARE(got.texts, QStringList({QString::fromUtf8("O'Brien & Söhne"), "4711"}));
    }

    void keepsTryingWhileFenwarraStarts()
    {
        TestEnv env(false);
        Received got;
        std::unique_ptr<Link::Topic> topic;
        const ToolRun run = runTool({"--wait", "10", "--write", "frmLink", "HiddenText", "4711"}, [&] {
            // The window opens a little after the tool began trying.
            QTest::qWait(600);
            topic = offer("frmLink", {"HiddenText"}, got);
        });
        QVERIFY2(run.exitCode == 0, qPrintable(run.errorText));
        QCOMPARE(got.texts, QStringList({"4711"}));
    }

    void failsWithAReason_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no arguments") << QStringList() << 1 << "nothing to do";
        QTest::newRow("unknown mode") << QStringList({"--mode", "3"}) << 1 << "must be 0, 1 or 2";
        QTest::newRow("write without text")
            << QStringList({"--write", "frmLink", "HiddenText"}) << 1 << "needs a topic, an item and a text";
        QTest::newRow("item name with a path")
            << QStringList({"--write", "frmLink", "a/b", "1"}) << 1 << "is not an item name";
        QTest::newRow("no such window in time")
            << QStringList({"--wait", "1", "--write", "Nowhere", "HiddenText", "1"}) << 4 << "within 1 s";
        QTest::newRow("item not offered")
            << QStringList({"--write", "frmLink", "Caption", "1"}) << 5 << "has no item Caption";
    }
    void failsWithAReason()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, reason);
        TestEnv env(false);
        Received got;
        auto topic = offer("frmLink", {"HiddenText"}, got);
        const ToolRun run = runTool(args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.errorText.contains(reason), qPrintable(run.errorText));
        QVERIFY(got.texts.isEmpty());
        QCOMPARE(Settings::get("LinkData", "Linked", "0"), QString("0"));
    }
};
FW_TEST(LinkToolTest)

#include "tst_Link.moc"
