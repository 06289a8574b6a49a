#include "curves_reports/ReportVariables.h"

#include "platform/db/ClinicDb.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

namespace ReportVariables {

namespace {

// The fields in the table's order, which is the order of writing.
const QStringList kFields = {
    QStringLiteral("Age"),          QStringLiteral("Summary"),    QStringLiteral("IdealWt"),
    QStringLiteral("AvWt"),         QStringLiteral("LossRate"),   QStringLiteral("TimeToTarget"),
    QStringLiteral("BreedRecWtLb"), QStringLiteral("BreedRecWt"), QStringLiteral("Target"),
    QStringLiteral("Progress"),     QStringLiteral("AnName"),     QStringLiteral("Surname"),
    QStringLiteral("Spp"),          QStringLiteral("Breed"),      QStringLiteral("Sex"),
    QStringLiteral("TelNo"),        QStringLiteral("DateLastWt"), QStringLiteral("WtRange"),
    QStringLiteral("DietRec"),      QStringLiteral("VetCom")};

QVector<QString ReportFills::HandoutFacts::*> members()
{
    using F = ReportFills::HandoutFacts;
    return {&F::Age,        &F::Summary, &F::IdealWt,    &F::AvWt,    &F::LossRate, &F::TimeToTarget, &F::BreedRecWtLb,
            &F::BreedRecWt, &F::Target,  &F::Progress,   &F::AnName,  &F::Surname,  &F::Spp,          &F::Breed,
            &F::Sex,        &F::TelNo,   &F::DateLastWt, &F::WtRange, &F::DietRec,  &F::VetCom};
}

QVariantList values(const ReportFills::HandoutFacts &facts)
{
    QVariantList list;
    for (auto member : members())
        list.append((facts.*member).isNull() ? QString(QLatin1String("")) : facts.*member);
    return list;
}

} // namespace

void write(const QSqlDatabase &db, const ReportFills::HandoutFacts &facts)
{
    QStringList sets;
    for (const QString &field : kFields)
        sets.append(QLatin1Char('[') + field + QStringLiteral("] = ?"));
    const QVariantList params = values(facts);

    ClinicDb::Transaction transaction(db);
    // No comparison with what was read before: the row holds whichever
    // handout was prepared last, so a write of another workstation in
    // between is simply overwritten.
    QSqlQuery update =
        ClinicDb::exec(db, QStringLiteral("UPDATE [Report Variables] SET ") + sets.join(QStringLiteral(", ")), params);
    if (update.numRowsAffected() == 0) {
        QStringList names;
        QStringList marks;
        for (const QString &field : kFields) {
            names.append(QLatin1Char('[') + field + QLatin1Char(']'));
            marks.append(QStringLiteral("?"));
        }
        ClinicDb::exec(db,
                       QStringLiteral("INSERT INTO [Report Variables] (") + names.join(QStringLiteral(", ")) +
                           QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
                       params);
    }
    transaction.commit();
}

ReportFills::HandoutFacts read(const QSqlDatabase &db)
{
    QStringList names;
    for (const QString &field : kFields)
        names.append(QLatin1Char('[') + field + QLatin1Char(']'));
    QSqlQuery q = ClinicDb::exec(db, QStringLiteral("SELECT ") + names.join(QStringLiteral(", ")) +
                                         QStringLiteral(" FROM [Report Variables] LIMIT 1"));
    ReportFills::HandoutFacts facts;
    if (q.next()) {
        const auto list = members();
        for (int i = 0; i < list.size(); ++i)
            facts.*list[i] = q.value(i).toString();
    }
    return facts;
}

ReportFills::PracticeDetails readPractice(const QSqlDatabase &db)
{
    QSqlQuery q = ClinicDb::exec(db, QStringLiteral("SELECT [Surgery], [Address 1], [Address 2], [Tel No], [Fax No], "
                                                    "[e-mail] FROM [Personal] LIMIT 1"));
    ReportFills::PracticeDetails practice;
    if (q.next()) {
        practice.Surgery = q.value(0).toString();
        practice.Address1 = q.value(1).toString();
        practice.Address2 = q.value(2).toString();
        practice.TelNo = q.value(3).toString();
        practice.FaxNo = q.value(4).toString();
        practice.EMail = q.value(5).toString();
    }
    return practice;
}

} // namespace ReportVariables
