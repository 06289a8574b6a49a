#pragma once
// A case register this user cannot write, made in one of three ways: the
// connection opened read-only (as a read-only share gives it; this works as
// root too), the file made read-only (0444) or its folder made read-only
// (0555). Root writes through permission bits, so the last two are skipped
// as root. Destroying it restores the permissions and closes the database.
#include <QString>

class ReadOnlyRegister {
public:
    enum Kind { OpenedReadOnly, FileReadOnly, FolderReadOnly };

    ReadOnlyRegister(const QString &dbfName, Kind kind);
    ~ReadOnlyRegister();
    ReadOnlyRegister(const ReadOnlyRegister &) = delete;
    ReadOnlyRegister &operator=(const ReadOnlyRegister &) = delete;

    /// Why this kind cannot be tried in this process; "" when it can.
    static QString skipReason(Kind kind);

private:
    QString m_path;
    Kind m_kind;
};
