// How long the diet calculator's arithmetic takes: one calculation (energy,
// amounts and their texts) and one mix at a slider position, medians over many
// repetitions. The windows add their layout on top; this is the floor.
#include "diets/DietEnergy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

template <typename F> double medianUs(F &&step, int repetitions)
{
    std::vector<qint64> ns;
    ns.reserve(repetitions);
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        step(i);
        ns.push_back(t.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e3;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    DietEnergy::CalcInput in;
    in.species = DietFactors::Species::Canine;
    in.weight = QStringLiteral("10");
    in.diet = {QStringLiteral("350"), QStringLiteral("300"), QStringLiteral("90"), QStringLiteral("400")};
    const DietEnergy::CalcResult calc = DietEnergy::calculate(in);
    const QString energy = DietEnergy::text(calc.results.KCalPerDay);
    if (energy != QLatin1String(" 629.8"))
        qFatal("the calculation gave %s", qPrintable(energy));

    DietEnergy::MixInput mixIn;
    mixIn.shown = calc.results;
    mixIn.diet = in.diet;

    int checksum = 0;
    const int repetitions = 20000;
    const double calcUs = medianUs(
        [&](int i) {
            in.plan = (i % 2) ? DietEnergy::Plan::Reduction : DietEnergy::Plan::Maintenance;
            checksum += DietEnergy::text(DietEnergy::calculate(in).results.ResultDry).size();
        },
        repetitions);
    const double mixUs = medianUs(
        [&](int i) {
            mixIn.position = i % 11;
            checksum += DietEnergy::text(DietEnergy::mix(mixIn).MixCans).size();
        },
        repetitions);
    if (checksum == 0)
        qFatal("nothing was computed");

    out << "diet calculator arithmetic (median of " << repetitions << " repetitions)\n";
    out << "calculation  " << QString::number(calcUs, 'f', 2) << " us\n";
    out << "mix          " << QString::number(mixUs, 'f', 2) << " us\n";
    return 0;
}
