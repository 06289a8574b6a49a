// Another workstation holding the case register locked, for the tests of
// what the program does meanwhile:
//   fw_hold_lock <database file> <write|exclusive> [milliseconds]
// "write" begins a writing transaction (others may still read), "exclusive"
// one that keeps everybody else out. Prints "locked" once it holds the lock,
// keeps it for the milliseconds given, else until a line arrives on standard
// input (or input ends), then rolls back and exits 0.
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <database file> <write|exclusive> [milliseconds]\n", argv[0]);
        return 2;
    }
    const bool exclusive = qstrcmp(argv[2], "exclusive") == 0;
    int rc = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
        if (!db.open()) {
            std::fprintf(stderr, "cannot open: %s\n", qPrintable(db.lastError().text()));
            return 1;
        }
        QSqlQuery q(db);
        if (!q.exec(exclusive ? QStringLiteral("BEGIN EXCLUSIVE") : QStringLiteral("BEGIN IMMEDIATE")) ||
            !q.exec(QStringLiteral("UPDATE [Personal] SET [rowid] = [rowid]"))) {
            std::fprintf(stderr, "cannot lock: %s\n", qPrintable(q.lastError().text()));
            return 1;
        }
        std::fputs("locked\n", stdout);
        std::fflush(stdout);
        if (argc == 4) {
            QThread::msleep(QByteArray(argv[3]).toULong());
        } else {
            char line[16];
            (void)std::fgets(line, sizeof line, stdin);
        }
        if (!q.exec(QStringLiteral("ROLLBACK")))
            rc = 1;
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    return rc;
}
