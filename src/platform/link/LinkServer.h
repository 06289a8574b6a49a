#pragma once
// The receiving side of the link with a practice-management program: a local
// socket server in the program (see LinkProtocol.h for where the socket lies
// and what a request looks like).
//
// A window that the partner may write into offers a topic while it is
// loaded, by keeping a Link::Topic as a member: the topic names the items
// that may be written (an explicit list) and the function that takes the
// text. Nothing else can be reached over the link.
//
// The program listens only while at least one topic is offered: from the
// first registration to the end of the last. So a Fenwarra holds the socket
// only while one of its windows is waiting for the partner, and a Fenwarra
// started later for the next client can take it over. While another Fenwarra
// of the same user holds it, state() is HeldElsewhere: the partner's writes
// reach that other one, and the program tries again at its next registration.
#include <QString>
#include <QStringList>

#include <functional>

namespace Link {

/// Takes a text written into one of a topic's items; runs on the
/// user-interface thread. Throwing an exception (FwError, say) refuses the
/// text: the partner is told the exception's description.
using Writer = std::function<void(const QString &item, const QString &text)>;

/// A topic offered over the link for as long as this object lives. When two
/// registrations carry the same name, the newer one is used while it lives.
class Topic {
public:
    Topic(const QString &name, const QStringList &items, Writer writer);
    ~Topic();
    Topic(const Topic &) = delete;
    Topic &operator=(const Topic &) = delete;

    QString name() const { return m_name; }

private:
    quint64 m_id;
    QString m_name;
};

enum class State {
    Idle,          // no topic offered, no socket
    Listening,     // the partner can reach this program
    HeldElsewhere, // another Fenwarra of this user holds the socket
    Failed         // the socket could not be made (see stateDescription())
};

State state();
/// Why the state is HeldElsewhere or Failed; "" otherwise.
QString stateDescription();

/// True when another running Fenwarra of this user holds the link's socket
/// just now (a window of it waits for the partner).
bool heldElsewhere();

/// The names of the topics offered now, newest last (tests).
QStringList offeredTopics();

/// What a Fenwarra started for the partner says when another one already
/// waits for it.
inline const QString kHeldElsewhereMessage =
    QStringLiteral("Another Fenwarra is already waiting for the practice-management program. "
                   "Finish or close that one, then start again from the practice-management program.");

/// What a linked start says when the partner cannot reach it because the
/// socket could not be made (why: stateDescription()). newCase: link mode 1,
/// where the user can type the case in; otherwise link mode 2, where no
/// record number will come.
QString unreachableMessage(const QString &why, bool newCase);

} // namespace Link
