#pragma once
// The sending side of the link, as the command-line tool fenwarra-link uses
// it: one blocking attempt to write a text into an item of a running
// Fenwarra. It needs Qt Core and Qt Network only.
//
// It blocks, so a program must not use it to talk to its own link server.
#include "platform/link/LinkProtocol.h"

#include <QString>

namespace Link {

struct WriteResult {
    enum class Status {
        Ok,
        NotRunning, // no Fenwarra is listening (yet)
        Rejected,   // Fenwarra replied with an error (see error, description)
        Failed      // the socket failed or did not answer in time
    } status = Status::Failed;
    Error error = Error::None;
    QString description;

    /// Worth trying again while Fenwarra starts: nothing listens yet, or the
    /// window offering the topic is not open yet, or the program was busy.
    bool retryable() const
    {
        return status == Status::NotRunning ||
               (status == Status::Rejected && (error == Error::Topic || error == Error::Busy));
    }
};

/// Connect to the link's socket, send one request and wait for its reply,
/// for at most timeoutMs milliseconds in all.
WriteResult writeItem(const QString &topic, const QString &item, const QString &text, int timeoutMs = 5000);

} // namespace Link
