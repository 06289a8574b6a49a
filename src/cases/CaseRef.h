#pragma once
// A case as it travels between windows: its number and the names it is shown
// by. Whoever opens a case hands it over as this value; the case window keeps
// its own and makes it the application's current case when it loads or
// becomes active.
#include <QString>

struct CaseRef {
    QString caseNo; // digits without a leading blank
    QString surname;
    QString animalName;

    bool operator==(const CaseRef &o) const
    {
        return caseNo == o.caseNo && surname == o.surname && animalName == o.animalName;
    }
};
