// How long a click takes in the diet calculator window: the calculation
// (Maint. and Reducn in turn) and the mix (the slider moved by the user),
// each through the window's own handlers on a shown window, with the layout
// work the click leaves behind processed. Medians per click; the goal is
// under 1 ms each.
#include "diets/DietCalculator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

bool g_settle = true;

template <typename F> double medianUs(F &&step, int repetitions)
{
    std::vector<qint64> ns;
    ns.reserve(repetitions);
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        step(i);
        if (g_settle)
            QCoreApplication::processEvents(); // the relayout and repaint the click asked for
        ns.push_back(t.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e3;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);

    DietCalculator calc(QStringLiteral("kg"));
    calc.handOverCase({QStringLiteral("Dog"), 10.0f, QStringLiteral("kg")}, nullptr, {});
    calc.receiveDiet(QStringLiteral("Canine Maintenance"), QStringLiteral("350"), QStringLiteral("300"),
                     QStringLiteral("90"), QStringLiteral("400"));
    if (!QTest::qWaitForWindowExposed(&calc))
        qFatal("the calculator did not show");
    calc.Calculate_Click();
    auto *kcal = calc.findChild<QLabel *>(QStringLiteral("KCalPerDay"));
    if (kcal->text() != QLatin1String(" 629.8"))
        qFatal("the calculation gave %s", qPrintable(kcal->text()));

    auto *slider = calc.findChild<QSlider *>(QStringLiteral("Slider1"));
    auto *mixCans = calc.findChild<QLabel *>(QStringLiteral("MixCans"));
    int checksum = 0;
    const int repetitions = 2000;
    out << "diet calculator window, per click (median of " << repetitions << ")\n";
    for (bool settle : {false, true}) {
        g_settle = settle;
        const double calcUs = medianUs(
            [&](int i) {
                if (i % 2)
                    calc.CalcRed_Click();
                else
                    calc.Calculate_Click();
                checksum += kcal->text().size();
            },
            repetitions);
        calc.Calculate_Click();
        const double mixUs = medianUs(
            [&](int i) {
                // As the user moves it: every position in turn, 0 included.
                slider->setValue((i + 1) % 11);
                checksum += mixCans->text().size();
            },
            repetitions);
        out << (settle ? "handler, then its layout and painting\n" : "handler alone\n");
        out << "  calculation  " << QString::number(calcUs, 'f', 1) << " us\n";
        out << "  mix          " << QString::number(mixUs, 'f', 1) << " us\n";
    }
    if (checksum == 0)
        qFatal("nothing was computed");
    return 0;
}
