// The frame's side of the reports and of the two small settings dialogs: the
// report viewers as child windows, the options and the practice details.
#include "shell/frmMain.h"

#include "platform/Guard.h"
#include "platform/db/DataControl.h"
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
