#include "curves_reports/ReportPreparation.h"

#include "curves_reports/ReportVariables.h"
#include "curves_reports/frmReports.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"

#include <QStringList>

namespace {

// "Client Handout Rex O'Hollings": the name proposed when the report is saved.
QString fileStem(const QString &reportName, const QStringList &names)
{
    QStringList parts{frmReports::captionOf(reportName)};
    for (const QString &name : names)
        if (!name.trimmed().isEmpty())
            parts.append(name.trimmed());
    return parts.join(QLatin1Char(' '));
}

} // namespace

frmReports *prepareClientHandout(const ReportFills::HandoutFacts &facts, const QImage &chart)
{
    const QSqlDatabase db = ClinicDb::connection(App().DBFName);
    ReportVariables::write(db, facts);
    const ReportFills::PracticeDetails practice = ReportVariables::readPractice(db);
    Report::ReportDocument report = ReportFills::buildClientHandout(facts, practice, chart);
    App().ReportName = frmReports::kClientHandOut;
    return frmReports::open(frmReports::kClientHandOut, std::move(report),
                            fileStem(frmReports::kClientHandOut, {facts.AnName, facts.Surname}));
}

frmReports *prepareGrowthCurve(const ReportFills::GrowthCurveFacts &facts, const QImage &chart)
{
    const ReportFills::PracticeDetails practice = ReportVariables::readPractice(ClinicDb::connection(App().DBFName));
    Report::ReportDocument report = ReportFills::buildGrowthCurve(facts, practice, chart);
    const QString reportName = facts.kitten ? frmReports::kGrowthCurveFel : frmReports::kGrowthCurveK9;
    App().ReportName = reportName;
    return frmReports::open(reportName, std::move(report), fileStem(reportName, {facts.CurrAnimalName}));
}
