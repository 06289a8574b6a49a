#pragma once
// The case details window: entry of a new case (one animal of one client).
// The New Case command prepares it; Add New Record reserves the next case
// number at once (a row holding only that number); Done checks the fields,
// completes that row and opens the case in a new case window.
//
// The window holds the number it reserved itself, so other windows opening
// or loading cases meanwhile cannot redirect the entry. A reservation that is
// never completed (the window closed by the program, the program ending) is
// removed again. Only one case details window exists at a time.
//
// Its controls are its own: other windows give it whole operations (a new
// case, an edit, a date of birth); tests and users' scripts find the controls
// by their objectNames.
#include "cases/CaseOpening.h"

#include <QDate>
#include <QDialog>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QtGlobal>
#include <memory>

#include <optional>

class DataControl;
class frmDOBAge;
class frmDocument;
struct CaseFacts;
class CaseDetailsLinkTopic;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class CaseDetails : public QDialog {
    Q_OBJECT
public:
    /// New-case entry, or the editing of an existing case (which reuses the
    /// same fields and rules with the Update button).
    enum class Mode { NewCase, Edit };

    explicit CaseDetails(QWidget *parent = nullptr, Mode mode = Mode::NewCase);
    ~CaseDetails() override;

    /// The open case details window, or null.
    static CaseDetails *instance();

    /// The frame's New Case command: prepares the window for a new case and,
    /// by the link mode, shows it (0), shows it and reserves a number at once
    /// (1), or shows nothing (any other mode). While a case details window is
    /// open it is brought forward instead, so no entry is prepared twice.
    static void NewCaseCommand(QWidget *frame);

    Mode mode() const { return m_mode; }
    /// The case number this window reserved; 0 before Add New Record.
    qint64 reservedCaseNo() const { return m_caseNo; }

    // Handlers
    void Form_Load();
    void AddNewRec_Click();
    void Done_Click();
    void CCancel_Click();
    void CalcAge_Click();
    void HHelp_Click();
    void SSurname_KeyUp();
    void AnName_KeyUp();
    void TelNo_KeyUp();
    void UpperWt_KeyUp();
    void LowerWt_KeyUp();
    void CurrWt_KeyUp();
    /// The user made or changed the species choice.
    void SSpecies_Click();
    /// A close through the window's own close box is refused (returns false).
    bool Form_QueryUnload(bool byCloseBox);
    void Form_Unload();

    /// Close the window as the program does (never refused).
    void unload();

    /// The date-of-birth window while it is open.
    frmDOBAge *dobWindow() const;
    /// What the date-of-birth window worked out: the date of birth and the age.
    void setDateOfBirth(const QString &dob, const QString &age);

    // Editing an existing case (defined in CaseDetails_Edit.cpp).
    /// The frame's Edit Case Details command, on the case of the frame's
    /// active case window: that window is closed and the case details
    /// window opens on the case's row. Throws FwError when it cannot.
    static void EditCaseCommand(QWidget *frame, frmDocument &doc);
    /// Load the case's row for editing; the species, breed and sex lists
    /// follow the case window's facts. Throws FwError when the row is gone.
    void loadForEdit(qint64 caseNo, const CaseFacts &caseWindow);
    /// Check the edited details, store them and open the case again.
    void UUpdate_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Entry fields
    QLineEdit *SSurname = nullptr;
    QLineEdit *TelNo = nullptr;
    QLineEdit *AnName = nullptr;
    QComboBox *SSpecies = nullptr;
    QComboBox *BBreedK9 = nullptr;
    QComboBox *BBreedFel = nullptr;
    QComboBox *SSex = nullptr;
    QLabel *DOB = nullptr;
    QLabel *AAge = nullptr;
    QPushButton *CalcAge = nullptr;
    QGroupBox *Frame1 = nullptr;
    QRadioButton *Units[4] = {};
    QLineEdit *UpperWt = nullptr;
    QLineEdit *LowerWt = nullptr;
    QLineEdit *CurrWt = nullptr;
    QPlainTextEdit *VetCom = nullptr;
    QLineEdit *HiddenText = nullptr;
    // Buttons
    QPushButton *AddNewRec = nullptr;
    QPushButton *Done = nullptr;
    QPushButton *UUpdate = nullptr;
    QPushButton *CCancel = nullptr;
    QPushButton *HHelp = nullptr;

    DataControl *Data1 = nullptr; // while editing: the case's row
    // Data sources of the pick lists and the practice's telephone number.
    DataControl *Data2 = nullptr; // [Dog Breeds], field Breed
    DataControl *Data3 = nullptr; // [CAT BREEDS], field Name
    DataControl *Data4 = nullptr; // [Species], field Species Name
    DataControl *Data5 = nullptr; // [Sex], field Sex Name
    DataControl *Data6 = nullptr; // [Personal], field Tel No

    /// The user turned to a breed list.
    void BBreed_GotFocus(QComboBox *list);

    // The link topic through which a practice-management program fills a new
    // case (link mode 1), offered while the reserved entry waits.
    std::unique_ptr<CaseDetailsLinkTopic> m_linkTopic;
    /// Check the fields and store the new case under the reserved number;
    /// the number stored, or nothing when a check refused (and said so).
    std::optional<qint64> storeNewCase();
    /// Check the edited details and store them; the case's number, or
    /// nothing when a check refused (and said so).
    std::optional<qint64> storeEdit();
    /// Write the edited details to the row as Data1 read it, in one
    /// transaction; throws FwError 3197/3167 when it changed or went meanwhile.
    void writeEditedDetails(const QString &species, const QDate &dob);
    /// After a write refused because the case changed elsewhere: tell the
    /// user what changed and take the row as it now stands, so that the next
    /// Update stores the details over it; when the same details were changed
    /// there, ask first and store at once on Yes. True when stored.
    bool storeOverChangesElsewhere(qint64 caseNo, const QString &species, const QDate &dob);
    /// Close this window and open the case it stored, as the given caller.
    void closeAndOpenCase(qint64 caseNo, OpenVariant variant);
    /// The checks that every required field holds an entry (false: one was
    /// reported and has the focus).
    bool requiredFieldsEntered();
    /// The surname, name and telephone boxes within their lengths; a longer
    /// text is cut with the box's message and has the focus (false).
    bool textsWithinLimits();
    /// The rule of a limited box, as its key release runs it.
    void runFieldRule(QObject *box);
    void buildLayout();
    void createControls();
    void arrangeControls();
    void connectHandlers();
    void hideEntryFields();
    void setEntryFieldsVisible(bool visible);
    void bindDataSources();
    void fillList(QComboBox *list, DataControl *data, const QString &field);
    /// Whether the control holds an entry; an empty one, or one still holding
    /// the text a new entry starts with, is reported and gets the focus.
    bool CheckFieldEntered(QWidget *control);
    /// The text a new entry puts into the control ("Surname?"), or "".
    QString placeholderOf(const QWidget *control) const;
    /// The lower acceptable weight is not above the upper one; otherwise
    /// reported, with the focus on the lower weight.
    bool rangeInOrder();
    void limitLength(QLineEdit *box, int maxLength, const QString &message);
    void weightKeyUp(QLineEdit *box, const QString &tooLongMessage);
    bool checkWeight(QLineEdit *box, const QString &message);
    QString selectedUnits() const;
    /// Dogs and cats are weighed in kg or lb, for a new case and an edit
    /// alike; otherwise reported, with the focus on `focus` (false).
    bool unitsFitSpecies(const QString &species, QWidget *focus);
    void releaseReservation();

    Mode m_mode;
    qint64 m_caseNo = 0; // reserved and not yet completed
    QString m_dbfName;   // the database the number was reserved in
    bool m_programClose = false;
    bool m_unloaded = false;
    QPointer<frmDOBAge> m_dobWindow;
    // Keys whose press reached one of the entry boxes and whose release has
    // not come yet (see eventFilter).
    QSet<int> m_keysPressedInBoxes;
};
