// The frame's launchers of the breed weights and the reminder list.
#include "curves_reports/frmBreedSpec.h"
#include "curves_reports/frmReminder.h"
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
