#pragma once
// The one error type that handlers throw and catch: a number and a
// description, as the message boxes show them. The numbers the program
// raises, and their standard descriptions, stand in one table here.
#include <QString>
#include <stdexcept>

namespace ErrNo {
constexpr int InvalidArgument = 5; // a procedure called with an argument it cannot use
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9; // an entry asked for that a list does not have
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int PathFileAccess = 75;   // a file that cannot be written
constexpr int ObjectNotSet = 91;     // no active window to address
constexpr int InvalidUseOfNull = 94; // an empty field where a value is needed
constexpr int NoSuchMember = 438;    // the window addressed has no such command
constexpr int NoEditInProgress = 3020;
constexpr int NoCurrentRecord = 3021; // no current row
constexpr int DuplicateKey = 3022;    // a duplicate value in a unique index
constexpr int NotUpdatable = 3027;    // the rows of a source that cannot be written
constexpr int DatabaseError = 3049;   // the database could not be read or written
constexpr int RowDeleted = 3167;      // row deleted by another user meanwhile
constexpr int WriteConflict = 3197;   // row changed by another user meanwhile
constexpr int ItemNotFound = 3265;    // no field of that name
} // namespace ErrNo

class FwError : public std::runtime_error {
public:
    FwError(int number, const QString &description)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description)
    {
    }
    /// An error with the standard description of its number.
    explicit FwError(int number) : FwError(number, standardDescription(number)) {}

    int number() const { return m_number; }
    QString description() const { return m_description; }

    /// The standard description of an error number; a number the table does
    /// not hold has the general description of an error raised by the program.
    static QString standardDescription(int number);

private:
    int m_number;
    QString m_description;
};

/// The text a message box shows for a failure: an FwError's description, or
/// the text of any other exception.
inline QString errorDescription(const std::exception &e)
{
    if (const auto *fe = dynamic_cast<const FwError *>(&e))
        return fe->description();
    return QString::fromLocal8Bit(e.what());
}
