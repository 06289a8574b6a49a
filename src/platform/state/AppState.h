#pragma once
// The application-wide state: one copy for the whole program, reached through
// App(). Nothing else in the program is global. Tests call resetApp() between
// cases.
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
    QString Linked;    // "0", "1" or "2"
    QString LinkRecNo; // the other program's record number of the client, as received

    // Chart and print options ("0"/"1", colour index "0".."15")
    QString BackColour;
    QString PrintOption;
    QString LegendCheck;
    QString SymbolCheck;

    // The current case: the one last opened, loaded or picked in any window
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

    // Hand-over values between windows
    QString DietSpecies;           // "feline" or "canine"
    QString DietRecTransfer;       // "*" nothing, "**" focus only, else the text
    qint16 DietCalcStandAlone = 0; // 0 false, -1 true
    QString ReportName;            // "ClientHandOut", "GrowthCurveK9", "GrowthCurveFel"
};

AppState &App();
void resetApp();
