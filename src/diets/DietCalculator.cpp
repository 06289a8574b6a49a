#include "diets/DietCalculator.h"

#include "diets/DietFactors.h"
#include "diets/DietRecommendation.h"
#include "platform/Guard.h"
#include "platform/help/Help.h"
#include "platform/layout/ScreenPlacement.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/text/NumberText.h"
#include "platform/widgets/MakeControl.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

using Controls::button;
using Controls::make;
using DietFactors::Species;

namespace {

constexpr int kHelpTopic = 1123;

const QString kNoSpeciesForDiet = QStringLiteral(" you must first specify a species.");
const QString kDogOrCatOnly = QStringLiteral("The diet calculator is for either dog or cat diets only");
const QString kNoResultQuestion = QStringLiteral("You have no calculated result, is that OK?");
const QString kOtherSpeciesNote = QStringLiteral("To enter a recommendation for another species just") +
                                  QStringLiteral(" type directly into the diet recommendations box");
const QString kTransferQuestion =
    QStringLiteral("Would you like to transfer this calculation back") + QStringLiteral(" to the case record?");
const QString kNothing = QStringLiteral("*");
const QString kCaseWindowClosedNote =
    QStringLiteral("This calculation has not been stored as a diet recommendation: the case window that opened "
                   "the diet calculator has been closed. Open the case and use its Diet Calc. button to "
                   "calculate for it again.");

/// A label that shows a result: a sunken box of a fixed size wide enough for
/// the largest amount, so that a new figure never makes the window lay
/// itself out again.
QLabel *resultLabel(QWidget *parent, const char *name)
{
    auto *label = make<QLabel>(parent, name, DietEnergy::kNoResult);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const QFontMetrics fm(label->font());
    label->setFixedSize(fm.horizontalAdvance(QStringLiteral(" 88888.8")) + 10, fm.height() + 6);
    return label;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

QLineEdit *figureBox(QWidget *parent, const char *name)
{
    auto *box = make<QLineEdit>(parent, name);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("8888.88")) + 12);
    return box;
}

/// A tab of the animal's states: a page holding one group box, named
/// `frameName`, whose buttons stand in a grid.
QWidget *tabPage(QTabWidget *tabs, const char *frameName, QGroupBox *&frame)
{
    auto *pageWidget = new QWidget(tabs);
    frame = make<QGroupBox>(pageWidget, frameName);
    auto *pageLayout = new QVBoxLayout(pageWidget);
    pageLayout->addWidget(frame);
    new QGridLayout(frame);
    return pageWidget;
}

/// Each frame's buttons in two columns, top to bottom.
void placeInColumns(QGroupBox *frame, QRadioButton *button)
{
    auto *grid = static_cast<QGridLayout *>(frame->layout());
    const int n = grid->count();
    const int rows = 4;
    grid->addWidget(button, n % rows, n / rows);
}

/// Clear every button of an exclusive set (the platform would keep one).
void clearGroup(QButtonGroup *group)
{
    group->setExclusive(false);
    for (QAbstractButton *b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

} // namespace

DietCalculator::DietCalculator(const QString &units, QWidget *parent) : QWidget(parent, Qt::Window), m_units(units)
{
    setObjectName(QStringLiteral("DietCalculator"));
    setWindowTitle(QStringLiteral("Diet Calculator"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    Form_Load();
}

DietCalculator::~DietCalculator() = default;

void DietCalculator::closeEvent(QCloseEvent *event)
{
    // The close box hands nothing back: only Close offers the result.
    m_closed = true;
    QWidget::closeEvent(event);
}

void DietCalculator::showEvent(QShowEvent *event)
{
    if (!m_placed && !event->spontaneous()) {
        m_placed = true;
        ScreenPlacement::keepOnScreen(this, parentWidget());
    }
    QWidget::showEvent(event);
}

void DietCalculator::buildControls()
{
    // Built in the order the controls stand on the screen, which is the order
    // the Tab key follows.
    buildSpecies();
    buildWeight();
    buildDiet();
    buildStates();
    QVBoxLayout *buttons = buildButtons();
    QGroupBox *resultsBox = buildResults();

    auto *top = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(Frame1);
    left->addWidget(WtUnitsLabel);
    top->addLayout(left);
    top->addWidget(Frame2, 1);
    auto *middle = new QHBoxLayout;
    middle->addWidget(SSTab1, 1);
    middle->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addWidget(resultsBox);
}

void DietCalculator::buildSpecies()
{
    Frame1 = make<QGroupBox>(this, "Frame1", QStringLiteral("1. &Species"));
    speciesGroup = new QButtonGroup(this);
    auto *speciesLayout = new QVBoxLayout(Frame1);
    const char *speciesCaptions[] = {"Feline", "Canine"};
    for (int i = 0; i < 2; ++i) {
        SpeciesOp[i] = new QRadioButton(QLatin1String(speciesCaptions[i]), Frame1);
        SpeciesOp[i]->setObjectName(QStringLiteral("SpeciesOp(%1)").arg(i));
        speciesGroup->addButton(SpeciesOp[i], i);
        speciesLayout->addWidget(SpeciesOp[i]);
        connect(SpeciesOp[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                runGuarded(this, [&] { SpeciesOp_Click(i); });
        });
    }
    speciesLayout->addStretch(1);
}

void DietCalculator::buildWeight()
{
    WtUnitsLabel = make<QGroupBox>(this, "WtUnitsLabel", QStringLiteral("3. Weight"));
    Weight = make<QLineEdit>(WtUnitsLabel, "Weight");
    auto *weightLayout = new QVBoxLayout(WtUnitsLabel);
    weightLayout->addWidget(Weight);
    weightLayout->addStretch(1);
}

void DietCalculator::buildDiet()
{
    Frame2 = make<QGroupBox>(this, "Frame2", QStringLiteral("2. Select a D&iet"));
    DietButton = make<QPushButton>(Frame2, "DietButton", QStringLiteral("Diet List..."));
    DietButton->setToolTip(QStringLiteral("Choose a diet from the list of diets"));
    connect(DietButton, &QPushButton::clicked, this, [this] { DietButton_Click(); });
    DietSelected = make<QLabel>(Frame2, "DietSelected");
    DietSelected->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    DietSelected->setMinimumWidth(DietSelected->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);
    DietSelected->setWordWrap(true);
    MEDryText = figureBox(Frame2, "MEDryText");
    MECanText = figureBox(Frame2, "MECanText");
    MEPerCup = figureBox(Frame2, "MEPerCup");
    GmPerCan = figureBox(Frame2, "GmPerCan");
    auto *dietGrid = new QGridLayout(Frame2);
    dietGrid->addWidget(DietButton, 0, 0);
    dietGrid->addWidget(DietSelected, 0, 1, 1, 4);
    dietGrid->addWidget(caption(QStringLiteral("Dry"), Frame2), 1, 0);
    dietGrid->addWidget(caption(QStringLiteral("Canned"), Frame2), 1, 2);
    dietGrid->addWidget(MEDryText, 2, 0);
    dietGrid->addWidget(caption(QStringLiteral("KCal/100 gm"), Frame2), 2, 1);
    dietGrid->addWidget(MECanText, 2, 2);
    dietGrid->addWidget(caption(QStringLiteral("KCal/100 gm"), Frame2), 2, 3);
    dietGrid->addWidget(MEPerCup, 3, 0);
    dietGrid->addWidget(caption(QStringLiteral("KCal/Cup"), Frame2), 3, 1);
    dietGrid->addWidget(GmPerCan, 3, 2);
    dietGrid->addWidget(caption(QStringLiteral("gm/can"), Frame2), 3, 3);
    dietGrid->setColumnStretch(4, 1);
}

void DietCalculator::buildStates()
{
    // The animal's state and environment, on four tabs. The 19 state buttons
    // stand on three tabs but form one group: one state in all.
    SSTab1 = make<QTabWidget>(this, "SSTab1");
    statGroup = new QButtonGroup(this);
    envirGroup = new QButtonGroup(this);
    const std::array<const char *, 4> frameNames{"Frame7", "Frame8", "Frame9", "Frame4"};
    std::array<QGroupBox **, 4> frames{&Frame7, &Frame8, &Frame9, &Frame4};
    for (std::size_t t = 0; t < DietFactors::kTabCaptions.size(); ++t)
        SSTab1->addTab(tabPage(SSTab1, frameNames[t], *frames[t]), QLatin1String(DietFactors::kTabCaptions[t]));
    for (int i = 0; i < int(DietFactors::kStates.size()); ++i) {
        QGroupBox *frame = frameOf(DietFactors::kStates[i].tab);
        Stat[i] = new QRadioButton(QLatin1String(DietFactors::kStates[i].caption), frame);
        Stat[i]->setObjectName(QStringLiteral("Stat(%1)").arg(i));
        statGroup->addButton(Stat[i], i);
        placeInColumns(frame, Stat[i]);
    }
    connect(statGroup, &QButtonGroup::idClicked, this, [this](int id) { runGuarded(this, [&] { Stat_Click(id); }); });
    for (int j = 0; j < int(DietFactors::kEnvironments.size()); ++j) {
        Envir[j] = new QRadioButton(QLatin1String(DietFactors::kEnvironments[j].caption), Frame8);
        Envir[j]->setObjectName(QStringLiteral("Envir(%1)").arg(j));
        envirGroup->addButton(Envir[j], j);
        placeInColumns(Frame8, Envir[j]);
    }
    for (QGroupBox *frame : {Frame7, Frame8, Frame9, Frame4}) {
        auto *grid = static_cast<QGridLayout *>(frame->layout());
        grid->setRowStretch(4, 1);
        grid->setColumnStretch(2, 1);
    }
}

QGroupBox *DietCalculator::frameOf(DietFactors::Tab tab) const
{
    switch (tab) {
    case DietFactors::Tab::Illness:
        return Frame7;
    case DietFactors::Tab::Environment:
        return Frame8;
    case DietFactors::Tab::Reproduction:
        return Frame9;
    case DietFactors::Tab::GrowthActivity:
        break;
    }
    return Frame4;
}

QVBoxLayout *DietCalculator::buildButtons()
{
    Calculate = button(this, "Calculate", QStringLiteral("Maint."), [this] { Calculate_Click(); });
    Calculate->setToolTip(QStringLiteral("Maintenance diet"));
    CalcRed = button(this, "CalcRed", QStringLiteral("Reducn"), [this] { CalcRed_Click(); });
    CalcRed->setToolTip(QStringLiteral("Reduction diet"));
    Reset = button(this, "Reset", QStringLiteral("&Reset"), [this] { Reset_Click(); });
    Close = button(this, "Close", QStringLiteral("&Close"), [this] { Close_Click(); });
    HHelp = button(this, "HHelp", QStringLiteral("&Help"), [this] { HHelp_Click(); });
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {Calculate, CalcRed, Reset, Close, HHelp})
        buttons->addWidget(b);
    buttons->addStretch(1);
    return buttons;
}

QGroupBox *DietCalculator::buildResults()
{
    // Results: the full amounts of each form, and beside them the mix.
    KCalPerDay = resultLabel(this, "KCalPerDay");
    ResultDry = resultLabel(this, "ResultDry");
    CupAmt = resultLabel(this, "CupAmt");
    ResultCan = resultLabel(this, "ResultCan");
    CanAmt = resultLabel(this, "CanAmt");
    MixDry = resultLabel(this, "MixDry");
    MixCups = resultLabel(this, "MixCups");
    MixCanned = resultLabel(this, "MixCanned");
    MixCans = resultLabel(this, "MixCans");
    gmozUnitsDry = make<QLabel>(this, "gmozUnitsDry", QStringLiteral("gm Dry"));
    gmozUnitsCan = make<QLabel>(this, "gmozUnitsCan", QStringLiteral("gm Canned"));
    // The unit texts may change with the unit, not with each calculation.
    const int unitWidth = fontMetrics().horizontalAdvance(QStringLiteral("Cups of dry")) + 8;
    buildMix();

    auto *results = new QGridLayout;
    results->setHorizontalSpacing(8);
    results->addWidget(KCalPerDay, 0, 0);
    results->addWidget(caption(QStringLiteral("KCal/day"), this), 0, 1);
    auto *mixHeading = new QHBoxLayout;
    mixHeading->addWidget(caption(QStringLiteral("Mix"), this));
    mixHeading->addSpacing(6);
    mixHeading->addWidget(Slider1, 1);
    results->addLayout(mixHeading, 0, 3, 1, 3);
    auto *sharesRow = new QHBoxLayout;
    sharesRow->addStretch(1);
    sharesRow->addWidget(PCanned);
    sharesRow->addWidget(PDry);
    results->addLayout(sharesRow, 1, 3, 1, 3);
    struct Row {
        QLabel *full;
        QWidget *unit;
        QLabel *mix;
    };
    QLabel *cups = caption(QStringLiteral("Cups of dry"), this);
    QLabel *cans = caption(QStringLiteral("Cans"), this);
    const Row rows[] = {{ResultDry, gmozUnitsDry, MixDry},
                        {CupAmt, cups, MixCups},
                        {ResultCan, gmozUnitsCan, MixCanned},
                        {CanAmt, cans, MixCans}};
    int r = 2;
    for (const Row &row : rows) {
        results->addWidget(row.full, r, 0);
        row.unit->setMinimumWidth(unitWidth);
        results->addWidget(row.unit, r, 1);
        results->addWidget(row.mix, r, 3);
        ++r;
    }
    results->setColumnMinimumWidth(2, 16);
    results->setColumnStretch(5, 1);

    auto *resultsBox = new QGroupBox(QStringLiteral("Results"), this);
    resultsBox->setLayout(results);
    return resultsBox;
}

void DietCalculator::buildMix()
{
    Slider1 = make<QSlider>(this, "Slider1", Qt::Horizontal);
    Slider1->setRange(0, 10);
    Slider1->setPageStep(1);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setTickInterval(1);
    // The mix runs once the user lets go of the slider (or steps it with the
    // keys), so a refusal never lands in the middle of a drag.
    Slider1->setTracking(false);
    connect(Slider1, &QSlider::valueChanged, this, [this] { Slider1_Scroll(); });
    PCanned = make<QLabel>(this, "PCanned", QStringLiteral("0% Can"));
    PDry = make<QLabel>(this, "PDry", QStringLiteral("100% Dry"));
    // Fixed sizes: new shares repaint two labels, they never lay the window out.
    const QSize shareSize(fontMetrics().horizontalAdvance(QStringLiteral("100% Can")) + 8, fontMetrics().height() + 4);
    PCanned->setFixedSize(shareSize);
    PDry->setFixedSize(shareSize);
}

void DietCalculator::applyUnits(const QString &units)
{
    m_units = units;
    m_unit = DietEnergy::unitOf(units);
    const DietEnergy::UnitTexts texts = DietEnergy::unitTexts(m_unit);
    WtUnitsLabel->setTitle(texts.WtUnitsLabel);
    gmozUnitsDry->setText(texts.gmozUnitsDry);
    gmozUnitsCan->setText(texts.gmozUnitsCan);
}

// --- loading, species, states, reset ---------------------------------------------------------

void DietCalculator::Form_Load()
{
    runGuarded(this, [&] {
        applyUnits(m_units);
        // The environment factors are the fixed table of DietFactors.
        Reset_Click();
    });
}

void DietCalculator::SpeciesOp_Click(int Index)
{
    // The state factors of the species are looked up from the table at each
    // calculation.
    m_SpeciesCode = Index == 0 ? Species::Feline : Species::Canine;
}

void DietCalculator::Stat_Click(int Index)
{
    // One group across the three tabs: selecting a state clears any other.
    if (Index >= 0 && Index < int(Stat.size()) && !Stat[Index]->isChecked())
        Stat[Index]->setChecked(true);
}

void DietCalculator::selectSpecies(int index)
{
    // Selecting the button runs SpeciesOp_Click, as a click does.
    if (SpeciesOp[index]->isChecked())
        SpeciesOp_Click(index);
    else
        SpeciesOp[index]->setChecked(true);
}

void DietCalculator::clearSpecies()
{
    clearGroup(speciesGroup);
}

void DietCalculator::setSliderQuietly(int position)
{
    const QSignalBlocker quiet(Slider1);
    Slider1->setValue(position);
    Slider1->setSliderPosition(position);
}

void DietCalculator::setShares(const DietEnergy::Shares &shares)
{
    PCanned->setText(shares.PCanned);
    PDry->setText(shares.PDry);
}

void DietCalculator::Reset_Click()
{
    runGuarded(this, [&] {
        m_SpeciesCode = Species::None;
        clearSpecies();
        for (QLineEdit *box : {MEDryText, MECanText, MEPerCup, GmPerCan})
            box->setText(DietEnergy::kNoResult);
        clearResults();
        Stat[DietFactors::kResetStat]->setChecked(true);
        Envir[DietFactors::kResetEnvir]->setChecked(true);
    });
}

void DietCalculator::clearResults()
{
    showResults(DietEnergy::Results());
    setSliderQuietly(0);
    setShares(DietEnergy::shares(0));
}

void DietCalculator::showResults(const DietEnergy::Results &results)
{
    m_results = results;
    const std::pair<QLabel *, const DietEnergy::Amount &> labels[] = {
        {KCalPerDay, m_results.KCalPerDay}, {ResultDry, m_results.ResultDry}, {CupAmt, m_results.CupAmt},
        {ResultCan, m_results.ResultCan},   {CanAmt, m_results.CanAmt},       {MixDry, m_results.MixDry},
        {MixCups, m_results.MixCups},       {MixCanned, m_results.MixCanned}, {MixCans, m_results.MixCans}};
    for (const auto &[label, amount] : labels)
        label->setText(DietEnergy::text(amount));
}

int DietCalculator::selectedStat() const
{
    const int id = statGroup->checkedId();
    return id >= 0 ? id : DietFactors::kResetStat;
}

int DietCalculator::selectedEnvir() const
{
    const int id = envirGroup->checkedId();
    return id >= 0 ? id : DietFactors::kResetEnvir;
}

DietEnergy::DietFigures DietCalculator::dietFigures() const
{
    DietEnergy::DietFigures d;
    d.MEDryText = MEDryText->text();
    d.MEPerCup = MEPerCup->text();
    d.MECanText = MECanText->text();
    d.GmPerCan = GmPerCan->text();
    return d;
}

void DietCalculator::focusField(DietEnergy::Field field)
{
    switch (field) {
    case DietEnergy::Field::Weight:
        Weight->setFocus(Qt::OtherFocusReason);
        break;
    case DietEnergy::Field::MEDryText:
        MEDryText->setFocus(Qt::OtherFocusReason);
        break;
    case DietEnergy::Field::MECanText:
        MECanText->setFocus(Qt::OtherFocusReason);
        break;
    case DietEnergy::Field::MEPerCup:
        MEPerCup->setFocus(Qt::OtherFocusReason);
        break;
    case DietEnergy::Field::GmPerCan:
        GmPerCan->setFocus(Qt::OtherFocusReason);
        break;
    case DietEnergy::Field::None:
        break;
    }
}

// --- the calculations ------------------------------------------------------------------------

void DietCalculator::Calculate_Click()
{
    calculate(DietEnergy::Plan::Maintenance);
}

void DietCalculator::CalcRed_Click()
{
    calculate(DietEnergy::Plan::Reduction);
}

void DietCalculator::calculate(DietEnergy::Plan plan)
{
    runGuarded(this, [&] {
        // A new calculation starts with no mix, before any check.
        setSliderQuietly(0);
        setShares(DietEnergy::shares(0));

        DietEnergy::CalcInput in;
        in.plan = plan;
        in.species = speciesCode();
        in.weight = Weight->text();
        in.unit = m_unit;
        in.stat = selectedStat();
        in.envir = selectedEnvir();
        in.diet = dietFigures();
        const DietEnergy::CalcResult r = DietEnergy::calculate(in);
        if (r.refusal != DietEnergy::CalcRefusal::None) {
            Prompt::Message(DietEnergy::refusalText(r.refusal), Prompt::Icon::Critical);
            focusField(DietEnergy::refusalField(r.refusal));
            return;
        }
        showResults(r.results);
    });
}

void DietCalculator::Slider1_Scroll()
{
    runGuarded(this, [&] {
        DietEnergy::MixInput in;
        in.position = Slider1->value();
        in.shown = m_results;
        in.diet = dietFigures();
        in.unit = m_unit;
        const DietEnergy::MixResult r = DietEnergy::mix(in);
        if (r.refusal != DietEnergy::MixRefusal::None) {
            // Back to no mix before the message, so the slider shows what stands.
            setSliderQuietly(0);
            Prompt::Message(DietEnergy::refusalText(r.refusal), Prompt::Icon::Critical);
            focusField(DietEnergy::refusalField(r.refusal));
            return;
        }
        setShares(r.shares);
        DietEnergy::Results results = m_results;
        results.MixDry = r.MixDry;
        results.MixCups = r.MixCups;
        results.MixCanned = r.MixCanned;
        results.MixCans = r.MixCans;
        showResults(results);
    });
}

// --- diet, help ------------------------------------------------------------------------------

void DietCalculator::DietButton_Click()
{
    runGuarded(this, [&] {
        QString species;
        if (SpeciesOp[0]->isChecked()) {
            species = QStringLiteral("feline");
        } else if (SpeciesOp[1]->isChecked()) {
            species = QStringLiteral("canine");
        } else {
            Prompt::Message(kNoSpeciesForDiet, Prompt::Icon::Information);
            return;
        }
        App().DietSpecies = species;
        // The picker is modal, lists the diets of the species it is given and
        // hands its diet back through receiveDiet; nothing is recalculated
        // when it returns.
        if (m_pickerOpener)
            m_pickerOpener(*this, species);
    });
}

void DietCalculator::receiveDiet(const QString &name, const QString &meDry, const QString &mePerCup,
                                 const QString &meCan, const QString &gmPerCan)
{
    setDietName(name);
    MEDryText->setText(meDry);
    MEPerCup->setText(mePerCup);
    MECanText->setText(meCan);
    GmPerCan->setText(gmPerCan);
    // Amounts worked out for the diet shown before are no amounts of this
    // one: they would go into the case under this diet's name.
    clearResults();
}

void DietCalculator::setDietName(const QString &name)
{
    m_dietName = name;
    DietSelected->setText(name);
}

void DietCalculator::setPickerOpener(PickerOpener opener)
{
    m_pickerOpener = std::move(opener);
}

void DietCalculator::HHelp_Click()
{
    runGuarded(this, [&] { Help::showTopic(App().HelpFilePath, kHelpTopic); });
}

// --- opening and the hand-back ---------------------------------------------------------------

void DietCalculator::handOverCase(const DietCase &dietCase, QPointer<QObject> requester, Deliver deliver)
{
    // A calculator not shown yet cannot carry a box: the boxes then open
    // where they usually do.
    runGuarded(isVisible() ? this : nullptr, [&] {
        App().DietCalcStandAlone = 0; // opened for a case window
        // A clean start: nothing of an earlier case may go back into this one.
        applyUnits(dietCase.units);
        Reset_Click();
        setDietName(QString());
        m_forCase = true;
        m_requester = requester;
        m_deliver = std::move(deliver);
        m_caseSpecies = dietCase.species;

        const bool cat = dietCase.species.trimmed() == QLatin1String("Cat");
        const bool dog = !cat && dietCase.species == QLatin1String("Dog");
        if (cat || dog) {
            selectSpecies(cat ? 0 : 1);
            Weight->setText(NumText::Str(dietCase.idealWeight));
            show();
            raise();
            activateWindow();
            DietButton_Click();
            return;
        }
        Prompt::MsgBox(kDogOrCatOnly, Prompt::Buttons::OK, Prompt::Icon::None, QString());
        Weight->setText(DietEnergy::kNoResult);
        show();
        raise();
        activateWindow();
    });
}

void DietCalculator::openStandAlone(const QString &units)
{
    runGuarded(this, [&] {
        App().DietCalcStandAlone = -1;
        // Nothing goes back to a case from here on, even if one asked before.
        m_forCase = false;
        m_requester.clear();
        m_deliver = nullptr;
        m_caseSpecies.clear();
        if (units != m_units) {
            // Figures worked out in the other unit would be read in this one.
            applyUnits(units);
            Reset_Click();
        }
        show();
        raise();
        activateWindow();
    });
}

QString DietCalculator::recommendation() const
{
    using DietEnergy::text;
    const DietEnergy::UnitTexts units = DietEnergy::unitTexts(m_unit);
    DietRecommendation::Captions c;
    c.DietSelected = m_dietName;
    c.CupAmt = text(m_results.CupAmt);
    c.ResultDry = text(m_results.ResultDry);
    c.gmozUnitsDry = units.gmozUnitsDry;
    c.CanAmt = text(m_results.CanAmt);
    c.ResultCan = text(m_results.ResultCan);
    c.gmozUnitsCan = units.gmozUnitsCan;
    c.MixCups = text(m_results.MixCups);
    c.MixCans = text(m_results.MixCans);
    return DietRecommendation::text(c);
}

void DietCalculator::Close_Click()
{
    runGuarded(this, [&] {
        if (m_results.ResultDry.kind == DietEnergy::Amount::Kind::NoResult &&
            Prompt::MsgBox(kNoResultQuestion, Prompt::Buttons::YesNo, Prompt::Icon::Information, Prompt::kTitle) ==
                Prompt::Answer::No) {
            Calculate->setFocus(Qt::OtherFocusReason);
            return;
        }
        // Opened on its own: nothing to hand back.
        if (!m_forCase) {
            close();
            return;
        }
        const bool dogOrCat = m_caseSpecies == QLatin1String("Dog") || m_caseSpecies == QLatin1String("Cat");
        // The case window that asked has closed since: its case gets nothing,
        // and the user, who would have been offered the transfer, learns why.
        if (m_requester.isNull()) {
            if (dogOrCat)
                Prompt::Message(kCaseWindowClosedNote, Prompt::Icon::Information);
            close();
            return;
        }
        QString transfer;
        if (!dogOrCat) {
            Prompt::Message(kOtherSpeciesNote, Prompt::Icon::Information);
            transfer = kFocusOnly;
        } else if (Prompt::MsgBox(kTransferQuestion, Prompt::Buttons::YesNo, Prompt::Icon::Information,
                                  Prompt::kTitle) == Prompt::Answer::Yes) {
            transfer = recommendation();
        } else {
            transfer = kNothing;
        }
        App().DietRecTransfer = transfer;
        const QPointer<QObject> requester = m_requester;
        const Deliver deliver = m_deliver;
        close();
        if (transfer != kNothing && requester && deliver)
            deliver(transfer);
    });
}
