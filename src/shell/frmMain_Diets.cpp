// The frame's commands of the diets: the diet calculator without a case (after
// the units choice), the hand-over of a case window's case to the calculator
// and of its recommendation back (Command1), and the cost calculator. Each tool window is one shared instance, created
// on first use and deleted when it closes, so the next opening starts afresh.
#include "cases/frmDocument.h"
#include "diets/DietCalculator.h"
#include "diets/fmDiets.h"
#include "diets/frmCostCalc.h"
#include "diets/frmUnitsChoice.h"
#include "platform/Guard.h"
#include "shell/frmMain.h"

DietCalculator *frmMain::dietCalculator(const QString &units)
{
    // A calculator that has closed is on its way out; a new one is loaded.
    if (!m_dietCalculator || m_dietCalculator->closed()) {
        m_dietCalculator = new DietCalculator(units, this);
        // The diet button opens the picker, whose Return fills the diet boxes.
        m_dietCalculator->setPickerOpener([](DietCalculator &calculator, const QString &species) {
            QPointer<DietCalculator> target(&calculator);
            fmDiets::Launch(&calculator, species, [target](const PickedDiet &d) {
                if (target)
                    target->receiveDiet(d.DietSelected, d.MEDryText, d.MEPerCup, d.MECanText, d.GmPerCan);
            });
        });
    }
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

// A case window's Diet Calc.: the calculator takes the window's species,
// ideal weight and units, and its recommendation goes back through Command1
// to that window alone, as typed text is saved.
void frmMain::showDietCalculator(frmDocument *window)
{
    const CaseFacts facts = window->facts();
    const QPointer<frmDocument> target(window);
    handOverToDietCalculator(DietCase{facts.species, facts.idealWt, facts.units}, QPointer<QObject>(window),
                             [this, target](const QString &transfer) { Command1_Click(target, transfer); });
}

void frmMain::Command1_Click(frmDocument *window, const QString &transfer)
{
    runGuarded([&] {
        if (transfer == QLatin1String("*"))
            return;
        // A window closed meanwhile takes nothing; the calculator has told
        // the user.
        if (!window)
            return;
        if (transfer == DietCalculator::kFocusOnly)
            window->focusDietRecommendation();
        else
            window->receiveDietRecommendation(transfer);
    });
}
