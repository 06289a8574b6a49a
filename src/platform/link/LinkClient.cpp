#include "platform/link/LinkClient.h"

#include <QDeadlineTimer>
#include <QLocalSocket>

namespace Link {

WriteResult writeItem(const QString &topic, const QString &item, const QString &text, int timeoutMs)
{
    WriteResult result;
    const QString invalid = checkWrite(topic, item, text);
    if (!invalid.isEmpty()) {
        result.description = invalid;
        return result;
    }
    QString why;
    const QString path = socketPath(&why);
    if (path.isEmpty()) {
        result.description = why;
        return result;
    }

    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) {
        const QLocalSocket::LocalSocketError e = socket.error();
        // No socket yet, or one left behind by a Fenwarra that has ended.
        if (e == QLocalSocket::ServerNotFoundError || e == QLocalSocket::ConnectionRefusedError)
            result.status = WriteResult::Status::NotRunning;
        result.description = QStringLiteral("Fenwarra is not listening: %1").arg(socket.errorString());
        return result;
    }

    socket.write(encodeWrite(topic, item, text));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) {
            result.description = QStringLiteral("The request could not be sent: %1").arg(socket.errorString());
            return result;
        }
    }

    QByteArray line;
    while (!socket.canReadLine()) {
        if (socket.bytesAvailable() > kMaxHeaderBytes * 4 || !socket.waitForReadyRead(int(deadline.remainingTime()))) {
            result.description = deadline.hasExpired()
                                     ? QStringLiteral("Fenwarra did not answer in time")
                                     : QStringLiteral("Fenwarra did not answer: %1").arg(socket.errorString());
            return result;
        }
    }
    line = socket.readLine();
    socket.disconnectFromServer();
    if (line.endsWith('\n'))
        line.chop(1);

    const Reply reply = parseReply(line);
    if (!reply.valid) {
        result.description = QStringLiteral("Fenwarra gave an answer that cannot be read");
        return result;
    }
    if (reply.error == Error::None) {
        result.status = WriteResult::Status::Ok;
        return result;
    }
    result.status = WriteResult::Status::Rejected;
    result.error = reply.error;
    result.description = reply.description;
    return result;
}

} // namespace Link
