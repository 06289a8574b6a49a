#pragma once
// The application-wide state: the system's own named values, one copy for the
// whole program, reached through App(). Tests call resetApp() between cases.
//
// These are the program's only application-wide values with the system's
// names. Windows do not hand values to one another through them: a window
// passes a case or a result as an argument or through a typed member
// function, and a field below that the system writes for another window to
// read is still written where the system writes it, while the reader takes
// the value as an argument.
//
// The other mutable statics of the program, each private to its file and
// reached through functions of its own, hold the plumbing of one service, not
// values handed between windows:
//   platform: the clock's set time (Clock), the installed prompt backend, the
//     window boxes open over and the dialog backend (Prompt), the last sound
//     and the count of sounds asked for (Sound), the sound player's one
//     effect (SoundPlayer), the link's topics, their next id and the one
//     server (LinkServer), the database's lock wait, the turn's wait state,
//     the wait handlers, the waits' file names, the elapsed wait and the
//     connections' transaction states (ClinicDb), the help window (Help);
//   cases: the case windows' host (CaseHost), the open case entry window
//     (CaseDetails), the loaded locator (fmLocator), the case notifier
//     (CaseNotifier);
//   curves_reports: the report viewers' host (ReportHost), the growth
//     curves' Print Preview hook (GrowthCurveWindow);
//   shell: the one frame (frmMain).
#include <QString>
#include <QtGlobal>

struct AppState {
    // Paths
    QString AppPath;      // folder of the shipped files, ends in "/"
    QString DBFPath;      // folder of the database file, ends in "/"
    QString DBFName;      // DBFPath + "Fenwarra.mdb"
    QString HelpFilePath; // AppPath + "FW2P0.hlp"
    QString EditionTag;   // "NW"

    // Link with a practice-management program
    QString Linked; // "0", "1" or "2"
    // The other program's record number of the client, as received. Written
    // by the link window and the new-case entry; the linked opening takes the
    // number as an argument.
    QString LinkRecNo;

    // Chart and print options ("0"/"1", colour index "0".."15")
    QString BackColour;
    QString PrintOption;
    QString LegendCheck;
    QString SymbolCheck;

    // The current case: the one last opened, loaded or picked in any window.
    // A case window writes them when it loads or becomes active (CurrAgeText
    // also wherever a date of birth is entered). The windows that serve a case take its
    // facts from the case window as a value, so that they never show another
    // case's figures; these fields are kept, and written, for the system that
    // names them, and nothing in the program reads them.
    QString CurrCaseNo; // digits without a leading blank
    QString CurrSurname;
    QString CurrAnimalName;
    QString CurrAgeText;
    QString CurrSpecies;
    QString CurrBreed;
    QString CurrSex;
    QString CurrUnits;
    float CurrWeight = 0.0f;
    qint16 CurrWeeksOld = 0;

    // Values the system hands between windows through the application-wide
    // state. They are written where the system writes them; the windows pass
    // the values themselves as arguments.
    QString DietSpecies;     // "feline" or "canine": the calculator's diet button; the picker is given it
    QString DietRecTransfer; // "*" nothing, "**" focus only, else the text: the calculator's Close;
                             // the frame's Command1 is given it with the case window it goes to
    // Kept for the system that names them; nothing in the program reads them.
    qint16 DietCalcStandAlone = 0; // 0 false, -1 true: the calculator runs without a case window
    QString ReportName;            // "ClientHandOut", "GrowthCurveK9", "GrowthCurveFel": the last report prepared
};

AppState &App();
void resetApp();
