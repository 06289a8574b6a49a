#pragma once
// Opening a case into a new case window: the one shared sequence with its
// callers' variants (which steps run, when the recent-cases menu is pushed).
class frmDocument;

enum class OpenVariant {
    Linked,            // the practice-management link: App().LinkRecNo against LinkedRecNo
    Recent,            // the recent-cases menu: App().CurrCaseNo parsed from the caption
    LocatorOrReminder, // locator Go To, reminder list: App().CurrCaseNo/CurrAnimalName/CurrSurname
    NewCase,           // new-case entry's Done
    Edited,            // case editing's Update (no recent push)
};

/// Run the sequence for the current case of the application state. Returns
/// the window opened, or null when it failed (the failure was reported as the
/// variant requires). Never throws.
frmDocument *OpenCaseInDocument(OpenVariant variant);
