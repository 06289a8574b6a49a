// How long the load's analysis takes for long weekly histories: 5, 10, 20 and
// 40 years of entries. The whole analysis (parse, table of weighings, chart
// series, target analysis and texts) is timed over many repetitions and the
// median is printed, with the time per entry to show that it grows linearly.
#include "cases/CaseAnalysis.h"
#include "platform/text/NumberText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

// A weekly history that wanders between 20 and 30 kg in the weighing form.
QString makeHistory(int entries)
{
    QString text;
    float w = 25.0f;
    for (int i = 0; i < entries; ++i) {
        w += (i % 7 < 4 ? 0.3f : -0.4f);
        if (w < 20.0f || w > 30.0f)
            w = 25.0f;
        text += NumText::Format(w, QStringLiteral("##.#")).trimmed() + QLatin1Char(';');
    }
    return text;
}

CaseAnalysisInput makeInput(int entries)
{
    CaseAnalysisInput in;
    in.row.CaseNo = QStringLiteral("1");
    in.row.Surname = QStringLiteral("Smith");
    in.row.AnimalName = QStringLiteral("Rex");
    in.row.TelNo = QStringLiteral("555 1234");
    in.row.Species = QStringLiteral("Dog");
    in.row.DOB = QStringLiteral("2005-03-05");
    in.row.Sex = QStringLiteral("Female");
    in.row.Breed = QStringLiteral("Labrador");
    in.row.Units = QStringLiteral("kg");
    in.row.LowerWt = QStringLiteral("22");
    in.row.UpperWt = QStringLiteral("27.5");
    in.row.GraphData = makeHistory(entries);
    in.row.LastWeighed = QStringLiteral("2026-12-06");
    in.animalName = QStringLiteral("Rex");
    in.surname = QStringLiteral("Smith");
    in.ageText = QStringLiteral(" 21yrs  9mths  0wks");
    in.lastWeighed = QDate(2026, 12, 6);
    in.breedWtRange = QStringLiteral("25-36");
    return in;
}

double medianMs(const CaseAnalysisInput &in, int repetitions)
{
    std::vector<qint64> ns;
    ns.reserve(repetitions);
    int checksum = 0;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        const CaseAnalysis a = analyseCase(in);
        ns.push_back(t.nsecsElapsed());
        checksum += a.WtData.size() + a.target.Congrats.size();
    }
    if (checksum == 0)
        qFatal("the analysis produced nothing");
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out << "analysis of a weekly history (median of the repetitions)\n";
    out << "entries   years   repetitions   median ms   us per entry\n";
    for (int entries : {260, 520, 1040, 2080}) {
        const CaseAnalysisInput in = makeInput(entries);
        const CaseAnalysis check = analyseCase(in);
        if (check.error || check.NumWts != entries)
            qFatal("the analysis failed for %d entries", entries);
        medianMs(in, 20); // warm up
        const int repetitions = 400;
        const double ms = medianMs(in, repetitions);
        out << qSetFieldWidth(7) << entries << qSetFieldWidth(8) << entries / 52 << qSetFieldWidth(14) << repetitions
            << qSetFieldWidth(12) << QString::number(ms, 'f', 3) << qSetFieldWidth(15)
            << QString::number(ms * 1000 / entries, 'f', 3) << qSetFieldWidth(0) << "\n";
    }
    out << "limit: 16 ms for 1040 entries\n";
    return 0;
}
