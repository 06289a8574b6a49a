#pragma once
// The diet catalogue: a modal picker that lists the diets of one species and
// narrows the list by clinical condition (a fixed tree of 95 conditions) or by
// name, shows the clicked diet, and hands its name and energy figures back to
// the window that opened it. The practice adds diets of its own here and
// deletes them again from the list's pop-up menu.
//
// The opener calls Launch() with the species whose diets it wants
// ("canine" or "feline"); Launch binds Data1 to the clinic database, presses
// LoadListSpecies and shows the window modally:
//
//     fmDiets::Launch(this, QStringLiteral("canine"), [this](const PickedDiet &diet) { ... });
//
// The receiver runs only on "&Return", once, before the window closes.
#include "diets/DietCatalogue.h"

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>

class DataControl;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

/// What "&Return" hands back: the texts of the calculator's diet name and
/// its four energy boxes.
struct PickedDiet {
    QString DietSelected; // the diet's name, without leading and trailing blanks
    QString MEDryText;    // KCal per 100 gm of the dry form, plain number text ("350", "12.5")
    QString MEPerCup;     // KCal per cup of the dry form, plain number text
    QString MECanText;    // KCal per 100 gm of the canned form, plain number text
    QString GmPerCan;     // gm in one can, as the picker shows it
};

class fmDiets : public QDialog {
    Q_OBJECT
public:
    using Receiver = std::function<void(const PickedDiet &)>;

    /// A picker of the diets of one species ("canine" or "feline"): its
    /// lists by species, condition and name hold that species' diets.
    explicit fmDiets(const QString &species, QWidget *parent = nullptr);
    ~fmDiets() override;

    /// The calculator's diet button: a new picker of the species' diets over
    /// requester gets Data1 bound to the clinic database, LoadListSpecies
    /// pressed, and is shown modally. receive gets the diet when the user
    /// presses "&Return" (and requester still exists). Returns
    /// QDialog::Accepted when a diet was handed back. Throws FwError when the
    /// database cannot be bound.
    static int Launch(QWidget *requester, const QString &species, const Receiver &receive);

    /// Who gets the diet on "&Return": receive runs only while requester
    /// exists.
    void setReceiver(QObject *requester, const Receiver &receive);

    /// The data control of the shown diet; the opener binds it to the clinic
    /// database before pressing LoadListSpecies.
    DataControl *Data1 = nullptr;

    /// 0 while the list holds catalogue diets, -1 while it holds the
    /// practice's own; it changes only together with a list that was filled.
    qint16 ListAdded = 0;

    // Handlers, by the names the window's controls give them.
    void Form_Load();
    /// The hidden loader button: the diets of the picker's species.
    void LoadListSpecies_Click();
    void TreeView1_NodeClick(QTreeWidgetItem *node);
    /// The search box after each edit: the list holds the species' diets whose
    /// name contains the box's text.
    void Narrower_Change();
    /// A key typed into the search box before it takes it: a key that is no
    /// search key (Enter, control characters) is refused with a message and
    /// changes nothing. Returns true when the key was refused.
    bool Narrower_KeyPress(char32_t KeyAscii);
    void LocateMode_Click();
    void DietListing_Click();
    /// Button: 1 left, 2 right, 4 middle; the right button shows the pop-up
    /// menu for the line it selected.
    void DietListing_MouseUp(int Button, int Shift, int X, int Y);
    void DeleteCase_Click();
    void AddDiet_Click();
    void UpdateDiet_Click();
    void DryBut_Click();
    void CCancel_Click();
    void Protected_Click();
    void DietName_LostFocus();
    void DietNameAdded_Change();
    void HHelp_Click();
    /// The practice's own diets, after one was added. Throws on failure.
    void HiddenReloadAdded();

    /// True while the window is in its add mode.
    bool addMode() const { return m_addMode; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    void buildControls();
    QVBoxLayout *buildListSide();
    QVBoxLayout *buildDietSide();
    void buildEnergyPanel();
    void connectSignals();
    void buildTree();
    void setMode(bool add);
    void applyProtection();
    /// Put a list into DietListing; ListAdded follows the list's table.
    void FillDietListing(const ::DietListing &listing);
    /// Run a list query and show its list; on success it becomes the list
    /// that a refill after a conflict repeats.
    void showList(const std::function<::DietListing(const DietCatalogue &)> &query);
    enum class Leave {
        Saved,    // what was typed is stored (or nothing was typed)
        Refused,  // the typed name lacks the species word: the user corrects it first
        Conflict, // the row changed or vanished elsewhere: reported, the row let go
    };
    /// Save what was typed into the shown diet before the window leaves it.
    /// A row changed or deleted elsewhere meanwhile is reported, the diet let
    /// go and, with refill, the list filled anew.
    Leave leaveRow(bool refill = true);
    /// The name typed over the shown diet's must hold "Canine" or "Feline";
    /// otherwise the user is told so, once, and the name box gets the focus.
    bool checkDietName();
    /// True when the name box holds the stored name or one with the word.
    bool dietNameAcceptable() const;
    /// A name that cannot be stored: the user is asked whether to put the
    /// stored name back (true) or go on typing (false, the name box gets the
    /// focus). True at once when the name can be stored.
    bool discardTypedName();
    void backToDietName();
    /// Show no diet: the boxes empty, nothing clicked.
    void forgetRow();
    /// Select the line of the shown diet again (after a click that could not leave it).
    void selectShown();
    void refillAfterConflict();
    DietCatalogue catalogue() const;
    /// The diet typed into the add boxes.
    Diet typedDiet() const;

    // Controls, named as the system names them.
    QTreeWidget *TreeView1 = nullptr;
    QListWidget *DietListing = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLineEdit *Narrower = nullptr;
    QPushButton *LocateMode = nullptr;
    QLabel *DietNameLbl = nullptr;
    QLineEdit *DietName = nullptr;
    QPlainTextEdit *Indications = nullptr;
    QPlainTextEdit *Contraind = nullptr;
    QLineEdit *MEDry = nullptr;
    QLineEdit *MECan = nullptr;
    QLineEdit *KCalPerCup = nullptr;
    QLineEdit *DryAs = nullptr;
    QLineEdit *CannedAs = nullptr;
    QFrame *Frame1 = nullptr;
    QCheckBox *Protected = nullptr;
    QPushButton *AddDiet = nullptr;
    QPushButton *DryBut = nullptr;
    QPushButton *CCancel = nullptr;
    QPushButton *HHelp = nullptr;
    QPushButton *UpdateDiet = nullptr;
    QLabel *DietNameLabel = nullptr;
    QLineEdit *DietNameAdded = nullptr;
    QPlainTextEdit *IndicationsAdded = nullptr;
    QPlainTextEdit *ContraindAdded = nullptr;
    QLineEdit *MEDryAdded = nullptr;
    QLineEdit *MECanAdded = nullptr;
    QLineEdit *KCalPerCupAdded = nullptr;
    QLineEdit *DryAsAdded = nullptr;
    QLineEdit *CannedAsAdded = nullptr;
    QMenu *Hidden = nullptr;
    QWidget *m_addSpacer = nullptr;
    /// The tree's two pictures, keyed "Closed" and "Opened".
    QHash<QString, QIcon> ImageList1;

    QList<QWidget *> m_browseSet; // without DietNameLbl and DietName
    QList<QWidget *> m_addSet;
    bool m_addMode = false;
    /// The diet last clicked in the list; none after the list was refilled.
    std::optional<Diet> m_clicked;
    std::function<::DietListing(const DietCatalogue &)> m_lastQuery;
    bool m_checkingName = false;
    QPointer<QObject> m_requester;
    Receiver m_receive;
    /// "canine" or "feline": whose diets the lists hold.
    QString m_species;
};
