#include "platform/link/LinkServer.h"

#include "platform/FwError.h"
#include "platform/link/LinkProtocol.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QList>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

#include <exception>
#include <sys/socket.h>
#include <unistd.h>

namespace Link {

namespace {

// More connections than a partner ever needs at once; a runaway client
// cannot tie up the program.
constexpr int kMaxConnections = 8;
// A connection that sends no complete request for this long is closed.
constexpr int kIdleMs = 10000;
// Looking whether another Fenwarra answers on the socket.
constexpr int kProbeMs = 500;

struct Entry {
    quint64 id;
    QString name;
    QStringList items;
    Writer writer;
};

QList<Entry> &registry()
{
    static QList<Entry> entries;
    return entries;
}

quint64 nextId()
{
    static quint64 id = 0;
    return ++id;
}

/// The newest registration of a topic, or null.
const Entry *findTopic(const QString &name)
{
    const QList<Entry> &entries = registry();
    for (auto it = entries.crbegin(); it != entries.crend(); ++it)
        if (it->name == name)
            return &*it;
    return nullptr;
}

/// The socket's other end runs as this user. The socket's folder already
/// keeps others out; this is a second lock on the same door.
bool peerIsThisUser(QLocalSocket *socket)
{
    struct ucred cred {};
    socklen_t len = sizeof cred;
    if (::getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        return false;
    return cred.uid == ::geteuid();
}

class Connection : public QObject {
public:
    Connection(QLocalSocket *socket, QObject *parent) : QObject(parent), m_socket(socket)
    {
        m_socket->setParent(this);
        m_idle.setSingleShot(true);
        m_idle.setInterval(kIdleMs);
        connect(&m_idle, &QTimer::timeout, this, [this] { close(); });
        connect(m_socket, &QLocalSocket::readyRead, this, [this] { process(); });
        connect(m_socket, &QLocalSocket::disconnected, this, [this] { finish(); });
        m_idle.start();
    }

private:
    /// Handle every complete request in the buffer, one at a time. A writer
    /// may run an event loop of its own (a message box): data arriving
    /// meanwhile waits in the buffer, and a close meanwhile waits for the
    /// writer to return.
    void process()
    {
        if (m_busy || m_closing)
            return;
        m_buffer += m_socket->readAll();
        while (!m_closing) {
            const Parsed p = parseRequest(m_buffer);
            if (p.status == Parsed::Status::NeedMore)
                return;
            if (p.status == Parsed::Status::Bad) {
                reject(p.error, p.description);
                return;
            }
            m_buffer.remove(0, p.consumed);
            m_idle.stop();
            m_busy = true;
            const QPointer<Connection> self(this);
            const QByteArray reply = dispatch(p);
            if (!self)
                return;
            m_busy = false;
            if (m_finishPending) {
                deleteLater();
                return;
            }
            m_socket->write(reply);
            if (!reply.startsWith("OK")) {
                close();
                return;
            }
            m_idle.start();
            m_buffer += m_socket->readAll();
        }
    }

    static QByteArray dispatch(const Parsed &p)
    {
        const Entry *entry = findTopic(p.topic);
        if (!entry)
            return encodeError(Error::Topic, QStringLiteral("No window offers the topic %1 now").arg(p.topic));
        if (!entry->items.contains(p.item))
            return encodeError(Error::Item, QStringLiteral("The topic %1 has no item %2").arg(p.topic, p.item));
        // The writer may end the registration it belongs to.
        const Writer writer = entry->writer;
        try {
            writer(p.item, p.text);
        } catch (const std::exception &e) {
            return encodeError(Error::Refused, errorDescription(e));
        } catch (...) {
            return encodeError(Error::Refused, QStringLiteral("The window would not take the text"));
        }
        return encodeOk();
    }

    void reject(Error error, const QString &description)
    {
        m_socket->write(encodeError(error, description));
        close();
    }

    /// Send what is pending, then hang up.
    void close()
    {
        m_closing = true;
        m_idle.stop();
        if (m_socket->state() == QLocalSocket::UnconnectedState)
            finish();
        else
            m_socket->disconnectFromServer();
    }

    void finish()
    {
        m_closing = true;
        m_idle.stop();
        if (m_busy)
            m_finishPending = true;
        else
            deleteLater();
    }

    QLocalSocket *m_socket;
    QByteArray m_buffer;
    QTimer m_idle;
    bool m_busy = false;
    bool m_closing = false;
    bool m_finishPending = false;
};

class Server : public QObject {
public:
    explicit Server(QObject *parent) : QObject(parent) {}

    /// Listen while topics are offered, stop when none is.
    void update()
    {
        if (registry().isEmpty()) {
            stop();
            return;
        }
        if (m_server)
            return;
        listen();
    }

    State state = State::Idle;
    QString description;

private:
    void listen()
    {
        QString why;
        const QString path = socketPath(&why);
        if (path.isEmpty()) {
            fail(why);
            return;
        }
        // Listening puts a new socket in the place of whatever file has the
        // name, so look first whether someone answers there.
        const QFileInfo existing(path);
        if (existing.exists() || existing.isSymLink()) {
            QLocalSocket probe;
            probe.connectToServer(path);
            if (probe.waitForConnected(kProbeMs)) {
                probe.abort();
                state = State::HeldElsewhere;
                description = QStringLiteral("Another Fenwarra holds the link's socket %1").arg(path);
                return;
            }
            // Nobody answers: a socket left behind by a Fenwarra that ended
            // without closing it. Anything else (a Fenwarra too busy to
            // answer) is left alone.
            if (probe.error() != QLocalSocket::ConnectionRefusedError) {
                fail(QStringLiteral("The link's socket %1 cannot be used: %2").arg(path, probe.errorString()));
                return;
            }
            QLocalServer::removeServer(path);
        }
        auto *server = new QLocalServer(this);
        // The socket file itself is the user's alone, whatever the folder.
        server->setSocketOptions(QLocalServer::UserAccessOption);
        if (!server->listen(path)) {
            const QString error = server->errorString();
            delete server;
            fail(QStringLiteral("The link's socket %1 cannot be opened: %2").arg(path, error));
            return;
        }
        m_server = server;
        connect(m_server, &QLocalServer::newConnection, this, &Server::accept);
        state = State::Listening;
        description.clear();
    }

    void stop()
    {
        // Connections that are open finish on their own.
        delete m_server;
        m_server = nullptr;
        state = State::Idle;
        description.clear();
    }

    void fail(const QString &why)
    {
        state = State::Failed;
        description = why;
    }

    void accept()
    {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            if (!peerIsThisUser(socket)) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            if (m_connections >= kMaxConnections) {
                socket->write(encodeError(Error::Busy, QStringLiteral("Too many connections; try again")));
                socket->disconnectFromServer();
                connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                continue;
            }
            auto *connection = new Connection(socket, this);
            ++m_connections;
            connect(connection, &QObject::destroyed, this, [this] { --m_connections; });
        }
    }

    QLocalServer *m_server = nullptr;
    int m_connections = 0;
};

/// The one server of the program, made on first use and gone with the
/// application object.
Server *server()
{
    static QPointer<Server> instance;
    if (!instance && QCoreApplication::instance())
        instance = new Server(QCoreApplication::instance());
    return instance;
}

} // namespace

Topic::Topic(const QString &name, const QStringList &items, Writer writer) : m_id(nextId()), m_name(name)
{
    registry().append(Entry{m_id, name, items, std::move(writer)});
    if (Server *s = server())
        s->update();
}

Topic::~Topic()
{
    QList<Entry> &entries = registry();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].id == m_id) {
            entries.removeAt(i);
            break;
        }
    }
    if (Server *s = server())
        s->update();
}

State state()
{
    const Server *s = server();
    return s ? s->state : State::Idle;
}

QString stateDescription()
{
    const Server *s = server();
    return s ? s->description : QString();
}

bool heldElsewhere()
{
    if (state() == State::Listening)
        return false;
    const QString path = socketPath();
    if (path.isEmpty())
        return false;
    QLocalSocket probe;
    probe.connectToServer(path);
    const bool answered = probe.waitForConnected(kProbeMs);
    probe.abort();
    return answered;
}

QString unreachableMessage(const QString &why, bool newCase)
{
    const QString consequence =
        newCase ? QStringLiteral("It cannot fill in the new case for its client: type the case in here yourself.")
                : QStringLiteral("It cannot send the client's record number, so no case will open: close the "
                                 "waiting window to go on without the link.");
    return QStringLiteral("The practice-management program cannot reach this Fenwarra. %1.\n\n%2\n\nAsk whoever "
                          "looks after the practice's computers to see to the cause before the next linked start.")
        .arg(why, consequence);
}

QStringList offeredTopics()
{
    QStringList names;
    for (const Entry &e : registry())
        names << e.name;
    return names;
}

} // namespace Link
