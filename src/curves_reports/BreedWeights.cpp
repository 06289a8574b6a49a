#include "curves_reports/BreedWeights.h"

#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/text/NumberText.h"

#include <QSqlQuery>

namespace BreedWeights {

const QString kGridFormat = QStringLiteral("^Breed") + QString(50, QLatin1Char(' ')) +
                            QStringLiteral("|^  Gen. Weight Range (Kg)  |^  Male Wt (Kg)  |^  Av. Female Wt (Kg)  ");

namespace {

const QString kSelect = QStringLiteral("SELECT [Breed], [Wt Range], [Wt Male], [Wt Female] FROM [Dog Breeds]");
// The table's own order, as it was delivered.
const QString kOrder = QStringLiteral(" ORDER BY rowid");

// A weight as the grid shows it: the single-precision number plain ("27",
// "6.5"); a text kept as it is; an empty field an empty cell.
QString cellText(const QVariant &v)
{
    if (v.isNull())
        return QString();
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return NumText::Plain(NumText::Sng(v.toDouble()));
    default:
        return v.toString();
    }
}

QVector<Row> rowsOf(QSqlQuery &q)
{
    QVector<Row> rows;
    while (q.next())
        rows.append({cellText(q.value(0)), cellText(q.value(1)), cellText(q.value(2)), cellText(q.value(3))});
    return rows;
}

// The fold in which names and typed text are compared: the one the
// connection's fw_fold() applies inside SQLite.
QString fold(const QString &text)
{
    return text.toCaseFolded();
}

} // namespace

QString noMatchMessage()
{
    return QStringLiteral("Cannot find a dog breed contain this string of letters. Try again.");
}

QString emptyTableMessage()
{
    return QStringLiteral("The table of breed weights holds no breeds.");
}

bool matches(const QString &breed, const QString &text)
{
    return fold(breed).contains(fold(text));
}

Listing all(const QSqlDatabase &db)
{
    QSqlQuery q = ClinicDb::exec(db, kSelect + kOrder);
    Listing l;
    l.rows = rowsOf(q);
    if (l.rows.isEmpty())
        l.message = Prompt::Box{emptyTableMessage(), Prompt::Icon::Information, Prompt::Buttons::OK, Prompt::kTitle};
    return l;
}

Listing containing(const QSqlDatabase &db, const QString &text)
{
    Listing l;
    if (text.isEmpty()) {
        QSqlQuery q = ClinicDb::exec(db, kSelect + kOrder);
        l.rows = rowsOf(q);
    } else {
        // instr() looks for the text as it is: no character of it is a
        // wildcard, so nothing needs escaping.
        try {
            QSqlQuery q = ClinicDb::exec(db, kSelect + QStringLiteral(" WHERE instr(fw_fold([Breed]), ?) > 0") + kOrder,
                                         {fold(text)});
            l.rows = rowsOf(q);
        } catch (const FwError &e) {
            // A connection on which the fold function could not be installed:
            // the same comparison, made here on the table's rows.
            if (!e.description().contains(QLatin1String("fw_fold")))
                throw;
            QSqlQuery q = ClinicDb::exec(db, kSelect + kOrder);
            for (const Row &row : rowsOf(q))
                if (matches(row.breed, text))
                    l.rows.append(row);
        }
    }
    if (l.rows.isEmpty()) {
        l.replaces = false;
        l.message = Prompt::Box{noMatchMessage(), Prompt::Icon::Critical, Prompt::Buttons::OK, Prompt::kTitle};
    }
    return l;
}

} // namespace BreedWeights
