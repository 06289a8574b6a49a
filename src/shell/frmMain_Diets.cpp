// The frame's commands of the diets: the diet calculator without a case (after
// the units choice), the hand-over of a case window's case to the calculator,
// and the cost calculator. Each tool window is one shared instance, created on
// first use and deleted when it closes, so the next opening starts afresh.
#include "diets/DietCalculator.h"
#include "diets/frmCostCalc.h"
#include "diets/frmUnitsChoice.h"
#include "platform/Guard.h"
#include "shell/frmMain.h"

DietCalculator *frmMain::dietCalculator(const QString &units)
{
    // A calculator that has closed is on its way out; a new one is loaded.
    if (!m_dietCalculator || m_dietCalculator->closed())
        m_dietCalculator = new DietCalculator(units, this);
    return m_dietCalculator;
}

void frmMain::handOverToDietCalculator(const DietCase &dietCase, QPointer<QObject> requester,
                                       std::function<void(const QString &)> deliver)
{
    dietCalculator(dietCase.units)->handOverCase(dietCase, std::move(requester), std::move(deliver));
}

// The calculator without a case: the user first says kg or lb; closing that
// window without Continue cancels the command. Nothing goes back to a case.
void frmMain::openDietCalculatorWithoutCase()
{
    const QString units = frmUnitsChoice::ask(this);
    if (units.isEmpty())
        return;
    dietCalculator(units)->openStandAlone(units);
}

void frmMain::mnuCostCalc_Click()
{
    runGuarded([&] {
        if (!m_costCalc)
            m_costCalc = new frmCostCalc(this);
        m_costCalc->show();
        m_costCalc->raise();
        m_costCalc->activateWindow();
    });
}
