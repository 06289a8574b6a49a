#pragma once
// The texts that fill the three reports: the client handout (ClientHO) and
// the puppy and kitten growth curves (GCK9, GCFel). Each fill is computed
// from plain values (the practice's details, the case's figures) into a list
// of (object name, text) in the order of filling, so that the texts can be
// checked without a window; build*() then loads the definition, puts the
// texts and the chart picture in, and gives the report ready to show.
//
// The practice's details are joined so that an empty field never blanks its
// line: each labelled part that has a value is printed, and a separator only
// stands between two parts that are both there.
#include "cases/CaseHandout.h"
#include "platform/report/ReportDocument.h"

#include <QImage>
#include <QPair>
#include <QString>
#include <QVector>

namespace ReportFills {

/// The single row of the table Personal.
struct PracticeDetails {
    QString Surgery;
    QString Address1; // [Address 1]
    QString Address2; // [Address 2]
    QString TelNo;    // [Tel No]
    QString FaxNo;    // [Fax No]
    QString EMail;    // [e-mail]
};

/// The twenty figures of the client handout, in the order of the table that
/// keeps the last one; a case window gathers them.
using HandoutFacts = CaseHandout;

/// The animal of a growth curve, as the growth window plotted it.
struct GrowthCurveFacts {
    bool kitten = false; // false: the puppy curve
    QString CurrAnimalName;
    qint16 CurrWeeksOld = 0;
    float CurrWeight = 0;
    QString CurrUnits;
};

struct Version {
    int majorNo = 0;
    int minorNo = 0;
    int revisionNo = 0;
    /// The program's own version.
    static Version current();
};

/// (text object, text) in the order the report is filled.
using Fills = QVector<QPair<QString, QString>>;

/// The award word of a face code: "J" "Yippee!", "K" "So-So", "L" "Oops!";
/// "" for any other code (the report then keeps its design text).
QString awardWord(const QString &code);
/// The practice's address: "Address 1, Address 2", either alone when the
/// other is empty.
QString practiceAddress(const PracticeDetails &practice);
/// "Tel: ..., Fax No: ..., e-mail: ...", each part only when it has a value.
QString practiceContacts(const PracticeDetails &practice);
/// The version line: "Fenwarra 3.0.0".
QString versionLine(const Version &version);

/// The texts of the client handout.
Fills clientHandout(const HandoutFacts &facts, const PracticeDetails &practice, const Version &version);
/// The texts of the puppy or kitten growth curve.
Fills growthCurve(const GrowthCurveFacts &facts, const PracticeDetails &practice);

/// The definition names of the reports.
inline const QString kClientHandout = QStringLiteral("ClientHO");
inline const QString kPuppyCurve = QStringLiteral("GCK9");
inline const QString kKittenCurve = QStringLiteral("GCFel");

/// The shipped definition file of a report name.
QString definitionPath(const QString &reportName);
/// Load a shipped definition (throws FwError when it cannot be used).
Report::ReportDocument loadReport(const QString &reportName);
/// Put the texts into the report; throws FwError when the report has no text
/// object of a name (a definition that does not match the program).
void applyFills(Report::ReportDocument &report, const Fills &fills);

/// The client handout, filled, with the case chart (a null picture leaves
/// an empty frame).
Report::ReportDocument buildClientHandout(const HandoutFacts &facts, const PracticeDetails &practice,
                                          const QImage &chart, const Version &version = Version::current());
/// The puppy or kitten growth curve, filled, with its chart.
Report::ReportDocument buildGrowthCurve(const GrowthCurveFacts &facts, const PracticeDetails &practice,
                                        const QImage &chart);

} // namespace ReportFills
