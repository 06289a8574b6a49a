#include "curves_reports/ReportFills.h"

#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/text/NumberText.h"

#include <QDir>
#include <QStringList>

namespace ReportFills {

namespace {

bool present(const QString &value)
{
    return !value.trimmed().isEmpty();
}

// The parts that have a value, joined by the separator.
QString joinPresent(const QStringList &parts, const QString &separator)
{
    QStringList kept;
    for (const QString &part : parts)
        if (present(part))
            kept.append(part);
    return kept.join(separator);
}

// A labelled part, or nothing when the value is empty.
QString labelled(const QString &label, const QString &value)
{
    return present(value) ? label + value : QString();
}

// Line breaks of a typed text reach the report as single CRs.
QString singleCr(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\r"));
}

// "<title> by <practice>", or the title alone for a practice without a name.
QString titleBy(const QString &title, const QString &surgery)
{
    return present(surgery) ? title + QStringLiteral(" by ") + surgery : title;
}

} // namespace

Version Version::current()
{
    return Version{FENWARRA_VERSION_MAJOR, FENWARRA_VERSION_MINOR, FENWARRA_VERSION_PATCH};
}

QString awardWord(const QString &code)
{
    if (code == QLatin1String("J"))
        return QStringLiteral("Yippee!");
    if (code == QLatin1String("K"))
        return QStringLiteral("So-So");
    if (code == QLatin1String("L"))
        return QStringLiteral("Oops!");
    return QString();
}

QString practiceAddress(const PracticeDetails &practice)
{
    return joinPresent({practice.Address1, practice.Address2}, QStringLiteral(", "));
}

QString practiceContacts(const PracticeDetails &practice)
{
    return joinPresent({labelled(QStringLiteral("Tel: "), practice.TelNo),
                        labelled(QStringLiteral("Fax No: "), practice.FaxNo),
                        labelled(QStringLiteral("e-mail: "), practice.EMail)},
                       QStringLiteral(", "));
}

QString versionLine(const Version &version)
{
    // The blank-led major number puts a blank after the name.
    return QStringLiteral("Fenwarra") + NumText::Str(version.majorNo) + QLatin1Char('.') +
           NumText::Plain(version.minorNo) + QLatin1Char('.') + NumText::Plain(version.revisionNo);
}

Fills clientHandout(const HandoutFacts &f, const PracticeDetails &practice, const Version &version)
{
    Fills fills;
    fills.append({QStringLiteral("Title"), titleBy(QStringLiteral("Fenwarra Report"), practice.Surgery)});
    fills.append({QStringLiteral("FWVer"), versionLine(version)});
    const QString who = joinPresent({f.AnName, f.Surname}, QStringLiteral(" "));
    fills.append({QStringLiteral("Regarding"), who.isEmpty() ? QString() : QStringLiteral("Regarding ") + who});
    const QString details = joinPresent({f.Spp, f.Breed, f.Sex, f.Age}, QStringLiteral(", "));
    fills.append(
        {QStringLiteral("AnDetails"), details.isEmpty() ? QString() : QLatin1Char('[') + details + QLatin1Char(']')});
    // A code without an award word leaves the report's design text.
    if (const QString word = awardWord(f.Progress); !word.isEmpty())
        fills.append({QStringLiteral("ProTargetRange"), word});
    if (const QString word = awardWord(f.Target); !word.isEmpty())
        fills.append({QStringLiteral("ProTargetWt"), word});
    fills.append({QStringLiteral("Summary"), f.Summary});
    fills.append({QStringLiteral("IdealWt"), f.IdealWt});
    fills.append({QStringLiteral("AvWt"), f.AvWt});
    fills.append({QStringLiteral("LossGainRate"), f.LossRate});
    fills.append({QStringLiteral("TimeToTarget"), f.TimeToTarget});
    fills.append({QStringLiteral("TelNo"), f.TelNo});
    fills.append({QStringLiteral("DateLastWt"), f.DateLastWt});
    fills.append(
        {QStringLiteral("BreedRec"),
         joinPresent(
             {f.BreedRecWt, present(f.BreedRecWtLb) ? QLatin1Char('(') + f.BreedRecWtLb + QLatin1Char(')') : QString()},
             QStringLiteral(" "))});
    fills.append({QStringLiteral("WtRange"), f.WtRange});
    fills.append({QStringLiteral("IdealWt2"), f.IdealWt});
    fills.append({QStringLiteral("DietRec"), singleCr(f.DietRec)});
    fills.append({QStringLiteral("VetComs"), singleCr(f.VetCom)});
    fills.append({QStringLiteral("Surgery"), practice.Surgery});
    fills.append({QStringLiteral("Address"), practiceAddress(practice)});
    fills.append({QStringLiteral("TelFaxEMail"), practiceContacts(practice)});
    return fills;
}

Fills growthCurve(const GrowthCurveFacts &f, const PracticeDetails &practice)
{
    Fills fills;
    fills.append({QStringLiteral("Title"), titleBy(f.kitten ? QStringLiteral("Fenwarra Kitten Growth Curve")
                                                            : QStringLiteral("Fenwarra Puppy Growth Curve"),
                                                   practice.Surgery)});
    fills.append({QStringLiteral("Comments"),
                  QStringLiteral("The location of the spike indicates ") + f.CurrAnimalName +
                      QStringLiteral("'s current weight for age, relative to the general ") +
                      (f.kitten ? QStringLiteral("cat") : QStringLiteral("dog")) + QStringLiteral(" population.")});
    fills.append({QStringLiteral("Regarding"), QStringLiteral("Regarding: ") + f.CurrAnimalName});
    fills.append({QStringLiteral("AnDetails"), QStringLiteral("Weight and Age at last weighing: ") +
                                                   NumText::Plain(static_cast<int>(f.CurrWeeksOld)) +
                                                   QStringLiteral(" weeks old, Weight = ") +
                                                   NumText::Str(f.CurrWeight) + QLatin1Char(' ') + f.CurrUnits});
    fills.append({QStringLiteral("Surgery"), practice.Surgery});
    fills.append({QStringLiteral("Address"),
                  joinPresent({practiceAddress(practice), practiceContacts(practice)}, QStringLiteral(" "))});
    return fills;
}

QString definitionPath(const QString &reportName)
{
    return QDir(ClinicDb::dataDir()).filePath(QStringLiteral("reports/") + reportName + QStringLiteral(".json"));
}

Report::ReportDocument loadReport(const QString &reportName)
{
    return Report::ReportDocument::load(definitionPath(reportName));
}

void applyFills(Report::ReportDocument &report, const Fills &fills)
{
    for (const auto &[name, text] : fills)
        if (!report.setText(name, text))
            throw FwError(ErrNo::ObjectNotSet,
                          QStringLiteral("The report %1 has no text object named %2.").arg(report.name(), name));
}

Report::ReportDocument buildClientHandout(const HandoutFacts &facts, const PracticeDetails &practice,
                                          const QImage &chart, const Version &version)
{
    Report::ReportDocument report = loadReport(kClientHandout);
    applyFills(report, clientHandout(facts, practice, version));
    report.setPicture(QStringLiteral("TheGraph"), chart);
    return report;
}

Report::ReportDocument buildGrowthCurve(const GrowthCurveFacts &facts, const PracticeDetails &practice,
                                        const QImage &chart)
{
    Report::ReportDocument report = loadReport(facts.kitten ? kKittenCurve : kPuppyCurve);
    applyFills(report, growthCurve(facts, practice));
    report.setPicture(QStringLiteral("TheGraph"), chart);
    return report;
}

} // namespace ReportFills
