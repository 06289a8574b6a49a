#pragma once
// What a client handout copies from a case window: the texts the window shows,
// in the order of the table that keeps the last handout (Report Variables).
#include <QString>

struct CaseHandout {
    QString Age;
    QString Summary;
    QString IdealWt;
    QString AvWt;
    QString LossRate;
    QString TimeToTarget;
    QString BreedRecWtLb;
    QString BreedRecWt;
    QString Target;   // face code "J" or "L"
    QString Progress; // face code "J", "K" or "L"
    QString AnName;
    QString Surname;
    QString Spp;
    QString Breed;
    QString Sex;
    QString TelNo;
    QString DateLastWt;
    QString WtRange;
    QString DietRec; // several lines, CR LF between them
    QString VetCom;  // several lines
};
