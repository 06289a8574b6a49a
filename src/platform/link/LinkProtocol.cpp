#include "platform/link/LinkProtocol.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace Link {

namespace {

/// A folder that only this user can enter: a real folder (not a link to
/// one), owned by the user, with no rights for group or others. Anyone else
/// who could enter it could replace the socket with one of their own.
bool isPrivateFolder(const QString &path, QString *why)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        *why = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        *why = QStringLiteral("%1 is not a folder").arg(path);
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        *why = QStringLiteral("%1 belongs to another user").arg(path);
        return false;
    }
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        *why = QStringLiteral("%1 may be entered by other users").arg(path);
        return false;
    }
    return true;
}

QString withoutSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

bool isNameChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_' || u == '(' ||
           u == ')';
}

/// Tab, line feed and carriage return are text; other control characters
/// (and the NUL character) are not.
bool isAllowedTextChar(char32_t c)
{
    if (c == '\t' || c == '\n' || c == '\r')
        return true;
    return !(c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0));
}

Parsed bad(Error error, const QString &description)
{
    Parsed p;
    p.status = Parsed::Status::Bad;
    p.error = error;
    p.description = description;
    return p;
}

struct CodeName {
    Error error;
    const char *code;
};
const CodeName kCodes[] = {{Error::Format, "format"}, {Error::Size, "size"}, {Error::Text, "text"},
                           {Error::Topic, "topic"},   {Error::Item, "item"}, {Error::Refused, "refused"},
                           {Error::Busy, "busy"}};

} // namespace

QString serverName()
{
    return QStringLiteral("fenwarra-link-%1").arg(::geteuid());
}

QString socketFolder(QString *error)
{
    QString why;
    const QString runtime = withoutSlash(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime, &why))
        return runtime;

    // No usable runtime folder (a session without one): a folder of our own
    // in the temporary folder, made private when it is created.
    const QString own = withoutSlash(QDir::tempPath()) + QStringLiteral("/fenwarra-%1").arg(::geteuid());
    if (::mkdir(QFile::encodeName(own).constData(), 0700) != 0 && errno != EEXIST) {
        if (error)
            *error = QStringLiteral("The folder %1 cannot be created: %2")
                         .arg(own, QString::fromLocal8Bit(std::strerror(errno)));
        return QString();
    }
    if (!isPrivateFolder(own, &why)) {
        if (error)
            *error = QStringLiteral("No private folder for the link's socket (%1)").arg(why);
        return QString();
    }
    return own;
}

QString socketPath(QString *error)
{
    const QString folder = socketFolder(error);
    if (folder.isEmpty())
        return QString();
    return folder + QLatin1Char('/') + serverName();
}

bool isValidName(const QString &name)
{
    if (name.isEmpty() || name.size() > kMaxNameChars)
        return false;
    for (QChar c : name)
        if (!isNameChar(c))
            return false;
    return true;
}

QString checkWrite(const QString &topic, const QString &item, const QString &text)
{
    if (!isValidName(topic))
        return QStringLiteral("\"%1\" is not a topic name").arg(topic);
    if (!isValidName(item))
        return QStringLiteral("\"%1\" is not an item name").arg(item);
    if (text.toUtf8().size() > kMaxTextBytes)
        return QStringLiteral("the text is longer than %1 bytes").arg(kMaxTextBytes);
    for (char32_t c : text.toUcs4())
        if (!isAllowedTextChar(c))
            return QStringLiteral("the text holds a control character");
    return QString();
}

QByteArray encodeWrite(const QString &topic, const QString &item, const QString &text)
{
    const QByteArray body = text.toUtf8();
    return "WRITE " + topic.toLatin1() + ' ' + item.toLatin1() + ' ' + QByteArray::number(body.size()) + '\n' + body;
}

QByteArray errorCode(Error error)
{
    for (const CodeName &c : kCodes)
        if (c.error == error)
            return c.code;
    return QByteArray();
}

Error errorFromCode(const QByteArray &code)
{
    for (const CodeName &c : kCodes)
        if (code == c.code)
            return c.error;
    return Error::None;
}

QByteArray encodeOk()
{
    return QByteArrayLiteral("OK\n");
}

QByteArray encodeError(Error error, const QString &description)
{
    // One line: a description never breaks the reply in two.
    QString oneLine = description;
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return "ERR " + errorCode(error) + ' ' + oneLine.toUtf8() + '\n';
}

Parsed parseRequest(const QByteArray &buffer)
{
    const qsizetype eol = buffer.indexOf('\n');
    if (eol < 0) {
        if (buffer.size() > kMaxHeaderBytes)
            return bad(Error::Size, QStringLiteral("The request line is longer than %1 bytes").arg(kMaxHeaderBytes));
        return Parsed();
    }
    if (eol > kMaxHeaderBytes)
        return bad(Error::Size, QStringLiteral("The request line is longer than %1 bytes").arg(kMaxHeaderBytes));

    const QByteArray header = buffer.left(eol);
    const QList<QByteArray> fields = header.split(' ');
    if (fields.size() != 4 || fields[0] != "WRITE")
        return bad(Error::Format, QStringLiteral("Expected: WRITE <topic> <item> <length>"));
    const QString topic = QString::fromLatin1(fields[1]);
    const QString item = QString::fromLatin1(fields[2]);
    if (!isValidName(topic))
        return bad(Error::Format, QStringLiteral("The topic name is not valid"));
    if (!isValidName(item))
        return bad(Error::Format, QStringLiteral("The item name is not valid"));

    const QByteArray &lengthText = fields[3];
    if (lengthText.isEmpty())
        return bad(Error::Format, QStringLiteral("The length is missing"));
    for (char c : lengthText)
        if (c < '0' || c > '9')
            return bad(Error::Format, QStringLiteral("The length is not a whole number"));
    // More digits than any allowed length needs: too long, whatever it says.
    bool ok = false;
    const qint64 length = lengthText.size() > 9 ? -1 : lengthText.toLongLong(&ok);
    if (!ok || length > kMaxTextBytes)
        return bad(Error::Size, QStringLiteral("The text is longer than %1 bytes").arg(kMaxTextBytes));

    const qsizetype begin = eol + 1;
    if (buffer.size() - begin < length)
        return Parsed();
    const QByteArray body = buffer.mid(begin, length);

    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(body);
    if (decode.hasError())
        return bad(Error::Text, QStringLiteral("The text is not valid UTF-8"));
    for (char32_t c : text.toUcs4())
        if (!isAllowedTextChar(c))
            return bad(Error::Text, QStringLiteral("The text holds a control character"));

    Parsed p;
    p.status = Parsed::Status::Complete;
    p.topic = topic;
    p.item = item;
    p.text = text;
    p.consumed = begin + length;
    return p;
}

Reply parseReply(const QByteArray &line)
{
    Reply r;
    if (line == "OK") {
        r.valid = true;
        return r;
    }
    if (!line.startsWith("ERR "))
        return r;
    const QByteArray rest = line.mid(4);
    const qsizetype blank = rest.indexOf(' ');
    const QByteArray code = blank < 0 ? rest : rest.left(blank);
    r.error = errorFromCode(code);
    if (r.error == Error::None)
        return r;
    r.description = blank < 0 ? QString() : QString::fromUtf8(rest.mid(blank + 1));
    r.valid = true;
    return r;
}

} // namespace Link
