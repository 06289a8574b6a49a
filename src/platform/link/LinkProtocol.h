#pragma once
// The link with a practice-management program: where its socket lives and the
// format of the messages on it. This part needs nothing but Qt Core, so the
// command-line tool fenwarra-link shares it with the program.
//
// The socket is a local (Unix domain) socket private to the user: it lies in
// the user's runtime folder ($XDG_RUNTIME_DIR, mode 0700), or else in a
// folder "fenwarra-<uid>" of the temporary folder that the program creates
// with mode 0700 and accepts only when it belongs to the user and no one else
// may enter it. Its name is "fenwarra-link-<uid>".
//
// A request writes one text into one item of one topic:
//
//     WRITE <topic> <item> <length>\n<text>
//
// one header line of at most kMaxHeaderBytes bytes, ending in a line feed,
// its four fields separated by single blanks, followed by exactly <length>
// bytes of text in UTF-8 (no terminator; the text may hold line breaks).
// Topic and item names are 1 to kMaxNameChars characters of A-Z, a-z, 0-9,
// "_", "(" and ")", compared exactly. <length> is written in decimal digits
// and is at most kMaxTextBytes. The text may hold any character except the
// control characters other than tab, line feed and carriage return.
//
// Every request gets one reply line:
//
//     OK\n
//     ERR <code> <description>\n
//
// with the codes
//     format   the header line is not as above
//     size     the header line or the text is too long
//     text     the text is not valid UTF-8 or holds a control character
//     topic    no window offering that topic is open just now (try again
//              later: the window may still be opening)
//     item     the topic has no such item
//     refused  the window would not take the text (the description says why)
//     busy     too many connections at once (try again later)
// After OK the connection may carry further requests; after ERR the program
// closes it. An ERR reply means nothing was changed.
#include <QByteArray>
#include <QString>

namespace Link {

constexpr int kMaxHeaderBytes = 256;
constexpr int kMaxTextBytes = 4096;
constexpr int kMaxNameChars = 64;

/// The socket's file name: "fenwarra-link-" followed by the user's id.
QString serverName();

/// The folder private to the user that holds the socket, created when
/// missing; empty with a reason in *error when none can be trusted.
QString socketFolder(QString *error = nullptr);

/// The socket's full path; empty with a reason in *error when there is none.
QString socketPath(QString *error = nullptr);

/// A topic or item name as the format allows it.
bool isValidName(const QString &name);

/// The request that writes text into item of topic. The caller checks the
/// names and the size first (checkWrite).
QByteArray encodeWrite(const QString &topic, const QString &item, const QString &text);

/// Why a write could not be sent as it stands: "" when it can.
QString checkWrite(const QString &topic, const QString &item, const QString &text);

enum class Error { None, Format, Size, Text, Topic, Item, Refused, Busy };

/// The code word of an error on the wire ("format", "size", ...), and back.
QByteArray errorCode(Error error);
Error errorFromCode(const QByteArray &code);

QByteArray encodeOk();
QByteArray encodeError(Error error, const QString &description);

/// One request read from the front of a buffer.
struct Parsed {
    enum class Status { NeedMore, Complete, Bad } status = Status::NeedMore;
    QString topic;
    QString item;
    QString text;
    qsizetype consumed = 0;    // bytes of the buffer the request took (Complete)
    Error error = Error::None; // Bad
    QString description;       // Bad
};

/// Read one request from the front of buffer: NeedMore until the whole
/// request has arrived; Bad as soon as it is clear that it is not valid.
Parsed parseRequest(const QByteArray &buffer);

/// One reply line (without its line feed) read back by a client.
struct Reply {
    Error error = Error::None; // None: OK
    QString description;
    bool valid = false; // false: not a reply line of this format
};
Reply parseReply(const QByteArray &line);

} // namespace Link
