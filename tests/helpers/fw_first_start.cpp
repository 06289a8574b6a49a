// One workstation's first start, for the tests that start several at once on
// one empty folder:
//   fw_first_start <database file> <mark>
// Prints "ready" and waits for a line on standard input, so that the test can
// let several go at the same moment. Then, as the program's start does, it
// creates the database when missing and opens it, and writes one case whose
// surname is <mark>, so that the test can see that nothing written to the
// file was lost. Prints "made" or "found", or the error, and exits 0 on
// success.
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"

#include <QCoreApplication>
#include <QSqlDatabase>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <database file> <mark>\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString mark = QString::fromLocal8Bit(argv[2]);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 2;
    try {
        const bool made = ClinicDb::createIfMissing(path);
        const QSqlDatabase db = ClinicDb::connection(path);
        ClinicDb::Transaction tx(db);
        ClinicDb::exec(db,
                       QStringLiteral("INSERT INTO [Clients] ([CaseNo], [Surname]) "
                                      "SELECT COALESCE(MAX([CaseNo]), 0) + 1, ? FROM [Clients]"),
                       {mark});
        tx.commit();
        std::printf("%s\n", made ? "made" : "found");
    } catch (const FwError &e) {
        std::printf("error %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
