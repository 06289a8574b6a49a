#pragma once
// The target analysis of a case: from the case's row and its weekly weight
// history, everything the case window shows after a load: the range and
// summary texts, the recommended breed weight, the table of weighings, the
// chart series, and the analysis against the ideal weight with its status
// texts, the two pictures and the face codes ("J" good, "K" neutral, "L" bad).
//
// Every weight and every intermediate is single precision; values are rounded
// the program's way, by formatting with a pattern and reading the text back.
// Nothing here touches a window, the database or the application state.
#include "cases/CaseRecord.h"
#include "platform/FwError.h"

#include <QDate>
#include <QFlags>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// The five status pictures of the case window; a status shows two of them.
enum class CasePicture : unsigned {
    Baloons = 0x01,
    Clouds = 0x02,
    Smile = 0x04,
    Bland = 0x08,
    Frown = 0x10,
};
Q_DECLARE_FLAGS(CasePictures, CasePicture)
Q_DECLARE_OPERATORS_FOR_FLAGS(CasePictures)

/// The names of all five pictures (their controls' objectNames), in the order above.
QStringList allPictureNames();
/// The names of the pictures in a set ("Baloons", "Smile", ...).
QStringList pictureNames(CasePictures pictures);

// Where the newest weight lies, tested in this order: Above (Curr > Upper),
// UpperHalf (Curr >= Ideal), LowerHalf (Curr >= Lower), Below.
enum class WeightBand { Above, UpperHalf, LowerHalf, Below };

/// One row of the table of weighings, newest first.
struct WtDataRow {
    QString Week; // weeks since the first entry, blank-led
    QString Wt;   // the weight, blank-led
    QString Date; // approximate date of the entry, "dd-mmm-yy"
};

/// The three series of the weight chart, each with the same number of points.
struct WeightChart {
    QVector<double> weights; // series 1, oldest first
    QVector<double> lower;   // series 2
    QVector<double> upper;   // series 3
    QString axisTitle;       // the left axis: the case's units
    int points() const { return weights.size(); }
};

/// The analysis against the ideal weight (the newest weight, rate, average,
/// status texts, pictures and faces).
struct TargetAnalysis {
    qint16 NumWts = 0;
    float Curr = 0;
    float Upper = 0;
    float Lower = 0;
    float IdealWtVal = 0;
    float Diff = 0;
    float Rate = 0;    // average weekly loss; 0 with one weighing
    float Average = 0; // with one weighing: the weight itself
    float Weeks = 0;   // weeks to the ideal weight, valid when weeksKnown
    bool weeksKnown = false;
    WeightBand band = WeightBand::Above;

    QString LocalCurrWt; // Curr, plain
    QString AvWtLbl;
    QString LossRate;
    QString IdealWtLbl;
    QString Congrats;
    QString TimeToTargetlbl;
    CasePictures pictures;
    QString LocalTarget;   // "J", "K" or "L": the weight against the range
    QString LocalProgress; // "J", "K" or "L": the trend
};

struct CaseAnalysisInput {
    CaseRecord row;
    QString animalName; // CurrAnimalName as the opener set it (not the row's)
    QString surname;    // CurrSurname as the opener set it
    QString ageText;    // CurrAgeText of this load
    QDate lastWeighed;  // the row's Last Weighed, converted
    /// Wt Range of the first Dog Breeds row whose Breed equals the row's Breed
    /// exactly; nothing when no row matched.
    std::optional<QString> breedWtRange;
    /// The text of the recommended-breed-weight label before the load; a dog
    /// whose breed is not in the table keeps it.
    QString recBreedWtBefore;
};

/// Everything a load produces, in the order the load produces it. A load that
/// fails keeps the parts done before the failure: `done` says how far it got
/// and `error` holds the failure to report.
struct CaseAnalysis {
    enum class Part {
        None,    // failed before the texts (an empty field where a value is needed)
        Texts,   // LocalAcRange and Details
        Breed,   // RecBreedWt and RecBreedWtLb
        History, // NumWts, weights, WtData rows and the chart
        Target,  // the target analysis: the load is complete
    };
    Part done = Part::None;
    std::optional<FwError> error;
    bool reached(Part p) const { return static_cast<int>(done) >= static_cast<int>(p); }

    // Texts
    QString LocalAcRange;
    QString Details;

    // Breed
    QString RecBreedWt;
    bool recBreedWtChanged = false; // false: a dog's breed was not found, the label keeps its text
    QString RecBreedWtLb;

    // History
    qint16 NumWts = 0;
    QVector<float> weights; // oldest first
    QVector<WtDataRow> WtData;
    WeightChart chart;

    // Target
    TargetAnalysis target;
};

namespace Analysis {

/// "From " + blank-led lower + " to " + blank-led upper + " " + units.
QString AcRangeText(float lower, float upper, const QString &units);

/// The five-line summary, lines joined by CR LF, ending in one blank.
QString DetailsText(const QString &animalName, const QString &surname, const QString &species, const QString &ageText,
                    const QString &breed, const QString &sex, const QString &telNo);

/// The recommended breed weight: "Canines Only" unless the species is "Dog"
/// (exact case); a "Cross Breed" dog gets "Nearest Breed"; a dog whose breed
/// was found gets its range + " kg"; nothing (keep the label's text) otherwise.
std::optional<QString> RecBreedWtText(const QString &species, const QString &breed,
                                      const std::optional<QString> &breedWtRange);

/// A kg range text converted to lb: "20-30 kg" -> "44 - 66", "2.5-4" ->
/// "5.5 - 8.8", "20 kg" -> "44 - 0".
QString CvtRangeLB(const QString &rangeKg);

/// The pound label for a recommended-breed-weight text: "-" when the trimmed
/// text reads as 0 ("Nearest Breed", "Canines Only", ""), else the lb range +
/// " lb".
QString PoundRangeText(const QString &recBreedWt);

/// The table of weighings, newest first: row r (from 1) shows week NumWts - r,
/// the weight of index NumWts - r and the date lastWeighed - 7 * (r - 1) days.
QVector<WtDataRow> WtDataRows(const QVector<float> &weights, const QDate &lastWeighed);

/// The chart series: the weights oldest first with the bounds repeated; a
/// single weighing gives two equal points per series, none gives no points.
/// The bounds are the numbers read from the texts of LowerWt and UpperWt.
WeightChart ChartSeries(const QVector<float> &weights, double lower, double upper, const QString &units);

/// The analysis against the ideal weight. name is the animal's name shown in
/// the texts, sex decides "her" (contains "Female", exact case) or "his".
/// Throws FwError(ErrNo::SubscriptOutOfRange) for an empty history: there
/// is no newest weight to analyse.
TargetAnalysis Target(const QVector<float> &weights, float upper, float lower, const QString &name, const QString &sex,
                      const QString &units);

/// "Heading to target. Estimated time to ideal weight = " + weeks + " weeks";
/// when the weight did not change (rate 0) no number of weeks can be
/// estimated and the text says so instead.
QString HeadingText(float weeks, bool weeksKnown);

} // namespace Analysis

/// Run the whole load for a case. Never throws: a failure ends the load and
/// is returned in the result with the parts done before it.
CaseAnalysis analyseCase(const CaseAnalysisInput &input);
