#pragma once
// Opening a case into a new case window: the one shared sequence with its
// callers' variants (which steps run, when the recent-cases menu is pushed).
#include "cases/CaseRef.h"

class frmDocument;

enum class OpenVariant {
    Linked,            // the practice-management link: the record number sent against LinkedRecNo
    Recent,            // the recent-cases menu: the number parsed from the caption
    LocatorOrReminder, // locator Go To, reminder list: the selected case
    NewCase,           // new-case entry's Done
    Edited,            // case editing's Update (no recent push)
};

/// Run the sequence for the case handed over (the recent-cases reopening
/// needs only the number; the linked opening finds its case by linkRecNo, the
/// record number the practice-management program sent, and needs no ref).
/// Returns the window opened, or null when it failed (the failure was
/// reported as the variant requires). Never throws.
frmDocument *OpenCaseInDocument(OpenVariant variant, const CaseRef &ref = {}, const QString &linkRecNo = {});
