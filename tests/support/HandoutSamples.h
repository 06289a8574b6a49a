#pragma once
// A client handout's figures as a case window of a dog over his range shows
// them, for the tests of the handout's fills and of its viewer.
#include "curves_reports/ReportFills.h"

inline ReportFills::HandoutFacts sampleHandoutRex()
{
    ReportFills::HandoutFacts f;
    f.Age = QStringLiteral("6 years, 3 months, 2 weeks");
    f.Summary = QStringLiteral("Rex is overweight and above his target range. (If Adult)");
    f.IdealWt = QStringLiteral("Rex is  1.1 kg over his ideal weight of  30 kg");
    f.AvWt = QStringLiteral("Average weight over the past 11 weeks =  32.65 kg");
    f.LossRate = QStringLiteral("Average weight loss over past 4 weeks =  .38 kg/wk");
    f.TimeToTarget = QStringLiteral("Heading to target. Estimated time to ideal weight = 2.9 weeks");
    f.BreedRecWtLb = QStringLiteral("55 - 74.8 lb");
    f.BreedRecWt = QStringLiteral("25-34 kg");
    f.Target = QStringLiteral("L");
    f.Progress = QStringLiteral("J");
    f.AnName = QStringLiteral("Rex");
    f.Surname = QStringLiteral("O'Hollings");
    f.Spp = QStringLiteral("Dog");
    f.Breed = QStringLiteral("Labrador Retriever");
    f.Sex = QStringLiteral("Male Neutered");
    f.TelNo = QStringLiteral("01632 960555");
    f.DateLastWt = QStringLiteral("06/Dec/26");
    f.WtRange = QStringLiteral("From  28 to  32 kg");
    f.DietRec = QStringLiteral("06/Dec/26\r\nWeight Control Dry: 310 g a day\r\nNo treats between meals");
    f.VetCom = QStringLiteral("Good progress.\r\n06-Dec-2026:\r\nKeep the evening walk.");
    return f;
}
