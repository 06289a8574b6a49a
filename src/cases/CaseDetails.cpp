#include "cases/CaseDetails.h"

#include "cases/CaseDetailsLinkTopic.h"

#include "cases/CaseOpening.h"
#include "cases/CaseStore.h"
#include "cases/Species.h"
#include "cases/Weighing.h"
#include "cases/frmDOBAge.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/help/Help.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/state/LinkMode.h"
#include "platform/text/Clock.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/widgets/MakeControl.h"
#include "platform/widgets/SelectAllText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <optional>

namespace {

constexpr int kHelpTopic = 1037;
constexpr int kSurnameMax = 30;
constexpr int kNameMax = 20;
constexpr int kTelMax = 20;
constexpr int kWeightMax = 6;

const QString kSurnameTooLong = QStringLiteral("The Surname must be 30 characters or less in length");
const QString kNameTooLong = QStringLiteral("The animal's name must be 20 characters or less in length");
const QString kTelTooLong = QStringLiteral("The Telephone number must be 20 characters or less in length");

const QString kRangeBackToFront =
    QStringLiteral("The lower acceptable weight must not be more than the upper acceptable weight");

QPointer<CaseDetails> &openWindow()
{
    static QPointer<CaseDetails> window;
    return window;
}

// A widget whose size stays reserved in the layout while it is hidden, so the
// form does not jump when the entry fields appear.
template <typename W> W *keepPlace(W *w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
    return w;
}

QString textOf(QWidget *control)
{
    if (auto *e = qobject_cast<QLineEdit *>(control))
        return e->text();
    if (auto *c = qobject_cast<QComboBox *>(control))
        return c->currentText();
    if (auto *t = qobject_cast<QPlainTextEdit *>(control))
        return t->toPlainText();
    if (auto *l = qobject_cast<QLabel *>(control))
        return l->text();
    return QString();
}

// The client's record number in the practice-management program, when the
// text is a whole number; anything else is not written.
std::optional<qint64> wholeNumber(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^\\s*(\\d{1,18})\\s*$"));
    const QRegularExpressionMatch m = digits.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toLongLong();
}

} // namespace

CaseDetails::CaseDetails(QWidget *parent, Mode mode) : QDialog(parent), m_mode(mode)
{
    setObjectName(QStringLiteral("CaseDetails"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("New Case Details Entry Form"));
    setModal(false);

    Data2 = new DataControl(this);
    Data2->setObjectName(QStringLiteral("Data2"));
    Data3 = new DataControl(this);
    Data3->setObjectName(QStringLiteral("Data3"));
    Data4 = new DataControl(this);
    Data4->setObjectName(QStringLiteral("Data4"));
    Data5 = new DataControl(this);
    Data5->setObjectName(QStringLiteral("Data5"));
    Data6 = new DataControl(this);
    Data6->setObjectName(QStringLiteral("Data6"));

    buildLayout();

    // A reservation must not outlive the program when it ends before Done.
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] { releaseReservation(); });

    openWindow() = this;
    Form_Load();
}

CaseDetails::~CaseDetails()
{
    if (!m_unloaded)
        Form_Unload();
    releaseReservation();
}

CaseDetails *CaseDetails::instance()
{
    return openWindow();
}

frmDOBAge *CaseDetails::dobWindow() const
{
    return m_dobWindow.data();
}

void CaseDetails::setDateOfBirth(const QString &dob, const QString &age)
{
    DOB->setText(dob);
    AAge->setText(age);
}

void CaseDetails::buildLayout()
{
    createControls();
    arrangeControls();
    connectHandlers();
}

void CaseDetails::createControls()
{
    using Controls::button;
    using Controls::make;
    auto lineEdit = [this](const char *name) {
        auto *e = keepPlace(make<QLineEdit>(this, name));
        e->installEventFilter(this);
        return e;
    };
    auto combo = [this](const char *name) {
        auto *c = keepPlace(make<QComboBox>(this, name));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->installEventFilter(this);
        return c;
    };

    // Created in the order the boxes stand on the screen, which is the order
    // the Tab key follows.
    SSurname = lineEdit("SSurname");
    AnName = lineEdit("AnName");
    TelNo = lineEdit("TelNo");
    SSpecies = combo("SSpecies");
    BBreedK9 = combo("BBreedK9");
    BBreedFel = combo("BBreedFel");
    SSex = combo("SSex");
    DOB = keepPlace(make<QLabel>(this, "DOB"));
    DOB->setFrameShape(QFrame::Panel);
    DOB->setFrameShadow(QFrame::Sunken);
    DOB->setMinimumWidth(110);
    DOB->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    keepPlace(DOB);
    AAge = keepPlace(make<QLabel>(this, "AAge"));
    AAge->setFrameShape(QFrame::Panel);
    AAge->setFrameShadow(QFrame::Sunken);
    AAge->setMinimumWidth(160);
    AAge->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    keepPlace(AAge);
    // The two labels line up with the entry boxes above them.
    for (QLabel *l : {DOB, AAge}) {
        l->setMinimumHeight(SSurname->sizeHint().height());
        l->setMargin(2);
    }
    CalcAge = keepPlace(button(this, "CalcAge", QStringLiteral("Enter DOB or A&ge")));

    Frame1 = make<QGroupBox>(this, "Frame1", QStringLiteral("Units of Measurement"));
    auto *unitsRow = new QHBoxLayout(Frame1);
    const QString captions[4] = {QStringLiteral("kg"), QStringLiteral("gm"), QStringLiteral("lb"),
                                 QStringLiteral("oz")};
    for (int i = 0; i < 4; ++i) {
        Units[i] = keepPlace(new QRadioButton(captions[i], Frame1));
        Units[i]->setObjectName(QStringLiteral("Units(%1)").arg(i));
        unitsRow->addWidget(Units[i]);
    }
    Units[0]->setChecked(true);

    UpperWt = lineEdit("UpperWt");
    LowerWt = lineEdit("LowerWt");
    CurrWt = lineEdit("CurrWt");
    VetCom = keepPlace(make<QPlainTextEdit>(this, "VetCom"));
    VetCom->setTabChangesFocus(true);
    VetCom->installEventFilter(this);
    VetCom->setMinimumHeight(70);

    HiddenText = make<QLineEdit>(this, "HiddenText", QStringLiteral("Hidden Text"));
    HiddenText->hide();

    AddNewRec = button(this, "AddNewRec", QStringLiteral("&Add New Record"));
    AddNewRec->setDefault(true);
    Done = button(this, "Done", QStringLiteral("&Done"));
    UUpdate = button(this, "UUpdate", QStringLiteral("&Update"));
    CCancel = button(this, "CCancel", QStringLiteral("&Cancel"));
    HHelp = button(this, "HHelp", QStringLiteral("&Help"));
    Done->hide();
    UUpdate->hide();
    for (QLineEdit *weight : {UpperWt, LowerWt, CurrWt})
        weight->setMinimumWidth(80);
}

void CaseDetails::arrangeControls()
{
    // Two boxes side by side, each a column of captioned fields; the buttons
    // in a row below them.
    struct Field {
        const char *caption;
        QList<QWidget *> widgets; // more than one share the place; one is shown
    };
    auto addFields = [](QGridLayout *grid, int &row, const QList<Field> &fields) {
        for (const Field &f : fields) {
            grid->addWidget(new QLabel(QString::fromUtf8(f.caption), grid->parentWidget()), row, 0);
            for (QWidget *w : f.widgets)
                grid->addWidget(w, row, 1);
            ++row;
        }
    };

    auto *caseBox = new QGroupBox(QStringLiteral("Case Details"), this);
    auto *cg = new QGridLayout(caseBox);
    int row = 0;
    // The two breed lists share one place; the species decides which is shown.
    addFields(cg, row,
              {{"Surname:", {SSurname}},
               {"Animal's Name:", {AnName}},
               {"Contact Tel #:", {TelNo}},
               {"Species:", {SSpecies}},
               {"Breed:", {BBreedFel, BBreedK9}},
               {"Sex:", {SSex}}});
    auto *age = new QHBoxLayout;
    age->addWidget(DOB);
    age->addWidget(AAge, 1);
    cg->addLayout(age, row, 0, 1, 2);
    ++row;
    cg->addWidget(CalcAge, row, 1, Qt::AlignLeft);
    cg->setColumnStretch(1, 1);
    cg->setRowStretch(row + 1, 1);

    // Weight details
    auto *weightBox = new QGroupBox(QStringLiteral("Weight Details"), this);
    auto *wg = new QGridLayout(weightBox);
    row = 0;
    wg->addWidget(Frame1, row++, 0, 1, 2);
    addFields(wg, row,
              {{"2. Upper Acceptable Weight:", {UpperWt}},
               {"3. Lower Acceptable Weight:", {LowerWt}},
               {"4. Current Weight:", {CurrWt}}});
    wg->addWidget(new QLabel(QStringLiteral("5. Veterinary Comments:"), weightBox), row++, 0, 1, 2);
    wg->addWidget(VetCom, row++, 0, 1, 2);
    wg->setColumnStretch(1, 1);

    auto *boxes = new QHBoxLayout;
    boxes->addWidget(caseBox, 1);
    boxes->addWidget(weightBox, 1);

    // Add New Record, Done and Update occupy one place; at most one is shown.
    auto *mainButton = new QGridLayout;
    mainButton->addWidget(AddNewRec, 0, 0);
    mainButton->addWidget(Done, 0, 0);
    mainButton->addWidget(UUpdate, 0, 0);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addLayout(mainButton);
    buttons->addWidget(CCancel);
    buttons->addWidget(HHelp);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(buttons);
}

void CaseDetails::connectHandlers()
{
    connect(AddNewRec, &QPushButton::clicked, this, &CaseDetails::AddNewRec_Click);
    connect(Done, &QPushButton::clicked, this, &CaseDetails::Done_Click);
    connect(CCancel, &QPushButton::clicked, this, &CaseDetails::CCancel_Click);
    connect(CalcAge, &QPushButton::clicked, this, &CaseDetails::CalcAge_Click);
    connect(HHelp, &QPushButton::clicked, this, &CaseDetails::HHelp_Click);
    // Only the user's own choice or typing decides the breed list; the
    // program's filling of the species text does not.
    connect(SSpecies, &QComboBox::activated, this, [this](int) { SSpecies_Click(); });
    connect(SSpecies->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &) { SSpecies_Click(); });
    // Typed text is ruled when its key is released; text that reaches a box
    // otherwise (pasted from the box's menu, dropped into it) is ruled as
    // soon as the box has taken it, so no way round the rules is left.
    for (QLineEdit *box : {SSurname, AnName, TelNo, UpperWt, LowerWt, CurrWt})
        connect(box, &QLineEdit::textEdited, this, [this, box](const QString &) {
            if (!m_keysPressedInBoxes.isEmpty())
                return;
            QTimer::singleShot(0, box, [this, box] { runGuarded(this, [&] { runFieldRule(box); }); });
        });
}

// ---------------------------------------------------------------------------
// The New Case command

void CaseDetails::NewCaseCommand(QWidget *frame)
{
    // A case details window already open keeps its entry (and its reserved
    // number); it is brought forward instead of being prepared again.
    if (CaseDetails *open = instance()) {
        if (!open->isVisible())
            open->show();
        open->raise();
        open->activateWindow();
        return;
    }

    auto *w = new CaseDetails(frame);
    const bool prepared = runGuarded(
        [w] {
            w->hideEntryFields();
            w->bindDataSources();
        },
        Prompt::Icon::Information, [w] { w->unload(); });
    if (!prepared)
        return;

    switch (currentLinkMode()) {
    case LinkMode::Normal:
        w->show();
        w->AddNewRec->setFocus();
        break;
    case LinkMode::NewCase:
        w->show();
        w->AddNewRec_Click();
        break;
    case LinkMode::AwaitRecord:
        // Waiting for the other program starts no entry: nothing is shown.
        w->unload();
        break;
    }
}

void CaseDetails::Form_Load()
{
    // Stays above the other windows of the program while an entry is made.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void CaseDetails::setEntryFieldsVisible(bool visible)
{
    QWidget *fields[] = {SSurname, AnName,   TelNo,    SSpecies, BBreedFel, BBreedK9, SSex,    DOB,    AAge,
                         Units[0], Units[1], Units[2], Units[3], CalcAge,   UpperWt,  LowerWt, CurrWt, VetCom};
    for (QWidget *w : fields)
        w->setVisible(visible);
}

void CaseDetails::hideEntryFields()
{
    setEntryFieldsVisible(false);
}

void CaseDetails::bindDataSources()
{
    struct Source {
        DataControl *data;
        QString table;
    };
    const Source sources[] = {{Data2, QStringLiteral("[Dog Breeds]")},
                              {Data3, QStringLiteral("[CAT BREEDS]")},
                              {Data4, QStringLiteral("[Species]")},
                              {Data5, QStringLiteral("[Sex]")},
                              {Data6, QStringLiteral("[Personal]")}};
    for (const Source &s : sources)
        BindToClinicDB(*s.data, s.table);
    fillList(BBreedK9, Data2, QStringLiteral("Breed"));
    fillList(BBreedFel, Data3, QStringLiteral("Name"));
    fillList(SSpecies, Data4, QStringLiteral("Species Name"));
    fillList(SSex, Data5, QStringLiteral("Sex Name"));
}

void CaseDetails::fillList(QComboBox *list, DataControl *data, const QString &field)
{
    list->clear();
    Recordset &rs = data->recordset();
    if (!rs.isOpen())
        return;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        list->addItem(rs.text(field));
    rs.moveFirst();
    list->setCurrentIndex(-1);
    list->setEditText(QString());
}

// ---------------------------------------------------------------------------
// Reserving the number

void CaseDetails::AddNewRec_Click()
{
    runGuarded(this, [&] {
        // The number is reserved before anything else changes, so a failure
        // leaves the window as it was, ready to try again.
        const QString dbfName = App().DBFName;
        const qint64 caseNo = CaseStore::reserveCaseNumber(ClinicDb::connection(dbfName));
        m_caseNo = caseNo;
        m_dbfName = dbfName;

        setEntryFieldsVisible(true);
        Done->show();
        AddNewRec->hide();
        CCancel->hide();

        setWindowTitle(QStringLiteral("New Case Details (To be Stored as Case number ") + NumText::Str(caseNo) +
                       QStringLiteral(")"));

        SSurname->setText(QStringLiteral("Surname?"));
        AnName->setText(QStringLiteral("Name?"));
        const Recordset &personal = Data6->recordset();
        TelNo->setText(personal.isOpen() && !personal.eof() ? personal.text(QStringLiteral("Tel No")) : QString());
        VetCom->setPlainText(QStringLiteral("None"));
        // Focus after the texts, so that the surname box selects "Surname?"
        // and the first key stroke replaces it.
        SSurname->setFocus();

        switch (currentLinkMode()) {
        case LinkMode::Normal:
            SSpecies->setEditText(QStringLiteral("Species?"));
            BBreedFel->setEditText(QStringLiteral("Domestic Shorthair"));
            BBreedK9->setEditText(QStringLiteral("Cross Breed"));
            SSex->setEditText(QStringLiteral("Sex?"));
            break;
        case LinkMode::NewCase:
            // The practice-management program fills species and sex.
            SSpecies->setEditText(QString());
            SSex->setEditText(QString());
            CalcAge->hide();
            // Offered only now that the number is reserved and the boxes are
            // set, so that nothing resets what the partner writes.
            m_linkTopic = std::make_unique<CaseDetailsLinkTopic>(
                CaseDetailsLinkTopic::Boxes{HiddenText,
                                            SSurname,
                                            AnName,
                                            TelNo,
                                            SSpecies,
                                            BBreedK9,
                                            BBreedFel,
                                            SSex,
                                            DOB,
                                            AAge,
                                            {Units[0], Units[1], Units[2], Units[3]},
                                            UpperWt,
                                            LowerWt,
                                            CurrWt,
                                            VetCom,
                                            [this] { SSpecies_Click(); }});
            break;
        case LinkMode::AwaitRecord:
            break;
        }
    });
}

// ---------------------------------------------------------------------------
// Field rules

void CaseDetails::limitLength(QLineEdit *box, int maxLength, const QString &message)
{
    if (box->text().size() <= maxLength)
        return;
    Prompt::Message(message, Prompt::Icon::Information);
    box->setText(box->text().left(maxLength));
    box->selectAll();
}

void CaseDetails::weightKeyUp(QLineEdit *box, const QString &tooLongMessage)
{
    if (!NumText::IsNumeric(box->text())) {
        Prompt::MsgBox(QStringLiteral("Numeric data only"), Prompt::Buttons::OK, Prompt::Icon::None);
        return;
    }
    limitLength(box, kWeightMax, tooLongMessage);
}

void CaseDetails::SSurname_KeyUp()
{
    limitLength(SSurname, kSurnameMax, kSurnameTooLong);
}

void CaseDetails::AnName_KeyUp()
{
    limitLength(AnName, kNameMax, kNameTooLong);
}

void CaseDetails::TelNo_KeyUp()
{
    limitLength(TelNo, kTelMax, kTelTooLong);
}

void CaseDetails::UpperWt_KeyUp()
{
    weightKeyUp(UpperWt, QStringLiteral("The upper weight should contain 6 characters in length"));
}

void CaseDetails::LowerWt_KeyUp()
{
    weightKeyUp(LowerWt, QStringLiteral("The lower weight should contain 6 characters in length"));
}

void CaseDetails::CurrWt_KeyUp()
{
    weightKeyUp(CurrWt, QStringLiteral("The current weight should contain 6 characters in length"));
}

void CaseDetails::SSpecies_Click()
{
    const QString species = SSpecies->currentText();
    BBreedK9->setVisible(Species::parse(species) == Species::Kind::Dog);
    BBreedFel->setVisible(Species::parse(species) == Species::Kind::Cat);
}

void CaseDetails::BBreed_GotFocus(QComboBox * /*list*/)
{
    if (SSpecies->currentText() != QLatin1String("Species?"))
        return;
    Prompt::Message(QStringLiteral("You must first select a species"), Prompt::Icon::Critical);
    SSpecies->setFocus();
}

void CaseDetails::runFieldRule(QObject *box)
{
    if (box == SSurname)
        SSurname_KeyUp();
    else if (box == AnName)
        AnName_KeyUp();
    else if (box == TelNo)
        TelNo_KeyUp();
    else if (box == UpperWt)
        UpperWt_KeyUp();
    else if (box == LowerWt)
        LowerWt_KeyUp();
    else if (box == CurrWt)
        CurrWt_KeyUp();
}

bool CaseDetails::eventFilter(QObject *watched, QEvent *event)
{
    runGuarded(this, [&] {
        const bool ruledBox = watched == SSurname || watched == AnName || watched == TelNo || watched == UpperWt ||
                              watched == LowerWt || watched == CurrWt;
        if (event->type() == QEvent::KeyPress && ruledBox) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (!key->isAutoRepeat())
                m_keysPressedInBoxes.insert(key->key());
        } else if (event->type() == QEvent::KeyRelease && ruledBox) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->isAutoRepeat())
                return;
            // A release whose press went to another window is no key stroke in
            // this box: above all the Enter or Esc that closes the box a rule
            // has just shown. Its release lands back here and would bring the
            // same message again, for ever. Tab is the one key counted from
            // elsewhere: its release lands in the box it has just entered.
            const bool pressedInABox = m_keysPressedInBoxes.remove(key->key());
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (!pressedInABox && !tab)
                return;
            runFieldRule(watched);
        } else if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (watched == BBreedK9 || watched == BBreedFel) {
                // Only the user's move into a list counts, not the focus
                // coming back when a message box closes.
                if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                    reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason)
                    BBreed_GotFocus(static_cast<QComboBox *>(watched));
            } else if (watched == SSurname || watched == AnName || watched == TelNo || watched == UpperWt ||
                       watched == LowerWt || watched == CurrWt || watched == VetCom) {
                selectAllOnFocus(static_cast<QWidget *>(watched), static_cast<QFocusEvent *>(event));
            }
        }
    });
    return QDialog::eventFilter(watched, event);
}

QString CaseDetails::placeholderOf(const QWidget *control) const
{
    // The texts a new entry starts with: left as they are, they say nothing
    // about the case, so they count as not entered.
    if (control == SSurname)
        return QStringLiteral("Surname?");
    if (control == AnName)
        return QStringLiteral("Name?");
    if (control == SSpecies)
        return QStringLiteral("Species?");
    if (control == SSex)
        return QStringLiteral("Sex?");
    return QString();
}

bool CaseDetails::CheckFieldEntered(QWidget *control)
{
    // A box of blanks holds nothing either.
    const QString text = textOf(control);
    const QString placeholder = placeholderOf(control);
    if (!text.trimmed().isEmpty() && (placeholder.isEmpty() || text != placeholder))
        return true;
    Prompt::Message(QStringLiteral("Data incomplete. Please enter data at the cursor."), Prompt::Icon::Exclamation);
    control->setFocus();
    return false;
}

bool CaseDetails::checkWeight(QLineEdit *box, const QString &message)
{
    // The row keeps weights as numbers: a text that is no number, or a weight
    // of 0 or less, would be stored as nonsense. So would one beyond the
    // largest weight a case holds, which weighing refuses too.
    const Weighing::AnswerCheck check = Weighing::checkAnswer(box->text());
    if (check == Weighing::AnswerCheck::Ok)
        return true;
    if (check == Weighing::AnswerCheck::TooLarge) {
        const QString which = box == UpperWt   ? QStringLiteral("upper")
                              : box == LowerWt ? QStringLiteral("lower")
                                               : QStringLiteral("current");
        Prompt::Message(QStringLiteral("The ") + which + QStringLiteral(" weight is too large") +
                            Weighing::kLargestWeight,
                        Prompt::Icon::Critical);
    } else {
        Prompt::Message(message, Prompt::Icon::Critical);
    }
    box->setFocus();
    return false;
}

bool CaseDetails::rangeInOrder()
{
    // A range entered back to front would make every analysis of the case
    // nonsense ("above the target range of 20 - 10 kg").
    if (NumText::Val(LowerWt->text()) <= NumText::Val(UpperWt->text()))
        return true;
    Prompt::Message(kRangeBackToFront, Prompt::Icon::Critical);
    LowerWt->setFocus();
    return false;
}

QString CaseDetails::selectedUnits() const
{
    for (QRadioButton *u : Units)
        if (u->isChecked())
            return u->text();
    return QString();
}

bool CaseDetails::unitsFitSpecies(const QString &species, QWidget *focus)
{
    const QString units = selectedUnits();
    if ((Species::parse(species) != Species::Kind::Dog && Species::parse(species) != Species::Kind::Cat) ||
        (units != QLatin1String("oz") && units != QLatin1String("gm")))
        return true;
    Prompt::Message(QStringLiteral("You must use 'lb' or 'kg' units for cats and dogs"), Prompt::Icon::Critical);
    focus->setFocus();
    return false;
}

// ---------------------------------------------------------------------------
// Completing the case

bool CaseDetails::textsWithinLimits()
{
    // The boxes hold their limits however text reached them; what the
    // program itself put there (a longer text stored before) is cut here,
    // with the box's own message, before anything is stored.
    const struct {
        QLineEdit *box;
        int maxLength;
        const QString &message;
    } limits[] = {
        {SSurname, kSurnameMax, kSurnameTooLong}, {AnName, kNameMax, kNameTooLong}, {TelNo, kTelMax, kTelTooLong}};
    for (const auto &l : limits) {
        if (l.box->text().size() <= l.maxLength)
            continue;
        limitLength(l.box, l.maxLength, l.message);
        l.box->setFocus();
        return false;
    }
    return true;
}

bool CaseDetails::requiredFieldsEntered()
{
    // The same fields, in the same order, for a new case and an edit; the
    // first empty one is reported and gets the focus.
    QList<QWidget *> fields{SSurname, AnName, TelNo, SSpecies};
    switch (Species::parse(SSpecies->currentText())) {
    case Species::Kind::Cat:
        fields << BBreedFel;
        break;
    case Species::Kind::Dog:
        fields << BBreedK9;
        break;
    case Species::Kind::Other:
        break;
    }
    fields << SSex << UpperWt << LowerWt << CurrWt << VetCom;
    for (QWidget *field : fields)
        if (!CheckFieldEntered(field))
            return false;
    return true;
}

void CaseDetails::Done_Click()
{
    // The boxes of the checks open over this window; the case window opened
    // at the end is no longer this window's business.
    std::optional<qint64> stored;
    runGuarded(this, [&] { stored = storeNewCase(); });
    if (stored)
        closeAndOpenCase(*stored, OpenVariant::NewCase);
}

std::optional<qint64> CaseDetails::storeNewCase()
{
    if (!textsWithinLimits() || !requiredFieldsEntered())
        return std::nullopt;
    const QString species = SSpecies->currentText();
    if (DOB->text().isEmpty()) {
        Prompt::Message(QStringLiteral("You must enter an age or DOB for this new case. An estimate") +
                            QStringLiteral(" will do"),
                        Prompt::Icon::Exclamation);
        CalcAge->setFocus();
        return std::nullopt;
    }

    const QString units = selectedUnits();
    if (!unitsFitSpecies(species, Units[0]))
        return std::nullopt;

    if (!checkWeight(UpperWt, QStringLiteral("The upper weight must be a number more than 0")) ||
        !checkWeight(LowerWt, QStringLiteral("The lower weight must be a number more than 0")) || !rangeInOrder() ||
        !checkWeight(CurrWt, QStringLiteral("The current weight must be a number more than 0")))
        return std::nullopt;

    if (m_caseNo == 0)
        return std::nullopt; // nothing reserved: Done is not offered then

    CaseStore::NewCaseRow row;
    row.Units = units;
    row.LastWeighed = Clock::today();
    row.Surname = SSurname->text();
    row.AnimalName = AnName->text();
    row.TelNo = TelNo->text();
    row.Species = species;
    row.DOB = DateText::CDate(DOB->text());
    row.Sex = SSex->currentText();
    row.Breed = Species::parse(species) == Species::Kind::Cat   ? BBreedFel->currentText()
                : Species::parse(species) == Species::Kind::Dog ? BBreedK9->currentText()
                                                                : QStringLiteral("-");
    row.UpperWt = NumText::Val(UpperWt->text());
    row.LowerWt = NumText::Val(LowerWt->text());
    row.CurrentWt = NumText::Val(CurrWt->text());
    // The first weekly entry is the current weight exactly as typed.
    row.GraphData = CurrWt->text() + QLatin1Char(';');
    row.VetComments = VetCom->toPlainText();
    if (currentLinkMode() == LinkMode::NewCase)
        row.LinkedRecNo = wholeNumber(HiddenText->text());

    const QSqlDatabase db = ClinicDb::connection(m_dbfName);
    try {
        CaseStore::completeReservation(db, m_caseNo, row);
    } catch (const FwError &e) {
        // Not a failure to show but one to mend, as follows.
        if (e.number() != ErrNo::RowDeleted && e.number() != ErrNo::WriteConflict)
            throw;
        // The number reserved for this entry was removed or used
        // elsewhere meanwhile. What was typed is stored under a fresh
        // number rather than lost, and the window is not left stuck with
        // a number it can never store.
        const qint64 taken = m_caseNo;
        m_caseNo = CaseStore::reserveCaseNumber(db);
        CaseStore::completeReservation(db, m_caseNo, row);
        Prompt::Message(QStringLiteral("Case number %1 was taken meanwhile at another workstation, so this "
                                       "case was stored as case number %2.")
                            .arg(taken)
                            .arg(m_caseNo),
                        Prompt::Icon::Information);
    }
    const qint64 caseNo = m_caseNo;
    m_caseNo = 0; // completed: no longer a reservation to give back
    return caseNo;
}

void CaseDetails::closeAndOpenCase(qint64 caseNo, OpenVariant variant)
{
    // The case to open is the one this window entered or edited, whatever
    // other windows made current meanwhile; the names are the ones stored.
    const QString animalName = AnName->text();
    const QString surname = SSurname->text();
    unload();
    OpenCaseInDocument(variant, CaseRef{QString::number(caseNo), surname, animalName});
}

// ---------------------------------------------------------------------------
// Other handlers

void CaseDetails::CCancel_Click()
{
    unload();
}

void CaseDetails::CalcAge_Click()
{
    if (!m_dobWindow) {
        m_dobWindow = new frmDOBAge(this);
        // Just below the button that opened it, near the labels it fills in,
        // rather than wherever the desktop puts a new window.
        m_dobWindow->adjustSize();
        QPoint at = CalcAge->mapToGlobal(QPoint(0, CalcAge->height() + 6));
        if (const QScreen *screen = this->screen()) {
            // Kept wholly on the screen.
            const QRect free = screen->availableGeometry();
            const QSize size = m_dobWindow->frameGeometry().size();
            at.setX(qBound(free.left(), at.x(), qMax(free.left(), free.right() - size.width())));
            at.setY(qBound(free.top(), at.y(), qMax(free.top(), free.bottom() - size.height())));
        }
        m_dobWindow->move(at);
    }
    m_dobWindow->show();
    m_dobWindow->raise();
    m_dobWindow->activateWindow();
}

void CaseDetails::HHelp_Click()
{
    runGuarded(this, [] { Help::showTopic(App().HelpFilePath, kHelpTopic); });
}

bool CaseDetails::Form_QueryUnload(bool byCloseBox)
{
    if (!byCloseBox)
        return true;
    PromptsOver over(this);
    Prompt::MsgBox(QStringLiteral("You cannot close this window using the control box, please choose a command "
                                  "button."),
                   Prompt::Buttons::OK, Prompt::Icon::Critical);
    return false;
}

void CaseDetails::Form_Unload()
{
    m_linkTopic.reset();
    m_unloaded = true;
    if (currentLinkMode() == LinkMode::NewCase)
        App().LinkRecNo = HiddenText->text();
}

void CaseDetails::unload()
{
    m_programClose = true;
    close();
}

void CaseDetails::closeEvent(QCloseEvent *event)
{
    // The close box (a spontaneous close) is refused; the program's own
    // closes, and the closing of all windows when the program ends, go ahead.
    const bool byCloseBox = event->spontaneous() && !m_programClose;
    if (!Form_QueryUnload(byCloseBox)) {
        event->ignore();
        return;
    }
    if (m_dobWindow)
        m_dobWindow->close();
    Form_Unload();
    releaseReservation();
    if (openWindow() == this)
        openWindow() = nullptr;
    event->accept();
}

void CaseDetails::reject()
{
    // Esc is the Cancel button, and only while Cancel is offered.
    if (CCancel->isVisible())
        CCancel_Click();
}

void CaseDetails::releaseReservation()
{
    if (m_caseNo == 0)
        return;
    const qint64 caseNo = m_caseNo;
    m_caseNo = 0;
    try {
        // Never create a database just to give a number back.
        if (QFile::exists(m_dbfName))
            CaseStore::releaseReservation(ClinicDb::connection(m_dbfName), caseNo);
    } catch (...) {
        // The program is closing the entry; a reservation that cannot be
        // removed now stays as an empty row, which the case loading reports.
    }
}
