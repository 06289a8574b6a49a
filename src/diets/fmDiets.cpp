#include "diets/fmDiets.h"

#include "diets/ConditionTree.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/db/DataControl.h"
#include "platform/help/Help.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/text/NumberText.h"
#include "platform/widgets/ListPopup.h"
#include "platform/widgets/MakeControl.h"
#include "platform/widgets/MaskedEdit.h"
#include "platform/widgets/MouseUp.h"
#include "platform/widgets/SelectAllText.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void initDietResources()
{
    Q_INIT_RESOURCE(diets);
}

using Controls::button;
using Controls::make;

namespace {

const QString kCaption = QStringLiteral("Diets");
const QString kByDiet = QStringLiteral("Search By Die&t");
const QString kByCondition = QStringLiteral("Search By C&ondition");
const QString kNotSelected = QStringLiteral("You have not selected a diet to work with.") +
                             QStringLiteral(" If you do not wish to select a diet then click upon") +
                             QStringLiteral(" the cancel button.");
const QString kDiscardName = QStringLiteral("Diet name must contain the word, feline or canine.\n\nDiscard the name "
                                            "you typed and close the window? The diet keeps its name '%1'.");

// Where the tree keeps a node's index and key.
constexpr int kIndexRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;

// A colour written as the number &HBBGGRR: blue, green, red from the top byte down.
QColor bgr(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

const QColor kBrowseBack = bgr(0x4040); // dark olive
const QColor kAddBack = bgr(0xC0);      // dark red
const QColor kDarkGreen = bgr(0x4000);
const QColor kYellow = bgr(0xFFFF);
const QColor kRed = bgr(0xFF);

void paint(QWidget *w, const QColor &back, const QColor &text)
{
    QPalette p = w->palette();
    if (back.isValid()) {
        // Labels fill with the window colour, buttons (the check box) with
        // the button colour.
        p.setColor(QPalette::Window, back);
        p.setColor(QPalette::Button, back);
        w->setAutoFillBackground(true);
    }
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, text);
    w->setPalette(p);
}

// An energy per 100 gm: what the entry mask "###.#" can hold.
const QRegularExpression kEnergyFigure(QStringLiteral(R"(\d{0,3}(\.\d?)?)"));
// A cup's energy, a bag's kg, a can's gm.
const QRegularExpression kSizeFigure(QStringLiteral(R"(\d{0,4}(\.\d{0,2})?)"));

// A number box's value: an empty box (or one showing only the mask) is 0.
double figureOf(const QLineEdit *box)
{
    QString text = box->text();
    text.remove(QLatin1Char('_'));
    text = text.trimmed();
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v : 0.0;
}

// A figure of the shown diet as the calculator's boxes take it.
QString plainFigure(const Recordset &rs, const QString &field)
{
    const QVariant v = rs.field(field);
    if (v.isNull())
        throw FwError(ErrNo::InvalidUseOfNull);
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        throw FwError(ErrNo::TypeMismatch);
    return NumText::Plain(d);
}

/// The list box: reports the release of a mouse button with its number, as
/// the pop-up menu needs. A press of any button selects the line under the
/// pointer first, so the menu acts on the line the user pointed at.
class DietListBox : public QListWidget {
public:
    using QListWidget::QListWidget;
    MouseUpHandler mouseUp;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QListWidget::mouseReleaseEvent(event);
        reportMouseUp(event, mouseUp);
    }
};

/// A box of notes: always a scroll bar, and Tab moves on rather than typing.
QPlainTextEdit *memoBox(QWidget *parent, const char *name)
{
    auto *e = Controls::make<QPlainTextEdit>(parent, name);
    e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    e->setTabChangesFocus(true);
    return e;
}

// Keys that edit the search box rather than type a character into it: the
// list follows the text they leave, and they are never refused.
bool isEditingKey(const QKeyEvent *key)
{
    static const QKeySequence::StandardKey kEdits[] = {
        QKeySequence::Paste,
        QKeySequence::Cut,
        QKeySequence::Undo,
        QKeySequence::Redo,
        QKeySequence::Delete,
        QKeySequence::Backspace,
        QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfWord,
        QKeySequence::DeleteEndOfLine,
        QKeySequence::DeleteCompleteLine,
    };
    for (const QKeySequence::StandardKey k : kEdits)
        if (key->matches(k))
            return true;
    return key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete;
}

// The character code a key stroke types, 0 when it types none (arrows,
// function keys, Tab moving the focus).
char32_t typedCode(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers mods = key->modifiers();
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    // Ctrl with a letter types a control character (Ctrl+C is 3), whatever
    // text the platform attaches to the event.
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z)
        return char32_t(key->key() - Qt::Key_A + 1);
    const QList<uint> typed = key->text().toUcs4();
    return typed.isEmpty() ? 0 : char32_t(typed.first());
}

} // namespace

// --- building ---------------------------------------------------------------

fmDiets::fmDiets(const QString &species, QWidget *parent) : QDialog(parent), m_species(species)
{
    initDietResources();
    setObjectName(QStringLiteral("fmDiets"));
    setWindowTitle(kCaption);
    setModal(true);

    Data1 = new DataControl(this);
    Data1->setObjectName(QStringLiteral("Data1"));

    buildControls();
    Form_Load();
}

fmDiets::~fmDiets() = default;

void fmDiets::buildControls()
{
    // The window's background is the mode's colour; the labels that have
    // colours of their own carry them in both modes.
    QPalette back = palette();
    back.setColor(QPalette::Window, kBrowseBack);
    setPalette(back);
    setAutoFillBackground(true);

    // Built in the order the controls stand on the screen, which is the order
    // the Tab key follows.
    QVBoxLayout *left = buildListSide();
    QVBoxLayout *right = buildDietSide();
    auto *outer = new QHBoxLayout(this);
    outer->addLayout(left, 2);
    outer->addLayout(right, 3);

    // The boxes with scroll bars keep the usual window colour, which their
    // scroll bars are drawn with; the window's olive or red would line them.
    for (QWidget *w : std::initializer_list<QWidget *>{TreeView1, DietListing, Indications, IndicationsAdded, Contraind,
                                                       ContraindAdded}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, QGuiApplication::palette().color(QPalette::Window));
        w->setPalette(p);
    }

    // The list's pop-up menu.
    Hidden =
        ListPopup::make(this, {{"DeleteCase", QStringLiteral("&Delete This Case"), [this] { DeleteCase_Click(); }}});

    // The shown diet's boxes.
    Data1->bind(DietName, QStringLiteral("GENERIC"));
    Data1->bind(Indications, QStringLiteral("Indications"));
    Data1->bind(Contraind, QStringLiteral("Contraindications"));
    Data1->bind(MEDry, QStringLiteral("ME Dry"));
    Data1->bind(MECan, QStringLiteral("ME Can"));
    Data1->bind(KCalPerCup, QStringLiteral("KCal per cup dry"));
    Data1->bind(DryAs, QStringLiteral("Form Dry"));
    Data1->bind(CannedAs, QStringLiteral("Form Can"));

    m_browseSet = {TreeView1, Label2, Narrower, LocateMode, DietListing, Indications, Contraind, MEDry,
                   MECan,     DryAs,  CannedAs, KCalPerCup, Protected,   AddDiet,     DryBut,    CCancel};
    m_addSet = {UpdateDiet, DietNameLabel, DietNameAdded, IndicationsAdded, ContraindAdded, MEDryAdded,
                MECanAdded, DryAsAdded,    CannedAsAdded, KCalPerCupAdded,  m_addSpacer};

    connectSignals();

    // The start: browse mode, the tree shown, the search box and the name box
    // hidden, the catalogue protected.
    for (QWidget *w : std::as_const(m_addSet))
        w->hide();
    Label2->hide();
    Narrower->hide();
    DietNameLbl->hide();
    DietName->hide();
    applyProtection();

    setMinimumSize(720, 500);
    resize(800, 560);
}

QVBoxLayout *fmDiets::buildListSide()
{
    // Left: how the list is narrowed, the list, the protection; in add mode
    // the new diet's name.
    LocateMode = button(this, "LocateMode", kByDiet, [this] { LocateMode_Click(); });
    LocateMode->setToolTip(QStringLiteral("Click for alternate search mode"));
    TreeView1 = make<QTreeWidget>(this, "TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setRootIsDecorated(true);
    TreeView1->setUniformRowHeights(true);
    TreeView1->setMinimumHeight(170);
    Label2 = make<QLabel>(this, "Label2", QStringLiteral("List Diet Names Containing:"));
    paint(Label2, kDarkGreen, kYellow);
    Label2->setMargin(3);
    Narrower = make<QLineEdit>(this, "Narrower");
    Narrower->installEventFilter(this);
    Label2->setBuddy(Narrower);

    auto *list = make<DietListBox>(this, "DietListing");
    DietListing = list;
    DietListing->setSelectionMode(QAbstractItemView::SingleSelection);
    DietListing->setUniformItemSizes(true);
    DietListing->setMinimumHeight(130);
    list->mouseUp = [this](int b, int s, int x, int y) { DietListing_MouseUp(b, s, x, y); };

    Protected = make<QCheckBox>(this, "Protected", QStringLiteral("&Protect Data"));
    paint(Protected, kBrowseBack, kYellow);
    Protected->setChecked(true);

    DietNameLabel = make<QLabel>(this, "DietNameLabel",
                                 QStringLiteral("Please enter the new diet's name. Must contain the word, "
                                                "canine or feline and be a maximum of 50 characters in "
                                                "length."));
    paint(DietNameLabel, kBrowseBack, kYellow);
    DietNameLabel->setWordWrap(true);
    DietNameLabel->setMargin(4);
    DietNameAdded = make<QLineEdit>(this, "DietNameAdded");
    m_addSpacer = make<QWidget>(this, "addSpacer");

    auto *left = new QVBoxLayout;
    left->addWidget(LocateMode);
    left->addWidget(TreeView1, 3);
    left->addWidget(Label2);
    left->addWidget(Narrower);
    left->addWidget(DietListing, 2);
    left->addWidget(Protected);
    left->addWidget(DietNameLabel);
    left->addWidget(DietNameAdded);
    left->addWidget(m_addSpacer, 1);
    return left;
}

QVBoxLayout *fmDiets::buildDietSide()
{
    // Right: the shown diet.
    DietNameLbl = make<QLabel>(this, "DietNameLbl", QStringLiteral("Diet Name"));
    paint(DietNameLbl, kBrowseBack, kYellow);
    DietNameLbl->setMargin(3);
    DietName = make<QLineEdit>(this, "DietName");
    DietName->installEventFilter(this);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(DietNameLbl);
    nameRow->addWidget(DietName, 1);

    Label1 = make<QLabel>(this, "Label1", QStringLiteral("Preparations And Their ME (KCal / 100 gm)"));
    paint(Label1, kDarkGreen, kYellow);
    Label1->setMargin(4);
    buildEnergyPanel();

    Label7 = make<QLabel>(this, "Label7", QStringLiteral("Indications"));
    paint(Label7, kBrowseBack, kYellow);
    Label8 = make<QLabel>(this, "Label8", QStringLiteral("Contraindications"));
    paint(Label8, kBrowseBack, kYellow);
    Indications = memoBox(this, "Indications");
    IndicationsAdded = memoBox(this, "IndicationsAdded");
    Contraind = memoBox(this, "Contraind");
    ContraindAdded = memoBox(this, "ContraindAdded");

    AddDiet = button(this, "AddDiet", QStringLiteral("&Add Diet"), [this] { AddDiet_Click(); });
    DryBut = button(this, "DryBut", QStringLiteral("&Return"), [this] { DryBut_Click(); });
    CCancel = button(this, "CCancel", QStringLiteral("&Cancel"), [this] { CCancel_Click(); });
    HHelp = button(this, "HHelp", QStringLiteral("&Help"), [this] { HHelp_Click(); });
    UpdateDiet = button(this, "UpdateDiet", QStringLiteral("&Update"), [this] { UpdateDiet_Click(); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {AddDiet, UpdateDiet, DryBut, CCancel, HHelp})
        buttons->addWidget(b);

    auto *right = new QVBoxLayout;
    right->addLayout(nameRow);
    right->addWidget(Label1);
    right->addWidget(Frame1);
    right->addWidget(Label7);
    right->addWidget(Indications, 1);
    right->addWidget(IndicationsAdded, 1);
    right->addWidget(Label8);
    right->addWidget(Contraind, 1);
    right->addWidget(ContraindAdded, 1);
    right->addLayout(buttons);
    return right;
}

void fmDiets::buildEnergyPanel()
{
    // The energy boxes and their labels stand on a panel of the usual colour.
    Frame1 = make<QFrame>(this, "Frame1");
    Frame1->setFrameShape(QFrame::StyledPanel);
    QPalette plain = Frame1->palette();
    plain.setColor(QPalette::Window, QPalette().color(QPalette::Window));
    Frame1->setPalette(plain);
    Frame1->setAutoFillBackground(true);

    Label5 = make<QLabel>(Frame1, "Label5", QStringLiteral("Dry:"));
    Label4 = make<QLabel>(Frame1, "Label4", QStringLiteral("Canned:"));
    Label6 = make<QLabel>(Frame1, "Label6", QStringLiteral("As (kg):"));
    Label3 = make<QLabel>(Frame1, "Label3", QStringLiteral("As (gm):"));
    Label9 = make<QLabel>(Frame1, "Label9", QStringLiteral("KCal/Cup:"));
    for (QLabel *l : {Label5, Label4}) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, kRed);
        l->setPalette(p);
    }
    MEDry = make<QLineEdit>(Frame1, "MEDry");
    MECan = make<QLineEdit>(Frame1, "MECan");
    DryAs = make<QLineEdit>(Frame1, "DryAs");
    CannedAs = make<QLineEdit>(Frame1, "CannedAs");
    KCalPerCup = make<QLineEdit>(Frame1, "KCalPerCup");
    MEDryAdded = make<QLineEdit>(Frame1, "MEDryAdded");
    MECanAdded = make<QLineEdit>(Frame1, "MECanAdded");
    DryAsAdded = make<QLineEdit>(Frame1, "DryAsAdded");
    CannedAsAdded = make<QLineEdit>(Frame1, "CannedAsAdded");
    KCalPerCupAdded = make<QLineEdit>(Frame1, "KCalPerCupAdded");
    for (QLineEdit *e : {MEDryAdded, MECanAdded}) {
        // Three digits, the point, one digit; "_" marks an empty place.
        setAsciiInputMask(e, QStringLiteral("000.0;_"));
        e->installEventFilter(this);
    }
    for (QLineEdit *e : {MEDry, MECan})
        e->setValidator(new QRegularExpressionValidator(kEnergyFigure, e));
    for (QLineEdit *e : {DryAs, CannedAs, KCalPerCup, DryAsAdded, CannedAsAdded, KCalPerCupAdded})
        e->setValidator(new QRegularExpressionValidator(kSizeFigure, e));
    const int figureWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 16;
    for (QLineEdit *e : {MEDry, MECan, DryAs, CannedAs, KCalPerCup, MEDryAdded, MECanAdded, DryAsAdded, CannedAsAdded,
                         KCalPerCupAdded})
        e->setFixedWidth(figureWidth);
    auto *grid = new QGridLayout(Frame1);
    grid->setHorizontalSpacing(8);
    // Each box of the shown diet and its twin of the add mode share a place;
    // only one of the two is ever shown.
    grid->addWidget(Label5, 0, 0);
    grid->addWidget(MEDry, 0, 1);
    grid->addWidget(MEDryAdded, 0, 1);
    grid->addWidget(Label6, 0, 3);
    grid->addWidget(DryAs, 0, 4);
    grid->addWidget(DryAsAdded, 0, 4);
    grid->addWidget(Label9, 0, 6);
    grid->addWidget(KCalPerCup, 0, 7);
    grid->addWidget(KCalPerCupAdded, 0, 7);
    grid->addWidget(Label4, 1, 0);
    grid->addWidget(MECan, 1, 1);
    grid->addWidget(MECanAdded, 1, 1);
    grid->addWidget(Label3, 1, 3);
    grid->addWidget(CannedAs, 1, 4);
    grid->addWidget(CannedAsAdded, 1, 4);
    grid->setColumnMinimumWidth(2, 12);
    grid->setColumnMinimumWidth(5, 12);
    grid->setColumnStretch(8, 1);
}

void fmDiets::connectSignals()
{
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { TreeView1_NodeClick(item); });
    connect(Narrower, &QLineEdit::textEdited, this, [this] { Narrower_Change(); });
    connect(DietListing, &QListWidget::itemSelectionChanged, this, [this] {
        if (!DietListing->selectedItems().isEmpty())
            DietListing_Click();
    });
    connect(Protected, &QCheckBox::clicked, this, [this] { Protected_Click(); });
    connect(Protected, &QCheckBox::toggled, this, [this] { applyProtection(); });
    connect(DietNameAdded, &QLineEdit::textChanged, this, [this] { DietNameAdded_Change(); });
    for (QWidget *w :
         std::initializer_list<QWidget *>{DietNameAdded, IndicationsAdded, ContraindAdded, DryAsAdded, CannedAsAdded})
        w->installEventFilter(this);
}

void fmDiets::Form_Load()
{
    ListAdded = 0;
    ImageList1.clear();
    ImageList1.insert(ConditionTree::kClosedImage, QIcon(QStringLiteral(":/diets/pictures/Closed.svg")));
    ImageList1.insert(ConditionTree::kOpenedImage, QIcon(QStringLiteral(":/diets/pictures/Opened.svg")));
    buildTree();
}

void fmDiets::buildTree()
{
    TreeView1->clear();
    // A top-level node shows the closed picture, and the opened one while it
    // is expanded (the view draws an item's "on" picture when it is open).
    QIcon folder;
    for (const QSize &size : {QSize(16, 16), QSize(32, 32)}) {
        folder.addPixmap(ImageList1.value(ConditionTree::kClosedImage).pixmap(size), QIcon::Normal, QIcon::Off);
        folder.addPixmap(ImageList1.value(ConditionTree::kOpenedImage).pixmap(size), QIcon::Normal, QIcon::On);
    }
    QHash<QString, QTreeWidgetItem *> byKey;
    for (const ConditionTree::Node &n : ConditionTree::nodes()) {
        QTreeWidgetItem *item = nullptr;
        const QString parentKey = ConditionTree::parentKey(n);
        if (parentKey.isEmpty())
            item = new QTreeWidgetItem(TreeView1);
        else
            item = new QTreeWidgetItem(byKey.value(parentKey));
        item->setText(0, ConditionTree::text(n));
        item->setData(0, kIndexRole, n.index);
        const QString key = ConditionTree::key(n);
        item->setData(0, kKeyRole, key);
        if (!key.isEmpty())
            byKey.insert(key, item);
        if (!ConditionTree::image(n).isEmpty())
            item->setIcon(0, folder);
    }
    TreeView1->collapseAll();
}

// --- opening ----------------------------------------------------------------

int fmDiets::Launch(QWidget *requester, const QString &species, const Receiver &receive)
{
    fmDiets picker(species, requester);
    picker.setReceiver(requester, receive);
    BindToClinicDB(*picker.Data1);
    PromptsOver boxesOver(&picker);
    picker.LoadListSpecies_Click();
    return picker.exec();
}

void fmDiets::setReceiver(QObject *requester, const Receiver &receive)
{
    m_requester = requester;
    m_receive = receive;
}

DietCatalogue fmDiets::catalogue() const
{
    return DietCatalogue(Data1->database());
}

// --- the list ---------------------------------------------------------------

void fmDiets::FillDietListing(const ::DietListing &listing)
{
    forgetRow();
    DietListing->clear();
    DietListing->addItems(listing.names);
    ListAdded = listing.table == DietTable::Added ? -1 : 0;
    if (listing.names.isEmpty())
        Prompt::Message(FwError::standardDescription(ErrNo::NoCurrentRecord), Prompt::Icon::Information);
}

void fmDiets::showList(const std::function<::DietListing(const DietCatalogue &)> &query)
{
    // What was typed into the shown diet is saved before the list changes; a
    // conflict is reported, and the new list is the refill.
    if (leaveRow(false) == Leave::Refused)
        return;
    // A query that fails throws before the list changes: the list keeps what
    // it had, and ListAdded with it.
    const ::DietListing listing = query(catalogue());
    m_lastQuery = query;
    FillDietListing(listing);
}

void fmDiets::refillAfterConflict()
{
    if (m_lastQuery)
        showList(m_lastQuery);
}

void fmDiets::LoadListSpecies_Click()
{
    runGuarded(this, [&] {
        const QString species = m_species;
        showList([species](const DietCatalogue &c) { return c.bySpecies(species); });
    });
}

void fmDiets::TreeView1_NodeClick(QTreeWidgetItem *node)
{
    if (!node)
        return;
    runGuarded(this, [&] {
        const int index = node->data(0, kIndexRole).toInt();
        const QString species = m_species;
        showList([index, species](const DietCatalogue &c) { return c.byNode(index, species); });
    });
}

bool fmDiets::Narrower_KeyPress(char32_t KeyAscii)
{
    if (DietCatalogue::classifyKey(KeyAscii) != DietCatalogue::SearchKey::Invalid)
        return false;
    runGuarded(this, [&] { Prompt::Message(DietCatalogue::kInvalidKeyMessage, Prompt::Icon::Critical); });
    return true;
}

void fmDiets::Narrower_Change()
{
    runGuarded(this, [&] {
        const QString text = Narrower->text();
        const QString species = m_species;
        showList([text, species](const DietCatalogue &c) { return c.byName(text, species); });
    });
}

void fmDiets::HiddenReloadAdded()
{
    showList([](const DietCatalogue &c) { return c.added(); });
}

void fmDiets::LocateMode_Click()
{
    if (LocateMode->text() == kByDiet) {
        LocateMode->setText(kByCondition);
        TreeView1->hide();
        Label2->show();
        Narrower->show();
        Narrower->setFocus();
    } else if (LocateMode->text() == kByCondition) {
        LocateMode->setText(kByDiet);
        TreeView1->show();
        Label2->hide();
        Narrower->hide();
    }
}

// --- the shown diet ---------------------------------------------------------

fmDiets::Leave fmDiets::leaveRow(bool refill)
{
    if (!checkDietName())
        return Leave::Refused;
    // A figure box the user emptied holds 0, not nothing.
    for (QLineEdit *e : {MEDry, MECan, KCalPerCup, DryAs, CannedAs})
        if (e->isModified() && e->text().trimmed().isEmpty())
            e->setText(QStringLiteral("0"));
    try {
        Data1->saveBound();
        return Leave::Saved;
    } catch (const FwError &e) {
        if (e.number() != ErrNo::WriteConflict && e.number() != ErrNo::RowDeleted)
            throw;
        // Changed or deleted at another workstation since it was shown: what
        // was typed cannot be saved over it. Say so, and show the list anew.
        const QString name = m_clicked ? m_clicked->generic : QString();
        forgetRow();
        showFailure(
            QStringLiteral("The diet '%1' was %2 at another workstation after it was shown here, so what "
                           "you typed was not saved.")
                .arg(name, e.number() == ErrNo::WriteConflict ? QStringLiteral("changed") : QStringLiteral("deleted")));
        if (refill)
            refillAfterConflict();
        return Leave::Conflict;
    }
}

bool fmDiets::dietNameAcceptable() const
{
    if (!m_clicked || Data1->recordset().eof())
        return true;
    const QString name = DietName->text();
    // A name as stored is never questioned; only one the user typed.
    if (name == Data1->recordset().text(QStringLiteral("GENERIC")))
        return true;
    return name.contains(QLatin1String("Canine"), Qt::CaseInsensitive) ||
           name.contains(QLatin1String("Feline"), Qt::CaseInsensitive);
}

void fmDiets::backToDietName()
{
    Protected->setChecked(false);
    DietNameLbl->show();
    DietName->show();
    DietName->setFocus();
    SelectAllText(DietName);
}

bool fmDiets::checkDietName()
{
    if (dietNameAcceptable())
        return true;
    // The focus leaving the box and the step that leaves the row may both
    // ask; the user is told once.
    if (m_checkingName)
        return false;
    m_checkingName = true;
    const auto done = qScopeGuard([this] { m_checkingName = false; });
    Prompt::Message(QStringLiteral("Diet name must contain the word, feline or canine"), Prompt::Icon::Critical);
    backToDietName();
    return false;
}

bool fmDiets::discardTypedName()
{
    if (dietNameAcceptable())
        return true;
    m_checkingName = true;
    const auto done = qScopeGuard([this] { m_checkingName = false; });
    const QString stored = Data1->recordset().text(QStringLiteral("GENERIC"));
    if (Prompt::MsgBox(kDiscardName.arg(stored), Prompt::Buttons::YesNo, Prompt::Icon::Question, Prompt::kTitle) !=
        Prompt::Answer::Yes) {
        backToDietName();
        return false;
    }
    DietName->setText(stored);
    return true;
}

void fmDiets::forgetRow()
{
    m_clicked.reset();
    Data1->setRecordSource(QString());
    Data1->Requery();
    applyProtection();
    setWindowTitle(kCaption);
}

void fmDiets::DietListing_Click()
{
    runGuarded(this, [&] {
        const QList<QListWidgetItem *> selected = DietListing->selectedItems();
        if (selected.isEmpty())
            return;
        const QString name = selected.first()->text();
        const DietTable table = ListAdded == -1 ? DietTable::Added : DietTable::Catalogue;
        if (const Leave left = leaveRow(); left != Leave::Saved) {
            if (left == Leave::Refused)
                selectShown();
            return;
        }
        Diet diet;
        try {
            diet = catalogue().read(name, table);
        } catch (const FwError &e) {
            if (e.number() != ErrNo::RowDeleted)
                throw;
            // Deleted or renamed at another workstation since the list was filled.
            showFailure(e.description());
            refillAfterConflict();
            return;
        }
        Data1->setRecordSource(table == DietTable::Added ? QStringLiteral("SELECT * FROM [Diets Added] WHERE rowid = ?")
                                                         : QStringLiteral("SELECT * FROM [Diets] WHERE rowid = ?"),
                               {diet.rowId});
        Data1->Requery();
        if (Data1->recordset().eof()) {
            forgetRow();
            showFailure(FwError::standardDescription(ErrNo::RowDeleted));
            refillAfterConflict();
            return;
        }
        m_clicked = diet;
        applyProtection();
        setWindowTitle(Data1->recordset().text(QStringLiteral("GENERIC")));
    });
}

void fmDiets::selectShown()
{
    // The list's selection goes back to the diet still shown.
    const QSignalBlocker quiet(DietListing);
    DietListing->clearSelection();
    if (!m_clicked)
        return;
    const QList<QListWidgetItem *> items = DietListing->findItems(m_clicked->generic, Qt::MatchExactly);
    if (!items.isEmpty()) {
        DietListing->setCurrentItem(items.first());
        items.first()->setSelected(true);
    }
}

void fmDiets::DietListing_MouseUp(int Button, int Shift, int X, int Y)
{
    Q_UNUSED(Shift);
    ListPopup::onMouseUp(Hidden, DietListing, Button, X, Y);
}

void fmDiets::applyProtection()
{
    // Protected, or no diet shown to write to: the boxes take no typing,
    // pasting or dropping.
    const bool readOnly = Protected->isChecked() || !m_clicked;
    for (QLineEdit *e : {DietName, MEDry, MECan, KCalPerCup, DryAs, CannedAs})
        e->setReadOnly(readOnly);
    for (QPlainTextEdit *e : {Indications, Contraind})
        e->setReadOnly(readOnly);
}

void fmDiets::Protected_Click()
{
    const bool show = !Protected->isChecked();
    DietNameLbl->setVisible(show);
    DietName->setVisible(show);
}

void fmDiets::DietName_LostFocus()
{
    runGuarded(this, [&] { checkDietName(); });
}

// --- return and cancel ------------------------------------------------------

void fmDiets::DryBut_Click()
{
    runGuarded(this, [&] {
        if (!m_clicked || Data1->recordset().eof()) {
            Prompt::Message(kNotSelected, Prompt::Icon::Critical);
            return;
        }
        if (leaveRow() != Leave::Saved)
            return;
        const Recordset &rs = Data1->recordset();
        PickedDiet diet;
        diet.DietSelected = rs.text(QStringLiteral("GENERIC")).trimmed();
        diet.MEDryText = plainFigure(rs, QStringLiteral("ME Dry"));
        diet.MEPerCup = plainFigure(rs, QStringLiteral("KCal per cup dry"));
        diet.MECanText = plainFigure(rs, QStringLiteral("ME Can"));
        diet.GmPerCan = CannedAs->text();
        if (m_receive && m_requester)
            m_receive(diet);
        accept();
    });
}

void fmDiets::CCancel_Click()
{
    reject();
}

void fmDiets::done(int result)
{
    // What was typed into the shown diet is saved as the window closes; when
    // it cannot be, the window stays open with the reason shown. Cancel, Esc
    // and the title bar may drop a name that cannot be stored, so that the
    // window can be left without first typing a name the user does not want.
    bool saved = false;
    runGuarded(this, [&] {
        if (result == QDialog::Rejected && !discardTypedName())
            return;
        saved = leaveRow() == Leave::Saved;
    });
    if (!saved)
        return;
    QDialog::done(result);
}

// --- the practice's own diets -----------------------------------------------

void fmDiets::setMode(bool add)
{
    m_addMode = add;
    if (add) {
        for (QWidget *w : std::as_const(m_browseSet))
            w->hide();
        DietNameLbl->hide();
        DietName->hide();
        for (QWidget *w : std::as_const(m_addSet))
            w->show();
    } else {
        for (QWidget *w : std::as_const(m_addSet))
            w->hide();
        // The whole browse set comes back, the tree and the search box
        // together; the name box waits for the next click on Protect Data.
        for (QWidget *w : std::as_const(m_browseSet))
            w->show();
    }
    QPalette p = palette();
    p.setColor(QPalette::Window, add ? kAddBack : kBrowseBack);
    setPalette(p);
}

void fmDiets::AddDiet_Click()
{
    runGuarded(
        this,
        [&] {
            if (leaveRow() != Leave::Saved)
                return;
            // Nothing is stored until Update: the boxes start empty.
            for (QLineEdit *e : {DietNameAdded, MEDryAdded, MECanAdded, KCalPerCupAdded, DryAsAdded, CannedAsAdded})
                e->clear();
            IndicationsAdded->clear();
            ContraindAdded->clear();
            setMode(true);
            DietNameAdded->setFocus();
        },
        Prompt::Icon::Information);
}

Diet fmDiets::typedDiet() const
{
    Diet d;
    d.generic = DietNameAdded->text();
    d.indications = IndicationsAdded->toPlainText();
    d.contraindications = ContraindAdded->toPlainText();
    d.meDry = figureOf(MEDryAdded);
    d.meCan = figureOf(MECanAdded);
    d.kcalPerCup = figureOf(KCalPerCupAdded);
    d.formDry = figureOf(DryAsAdded);
    d.formCan = figureOf(CannedAsAdded);
    return d;
}

void fmDiets::UpdateDiet_Click()
{
    runGuarded(
        this,
        [&] {
            const DietCatalogue::NameProblem problem = DietCatalogue::checkNewName(DietNameAdded->text().trimmed());
            if (problem != DietCatalogue::NameProblem::None) {
                Prompt::Message(DietCatalogue::nameMessage(problem), Prompt::Icon::Critical);
                DietNameAdded->setFocus();
                return;
            }
            try {
                catalogue().add(typedDiet());
            } catch (const FwError &e) {
                if (e.number() != ErrNo::DuplicateKey)
                    throw;
                // Still in add mode with everything typed, to change the name.
                Prompt::Message(QStringLiteral("This Diet name already exits, please choose another name."),
                                Prompt::Icon::Critical);
                return;
            }
            setMode(false);
            HiddenReloadAdded();
        },
        Prompt::Icon::Information);
}

void fmDiets::DietNameAdded_Change()
{
    setWindowTitle(DietNameAdded->text());
}

void fmDiets::DeleteCase_Click()
{
    runGuarded(this, [&] {
        if (ListAdded == 0) {
            Prompt::Message(QStringLiteral("You can only delete the diets you have added"), Prompt::Icon::Information);
            return;
        }
        if (DietListing->selectedItems().isEmpty() || !m_clicked) {
            Prompt::Message(QStringLiteral("No diet selected! Please select a diet before proceeding."),
                            Prompt::Icon::Critical);
            return;
        }
        const Diet diet = *m_clicked;
        const QString name = diet.generic;
        if (Prompt::MsgBox(QStringLiteral("Are you sure you want to delete the diet '") + name +
                               QStringLiteral("' from the database?"),
                           Prompt::Buttons::YesNo, Prompt::Icon::Question,
                           QStringLiteral("Deletion of Record")) != Prompt::Answer::Yes) {
            Prompt::MsgBox(QStringLiteral("The record for '") + name + QStringLiteral("' remains intact"),
                           Prompt::Buttons::OK, Prompt::Icon::Information, QStringLiteral("No Deletion"));
            return;
        }
        // The row goes, and with it whatever was typed into its boxes.
        forgetRow();
        try {
            catalogue().remove(diet);
        } catch (const FwError &e) {
            if (e.number() != ErrNo::RowDeleted)
                throw;
            showFailure(e.description());
            HiddenReloadAdded();
            return;
        }
        HiddenReloadAdded();
        Prompt::MsgBox(QStringLiteral("Deletion completed."), Prompt::Buttons::OK, Prompt::Icon::Information,
                       QStringLiteral("Deletion Confirmed"));
    });
}

// --- help and events --------------------------------------------------------

void fmDiets::HHelp_Click()
{
    runGuarded(this, [&] { Help::showTopic(App().HelpFilePath, 1126); });
}

bool fmDiets::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Narrower && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (isEditingKey(key))
            return false;
        const char32_t code = typedCode(key);
        if (code == 0)
            return false;
        // A refused key gets its message and still reaches the box, as any
        // other does (Ctrl+A still selects, Ctrl+C still copies); the list
        // follows whatever text the box then holds. Enter and Esc stop at the
        // box: after the message they must not press a button or close the
        // window.
        if (!Narrower_KeyPress(code))
            return false;
        return code == 13 || code == 27;
    }
    if (event->type() == QEvent::MouseButtonRelease && (watched == MEDryAdded || watched == MECanAdded)) {
        // A click beyond the figure typed so far (into the empty places of
        // "___._") would leave the caret after the last place, where typing
        // does nothing: it goes to the first place after the figure.
        auto *box = static_cast<QLineEdit *>(watched);
        if (!box->hasSelectedText()) {
            const QString shown = box->displayText();
            int after = 0;
            for (int i = 0; i < shown.size(); ++i)
                if (shown.at(i).isDigit())
                    after = i + 1;
            if (box->cursorPosition() > after)
                box->setCursorPosition(after);
        }
    }
    if (event->type() == QEvent::FocusOut && watched == DietName) {
        // Only the user's move elsewhere counts, not a message box or another
        // window taking the focus.
        // Nor a move to Cancel, which asks whether to drop the name instead.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            QApplication::focusWidget() != CCancel)
            QTimer::singleShot(0, this, [this] { DietName_LostFocus(); });
    }
    if (event->type() == QEvent::FocusIn &&
        (watched == DietNameAdded || watched == IndicationsAdded || watched == ContraindAdded ||
         watched == DryAsAdded || watched == CannedAsAdded))
        selectAllOnFocus(static_cast<QWidget *>(watched), static_cast<QFocusEvent *>(event));
    return QDialog::eventFilter(watched, event);
}
