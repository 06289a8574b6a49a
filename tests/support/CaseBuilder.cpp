#include "support/CaseBuilder.h"

#include "platform/db/ClinicDb.h"
#include "support/TestEnv.h"

namespace {

QVariant orNull(const QString &text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

} // namespace

int CaseBuilder::add() const
{
    QSqlDatabase d = TestEnv::db();
    const int caseNo =
        m_caseNo ? m_caseNo
                 : ClinicDb::scalar(d, QStringLiteral("SELECT COALESCE(MAX([CaseNo]), 0) + 1 FROM [Clients]")).toInt();
    QString h = m_history;
    if (h.endsWith(QLatin1Char(';')))
        h.chop(1);
    const double currentWt = h.section(QLatin1Char(';'), -1).trimmed().toDouble();
    ClinicDb::exec(d,
                   QStringLiteral("INSERT INTO [Clients] ([CaseNo], [Surname], [AnimalName], [Tel No], [Species], "
                                  "[DOB], [Sex], [Breed], [Units], [UpperWt], [LowerWt], [CurrentWt], [Graph Data], "
                                  "[Graph Data Undo], [Last Weighed], [Last Weighed Undo], [Vet Comments], "
                                  "[Diet Recommend], [LinkedRecNo], [Active]) "
                                  "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                   {caseNo,
                    m_surname,
                    m_animal,
                    m_telNo,
                    m_species,
                    m_dob.toString(Qt::ISODate),
                    m_sex,
                    m_breed,
                    m_units,
                    m_upper,
                    m_lower,
                    currentWt,
                    m_history,
                    m_hasUndo ? m_undoHistory : m_history,
                    orNull(m_lastWeighed),
                    orNull(m_hasUndo ? m_undoLastWeighed : m_lastWeighed),
                    m_vetComments,
                    m_dietRecommend,
                    m_linkedRecNo,
                    m_active ? 1 : 0});
    return caseNo;
}
