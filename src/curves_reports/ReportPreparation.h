#pragma once
// Report preparation: from the facts of a case (or of a growth curve) and the
// picture of its chart to a filled report shown in a new report viewer.
//
// The preparations take values, not windows: the case window (or the growth
// window) gathers its facts and draws its chart at print size, in colour or
// in monochrome as the print option says, and hands both over. The report is
// built from them in memory, so the viewer shows exactly the case that was
// asked for, whatever is prepared after it here or on another workstation.
#include "curves_reports/ReportFills.h"

#include <QImage>

class frmReports;

/// The client handout: the case's figures are written to the row of Report
/// Variables (the record of the last handout), the handout is built from
/// them, the practice's details and the chart picture, and shown in a new
/// viewer, which becomes the active child of the frame. Throws FwError when
/// the database cannot be written or the report cannot be built; nothing is
/// shown then.
frmReports *prepareClientHandout(const ReportFills::HandoutFacts &facts, const QImage &chart);

/// The puppy or kitten growth curve (by facts.kitten) of the animal the growth
/// window plotted, with the practice's details and the curve's picture, shown
/// in a new viewer. Throws FwError when the report cannot be built.
frmReports *prepareGrowthCurve(const ReportFills::GrowthCurveFacts &facts, const QImage &chart);
