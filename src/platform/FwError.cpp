#include "platform/FwError.h"

QString FwError::standardDescription(int number)
{
    switch (number) {
    case ErrNo::InvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrNo::Overflow:
        return QStringLiteral("Overflow");
    case ErrNo::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case ErrNo::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case ErrNo::FileNotFound:
        return QStringLiteral("File not found");
    case ErrNo::PathFileAccess:
        return QStringLiteral("Path/File access error");
    case ErrNo::ObjectNotSet:
        return QStringLiteral("Object variable or With block variable not set");
    case ErrNo::InvalidUseOfNull:
        return QStringLiteral("Invalid use of Null");
    case ErrNo::NoSuchMember:
        return QStringLiteral("Object doesn't support this property or method");
    case ErrNo::NoEditInProgress:
        return QStringLiteral("Update or CancelUpdate without AddNew or Edit.");
    case ErrNo::NoCurrentRecord:
        return QStringLiteral("No current record.");
    case ErrNo::DuplicateKey:
        return QStringLiteral("The changes you requested to the table were not successful because they "
                              "would create duplicate values in the index, primary key, or relationship.");
    case ErrNo::NotUpdatable:
        return QStringLiteral("Database or object is read-only.");
    case ErrNo::DatabaseError:
        return QStringLiteral("The database could not be read or written.");
    case ErrNo::RowDeleted:
        return QStringLiteral("This record has been deleted by another user or window since it was read. "
                              "Nothing was saved.");
    case ErrNo::WriteConflict:
        return QStringLiteral("This record has been changed by another user or window since it was read. "
                              "Nothing was saved; reopen the case to see the latest values.");
    case ErrNo::ItemNotFound:
        return QStringLiteral("Item not found in this collection.");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}
