#include "support/Checks.h"

#include "platform/db/ClinicDb.h"

#include <QCryptographicHash>
#include <QFile>

FwError failureOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const FwError &e) {
        return e;
    }
    return FwError(0, QString());
}

int errorOf(const std::function<void()> &step)
{
    return failureOf(step).number();
}

int rowCount(const QSqlDatabase &db, const QString &table)
{
    return ClinicDb::scalar(db, QStringLiteral("SELECT COUNT(*) FROM [%1]").arg(table)).toInt();
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}
