// The frame's side of the reports and of the two small settings dialogs: the
// report viewers as child windows, the options and the practice details.
#include "shell/frmMain.h"

#include "cases/frmDocument.h"
#include "curves_reports/ReportPreparation.h"
#include "curves_reports/frmReports.h"
#include "platform/Guard.h"
#include "platform/db/DataControl.h"
#include "platform/state/AppState.h"
#include "platform/text/NumberText.h"
#include "shell/Personalisation.h"
#include "shell/frmOptions.h"

void frmMain::addReportWindow(QWidget *window)
{
    addChild(window);
}

// The options, modal, owned by the frame; they read the settings anew every
// time they open.
void frmMain::mnuViewOptions_Click()
{
    runGuarded([&] {
        frmOptions dialog(this);
        dialog.Form_Load();
        dialog.exec();
    });
}

// The practice details, modal, on the one row of Personal.
void frmMain::mnuPersonalize_Click()
{
    runGuarded([&] {
        Personalisation dialog(this);
        BindToClinicDB(*dialog.Data1, QStringLiteral("Personal"));
        dialog.exec();
    });
}

// The client handout of the active case window: its texts as it shows them,
// what is typed in its boxes stored in the case's row first, and its chart as
// the options print it.
void frmMain::mnuFilePrint_Click()
{
    // Asked again while a report viewer is the active window: that viewer is
    // shown as it is, with no report of another case built behind it.
    if (auto *viewer = qobject_cast<frmReports *>(activeChild())) {
        showChild(viewer);
        return;
    }
    // A failure other than the missing window shows its text in a plain box.
    forActiveCase(
        QStringLiteral("No document open on which to create a report!"),
        [](frmDocument &doc) {
            doc.makeCurrent();
            // Text the window could not store stays in its box, and the
            // handout prints it as shown; the window has said why.
            doc.saveTypedText();
            const bool monochrome = NumText::Val(App().PrintOption) == 1;
            prepareClientHandout(doc.handout(), doc.printPicture(monochrome));
        },
        Prompt::Icon::None);
}
