// The frame's launchers of the breed weights and the reminder list, and the
// growth curves of a case window's case.
#include "cases/frmDocument.h"
#include "curves_reports/GrowthCurveWindow.h"
#include "curves_reports/ReportPreparation.h"
#include "curves_reports/frmBreedSpec.h"
#include "curves_reports/frmReminder.h"
#include "curves_reports/frmReports.h"
#include "platform/Guard.h"
#include "shell/frmMain.h"

// The breed weights: a window of its own each time, bound and filled, modal.
void frmMain::mnuBreedWt_Click()
{
    runGuarded([&] { frmBreedSpec::Launch(this); });
}

// The reminder list, one shared instance: bound, loaded, modeless. It prints
// on the printer that the frame's printer setup configures.
void frmMain::mnuReminders_Click()
{
    runGuarded([&] { frmReminder::Launch(this, printer()); });
}

// The growth curve of a case window: its notes, then the puppy's or kitten's
// curves with the case's own species, weight, age and units.
void frmMain::showGrowthCurve(const CaseFacts &facts)
{
    ShowGrowthCurve(this, GrowthCase{facts.species, facts.currentWt, facts.weeksOld, facts.units, facts.ref.caseNo,
                                     facts.ref.animalName});
}

namespace {
// A growth curve's Print Preview: the report of the case the window plotted,
// with the chart's picture it hands over.
frmReports *previewGrowthCurve(const GrowthCurveWindow::PreviewRequest &request)
{
    ReportFills::GrowthCurveFacts facts;
    facts.kitten = request.reportName == QLatin1String("GrowthCurveFel");
    facts.CurrAnimalName = request.growthCase.animalName;
    facts.CurrWeeksOld = request.growthCase.weeksOld;
    facts.CurrWeight = request.growthCase.weight;
    facts.CurrUnits = request.growthCase.units;
    return prepareGrowthCurve(facts, request.picture);
}
} // namespace

void frmMain::installToolHooks()
{
    // The viewer opens inside the frame, which the growth-curve window stood
    // over when its button was pressed: the frame comes to the front with it.
    GrowthCurveWindow::setPreviewHook(
        [this](const GrowthCurveWindow::PreviewRequest &request) { showChild(previewGrowthCurve(request)); });
}
