#pragma once
// The diet calculator: the daily energy need of a dog or a cat, for
// maintenance or a reduction diet, and the amounts of a chosen diet in its dry
// and canned forms and as a mix of both.
//
// One shared, modeless window. It is opened either for a case window, which
// hands over its case's facts as a value (handOverCase), or on its own after
// the user has chosen a unit (openStandAlone). Closing it through its Close
// button offers the result back to the case window that asked, if that window
// is still open, and otherwise tells the user that nothing was stored; closing
// it any other way hands nothing back. The window is deleted when it closes,
// so the next opening starts afresh.
//
// The window only gathers its inputs, calls the arithmetic of DietEnergy and
// shows the results or the refusals. It keeps the results as values and
// writes its result labels from them (the mix and the recommendation read
// the values, never the labels), and it keeps its own unit (set when it is
// loaded and at every hand-over), so one calculation never mixes two units.
#include "diets/DietEnergy.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QVBoxLayout;

/// The facts of a case that the calculator needs, handed over as a value.
struct DietCase {
    QString species;       // the case's species text, as stored ("Dog", "Cat", ...)
    float idealWeight = 0; // the case's ideal weight, in `units`
    QString units;         // the unit the case is weighed in ("kg", "lb", ...)
};

class DietCalculator : public QWidget {
    Q_OBJECT
public:
    /// Loads the window in a unit ("kg", "lb", ...): the unit captions are set
    /// and the window is reset. It is not shown yet.
    explicit DietCalculator(const QString &units, QWidget *parent = nullptr);
    ~DietCalculator() override;

    /// What the recommendation hand-back delivers to the case window: the
    /// recommendation text, which replaces the text of its diet recommendation
    /// box, or kFocusOnly, when the box should only get the focus so that the
    /// user can type (a case that is neither a dog nor a cat).
    using Deliver = std::function<void(const QString &)>;
    static inline const QString kFocusOnly = QStringLiteral("**");

    /// A case window hands its case over. The calculator, if already open, is
    /// first reset (results and diet) and takes the case's unit, so that one
    /// case's results never go back into another. A cat or a dog then gets
    /// its species chosen, its ideal weight entered, the window shown and the
    /// diet picker opened; any other species gets the note that the
    /// calculator is for dogs and cats only, a weight of "0" and the window.
    /// On Close the text goes to `deliver` only while `requester` still
    /// exists; once it has gone, Close hands nothing back and, for a dog or a
    /// cat, says that the recommendation was not stored.
    void handOverCase(const DietCase &dietCase, QPointer<QObject> requester, Deliver deliver);

    /// Opened without a case, in the unit the user chose: nothing will be
    /// handed back. A calculator already open in another unit is reset, as
    /// its figures were worked out in that unit. Shows the window.
    void openStandAlone(const QString &units);

    /// The diet picker's return: the diet's name and its figures as texts
    /// (energy of the dry form per 100 gm, per cup, of the canned form per
    /// 100 gm, grams per can). Nothing is recalculated; results of an
    /// earlier calculation are cleared, as they were another diet's.
    void receiveDiet(const QString &name, const QString &meDry, const QString &mePerCup, const QString &meCan,
                     const QString &gmPerCan);

    /// How the diet button opens the picker (set by whoever owns the picker)
    /// for the diets of a species ("feline" or "canine"); the picker hands
    /// its diet back through receiveDiet. Unset: the button only chooses the
    /// diet species.
    using PickerOpener = std::function<void(DietCalculator &, const QString &dietSpecies)>;
    void setPickerOpener(PickerOpener opener);

    /// The unit of this window's calculations.
    QString units() const { return m_units; }
    /// True while a live case window waits for this calculator's result.
    bool servesCase() const { return !m_requester.isNull(); }
    /// True once the window has closed (it is deleted when control returns
    /// to the event loop); the next opening loads a new one.
    bool closed() const { return m_closed; }

    // Handlers (the system's names).
    void Form_Load();
    void SpeciesOp_Click(int Index);
    void Stat_Click(int Index);
    void Reset_Click();
    void Calculate_Click(); // "Maint."
    void CalcRed_Click();   // "Reducn"
    /// The mix: run when the user moves the slider, never when the program
    /// puts it back to 0.
    void Slider1_Scroll();
    void DietButton_Click();
    void HHelp_Click();
    void Close_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildSpecies();
    void buildWeight();
    void buildDiet();
    void buildStates();
    QGroupBox *frameOf(DietFactors::Tab tab) const;
    QVBoxLayout *buildButtons();
    QGroupBox *buildResults();
    void buildMix();
    void applyUnits(const QString &units);
    void calculate(DietEnergy::Plan plan);
    /// The program's own move of the slider: no mix runs.
    void setSliderQuietly(int position);
    void setShares(const DietEnergy::Shares &shares);
    /// Every result back to "0" and the slider to no mix.
    void clearResults();
    /// Keeps the results and writes every result label from them.
    void showResults(const DietEnergy::Results &results);
    void setDietName(const QString &name);
    void selectSpecies(int index);
    void clearSpecies();
    DietFactors::Species speciesCode() const { return m_SpeciesCode; }
    int selectedStat() const;
    int selectedEnvir() const;
    DietEnergy::DietFigures dietFigures() const;
    void focusField(DietEnergy::Field field);
    QString recommendation() const;

    // Window state.
    DietFactors::Species m_SpeciesCode = DietFactors::Species::None;
    QString m_units;
    DietEnergy::Unit m_unit = DietEnergy::Unit::Unknown;
    // The results the labels show, and the name of the diet they are for.
    DietEnergy::Results m_results;
    QString m_dietName;
    PickerOpener m_pickerOpener;
    // The case window that asked for this calculation, and how its result
    // goes back. m_forCase stays true when that window has closed since.
    bool m_forCase = false;
    QPointer<QObject> m_requester;
    Deliver m_deliver;
    QString m_caseSpecies;
    bool m_closed = false;
    bool m_placed = false;

    // Controls, named as the system names them.
    QGroupBox *Frame1 = nullptr;
    std::array<QRadioButton *, 2> SpeciesOp{};
    QButtonGroup *speciesGroup = nullptr;
    QGroupBox *Frame2 = nullptr;
    QPushButton *DietButton = nullptr;
    QLabel *DietSelected = nullptr;
    QLineEdit *MEDryText = nullptr;
    QLineEdit *MECanText = nullptr;
    QLineEdit *MEPerCup = nullptr;
    QLineEdit *GmPerCan = nullptr;
    QGroupBox *WtUnitsLabel = nullptr;
    QLineEdit *Weight = nullptr;
    QTabWidget *SSTab1 = nullptr;
    QGroupBox *Frame7 = nullptr;
    QGroupBox *Frame8 = nullptr;
    QGroupBox *Frame9 = nullptr;
    QGroupBox *Frame4 = nullptr;
    std::array<QRadioButton *, 19> Stat{};
    QButtonGroup *statGroup = nullptr;
    std::array<QRadioButton *, 4> Envir{};
    QButtonGroup *envirGroup = nullptr;
    QPushButton *Calculate = nullptr;
    QPushButton *CalcRed = nullptr;
    QPushButton *Reset = nullptr;
    QPushButton *Close = nullptr;
    QPushButton *HHelp = nullptr;
    QLabel *KCalPerDay = nullptr;
    QLabel *ResultDry = nullptr;
    QLabel *gmozUnitsDry = nullptr;
    QLabel *CupAmt = nullptr;
    QLabel *ResultCan = nullptr;
    QLabel *gmozUnitsCan = nullptr;
    QLabel *CanAmt = nullptr;
    QSlider *Slider1 = nullptr;
    QLabel *PCanned = nullptr;
    QLabel *PDry = nullptr;
    QLabel *MixDry = nullptr;
    QLabel *MixCups = nullptr;
    QLabel *MixCanned = nullptr;
    QLabel *MixCans = nullptr;
};
