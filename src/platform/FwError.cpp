#include "platform/FwError.h"

QString FwError::standardDescription(int number)
{
    switch (number) {
    case ErrNo::InvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrNo::Overflow:
        return QStringLiteral("Overflow");
    case ErrNo::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case ErrNo::ObjectNotSet:
        return QStringLiteral("Object variable or With block variable not set");
    case ErrNo::InvalidUseOfNull:
        return QStringLiteral("Invalid use of Null");
    case ErrNo::NoCurrentRecord:
        return QStringLiteral("No current record.");
    case ErrNo::DuplicateKey:
        return QStringLiteral("The changes you requested to the table were not successful because they "
                              "would create duplicate values in the index, primary key, or relationship.");
    case ErrNo::WriteConflict:
        return QStringLiteral("This record has been changed by another user or window since it was read. "
                              "Nothing was saved; reopen the case to see the latest values.");
    case ErrNo::RowDeleted:
        return QStringLiteral("This record has been deleted by another user or window since it was read. "
                              "Nothing was saved.");
    case ErrNo::DatabaseError:
        return QStringLiteral("The database could not be read or written.");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}
