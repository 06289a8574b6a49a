#include "cases/fmLocator.h"

#include "cases/CaseListModel.h"
#include "cases/CaseNotifier.h"
#include "cases/CaseOpening.h"
#include "cases/LocatorSearch.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/text/NumberText.h"
#include "platform/widgets/ListPopup.h"
#include "platform/widgets/MakeControl.h"
#include "platform/widgets/MouseUp.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

namespace {

const QString kCaseQuery = QStringLiteral("SELECT * FROM [Clients] WHERE [CaseNo] = ?");
const QString kGone = QStringLiteral("This record no longer exists and must have been deleted. Please choose again.");

/// The list box of the locator. A right button press does not select the line
/// under the mouse (the popup menu acts on the line selected before); the
/// release of any button is reported with the button's number.
class ClientListView : public QListView {
public:
    using QListView::QListView;
    MouseUpHandler mouseUp;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::RightButton) {
            event->accept();
            return;
        }
        QListView::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::RightButton)
            QListView::mouseReleaseEvent(event);
        else
            event->accept();
        reportMouseUp(event, mouseUp);
    }
};

} // namespace

fmLocator::fmLocator(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("fmLocator"));
    setWindowTitle(QStringLiteral("Case Locator"));
    setAttribute(Qt::WA_DeleteOnClose);

    Data1 = new DataControl(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    m_model = new CaseListModel(this);

    Label1 = Controls::make<QLabel>(this, "Label1", QStringLiteral("Cases on record:"));
    ItemsFound = Controls::make<QLabel>(this, "ItemsFound");
    ItemsFound->setMinimumWidth(60);

    Label2 = Controls::make<QLabel>(this, "Label2", QStringLiteral("Narrow surnames to:"));
    Narrower = Controls::make<QLineEdit>(this, "Narrower");
    Label2->setBuddy(Narrower);
    Narrower->installEventFilter(this);

    auto *list = new ClientListView(this);
    ClientListing = list;
    ClientListing->setObjectName(QStringLiteral("ClientListing"));
    ClientListing->setToolTip(QStringLiteral("Right mouse click a selected case to delete, inactivate or activate."));
    ClientListing->setSelectionMode(QAbstractItemView::SingleSelection);
    ClientListing->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One height for every line: the view then never measures the lines of a
    // long register one by one.
    ClientListing->setUniformItemSizes(true);
    ClientListing->setModel(m_model);
    list->mouseUp = [this](int button, int shift, int x, int y) { ClientListing_MouseUp(button, shift, x, y); };
    connect(ClientListing->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &) {
                if (!selected.isEmpty())
                    ClientListing_Click();
            });
    connect(ClientListing, &QAbstractItemView::doubleClicked, this, [this] { ClientListing_DblClick(); });

    GoToCase = Controls::make<QPushButton>(this, "GoToCase", QStringLiteral("&Go To"));
    GoToCase->setDefault(true);
    connect(GoToCase, &QPushButton::clicked, this, [this] { GoToCase_Click(); });

    Hidden =
        ListPopup::make(this, {{"Activate", QStringLiteral("&Activate"), [this] { Activate_Click(); }},
                               {"Inactivate", QStringLiteral("&Inactivate"), [this] { Inactivate_Click(); }},
                               {"DeleteCase", QStringLiteral("&Delete This Case"), [this] { DeleteCase_Click(); }}});

    auto *top = new QGridLayout;
    top->addWidget(Label1, 0, 0);
    top->addWidget(ItemsFound, 0, 1);
    top->addWidget(Label2, 1, 0);
    top->addWidget(Narrower, 1, 1);
    top->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(GoToCase);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ClientListing, 1);
    layout->addLayout(buttons);

    resize(480, 420);
    Narrower->setFocus();
}

fmLocator::~fmLocator() = default;

fmLocator *fmLocator::Launch(QWidget *frame)
{
    // The locator unloads itself when it opens a case or is closed; one that
    // is closing is not reused.
    static QPointer<fmLocator> loaded;
    if (!loaded || loaded->isHidden() || loaded->parentWidget() != frame)
        loaded = new fmLocator(frame);
    fmLocator *locator = loaded;
    locator->loadRegister();
    locator->show();
    locator->raise();
    locator->activateWindow();
    return locator;
}

// --- the list ---------------------------------------------------------------

void fmLocator::loadRegister()
{
    BindToClinicDB(*Data1);
    LoadList_Click();
}

void fmLocator::LoadList_Click()
{
    runGuarded([&] { FillClientListing(LocatorSearch::listQuery(QString())); });
}

void fmLocator::FillClientListing(const LocatorSearch::Query &query)
{
    // A register that cannot be opened (not found, not a Fenwarra database)
    // would fail again at every key stroke: it is said once, and the search
    // is off until the list is loaded again (the frame's command does).
    try {
        Data1->database();
    } catch (const FwError &) {
        Narrower->setEnabled(false);
        throw;
    }
    Narrower->setEnabled(true);
    // A query that fails throws before the list changes, so the list keeps
    // its lines; the caller reports it.
    m_model->load(Data1->database(), query);
    CountItemsFound();
    if (m_model->rowCount() == 0)
        Prompt::Message(FwError::standardDescription(ErrNo::NoCurrentRecord), Prompt::Icon::Information);
}

void fmLocator::CountItemsFound()
{
    ItemsFound->setText(NumText::Str(m_model->rowCount()));
}

int fmLocator::listIndex() const
{
    const QModelIndexList rows = ClientListing->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void fmLocator::setListIndex(int row)
{
    if (row < 0 || row >= m_model->rowCount()) {
        ClientListing->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row);
    ClientListing->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    ClientListing->scrollTo(index);
}

// --- narrowing --------------------------------------------------------------

bool fmLocator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Narrower && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        char32_t ch = 0;
        if (key->key() == Qt::Key_Backspace) {
            ch = 8;
        } else if (key->key() == Qt::Key_Delete) {
            // Delete is an editing key like the arrows, not a typed character.
            return false;
        } else {
            const QList<uint> typed = key->text().toUcs4();
            if (typed.isEmpty())
                return false; // arrows, shift, function keys: nothing typed
            ch = typed.first();
        }
        Narrower_KeyPress(ch);
        // The key is never cancelled: the box takes it as usual.
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

void fmLocator::Narrower_KeyPress(char32_t KeyAscii)
{
    if (!Narrower->isEnabled())
        return;
    runGuarded([&] {
        // The box has not taken the key yet. The list follows the text the box
        // will hold once it has, wherever the caret stands and whatever is
        // selected.
        QString pattern;
        switch (LocatorSearch::classifyKey(KeyAscii)) {
        case LocatorSearch::KeyKind::PassOn:
            return;
        case LocatorSearch::KeyKind::Invalid:
            Prompt::Message(QStringLiteral("Not a valid key stroke to search upon!"), Prompt::Icon::Critical);
            return;
        case LocatorSearch::KeyKind::Backspace:
            if (Narrower->text().isEmpty())
                return;
            [[fallthrough]];
        case LocatorSearch::KeyKind::Narrow:
            pattern = LocatorSearch::textAfterKey(Narrower->text(), Narrower->cursorPosition(),
                                                  Narrower->selectionStart(), Narrower->selectionLength(), KeyAscii);
            break;
        }
        FillClientListing(LocatorSearch::listQuery(pattern));
    });
}

// --- selection and opening --------------------------------------------------

CaseRef fmLocator::standOnCase(int row)
{
    // The case is identified by the number kept with its line; Data1 reads
    // its row afresh (the list is not refreshed when cases change elsewhere),
    // and the names are the row's own, whole (a surname may hold a comma).
    const qint64 caseNo = m_model->caseNo(row);
    Data1->setRecordSource(kCaseQuery, {caseNo});
    Data1->Refresh();
    const Recordset &rs = Data1->recordset();
    m_selected.caseNo = QString::number(caseNo);
    m_selected.surname = rs.eof() ? QString() : rs.text(QStringLiteral("SURNAME"));
    m_selected.animalName = rs.eof() ? QString() : rs.text(QStringLiteral("ANIMALNAME"));
    return m_selected;
}

void fmLocator::ClientListing_Click()
{
    runGuarded([&] {
        const int row = listIndex();
        if (row >= 0)
            standOnCase(row);
    });
}

void fmLocator::ClientListing_DblClick()
{
    GoToCase_Click();
}

void fmLocator::ClientListing_MouseUp(int Button, int Shift, int X, int Y)
{
    Q_UNUSED(Shift);
    ListPopup::onMouseUp(Hidden, ClientListing, Button, X, Y);
}

void fmLocator::GoToCase_Click()
{
    runGuarded([&] {
        const int row = listIndex();
        if (row < 0) {
            Prompt::Message(QStringLiteral("You must first select a case"), Prompt::Icon::Critical);
            return;
        }
        // The case to open is the selected one, as its row now stands.
        const CaseRef selected = standOnCase(row);
        if (Data1->recordset().eof()) {
            Prompt::Message(kGone, Prompt::Icon::Critical);
            return;
        }
        // Unload the locator; the next opening builds it afresh. The opening
        // sequence puts the case on the recent-cases menu before it opens the
        // window, and reports its own failures.
        close();
        OpenCaseInDocument(OpenVariant::LocatorOrReminder, selected);
    });
}

void fmLocator::keyPressEvent(QKeyEvent *event)
{
    // Enter anywhere in the window presses the default button, Go To.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        event->accept();
        GoToCase_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// --- activate, inactivate, delete -------------------------------------------

void fmLocator::Activate_Click()
{
    changeSelectedCase(RowAction::Activate);
}
void fmLocator::Inactivate_Click()
{
    changeSelectedCase(RowAction::Inactivate);
}
void fmLocator::DeleteCase_Click()
{
    changeSelectedCase(RowAction::Delete);
}

void fmLocator::changeSelectedCase(RowAction action)
{
    runGuarded([&] {
        const int row = listIndex();
        if (row < 0) {
            Prompt::Message(QStringLiteral("No case selected! Please select a case before proceeding."),
                            Prompt::Icon::Critical);
            return;
        }
        // The question names the case as it is now.
        standOnCase(row);
        Recordset *rs = &Data1->recordset();
        if (rs->eof()) {
            Prompt::Message(kGone, Prompt::Icon::Critical);
            return;
        }
        const QString who =
            rs->text(QStringLiteral("ANIMALNAME")) + QLatin1Char(' ') + rs->text(QStringLiteral("SURNAME"));

        QString question, questionTitle, done, doneTitle, kept, keptTitle;
        switch (action) {
        case RowAction::Activate:
            question = QStringLiteral("Are you sure you want to Activate ") + who + QStringLiteral("'s record?");
            questionTitle = QStringLiteral("Activation of Record");
            done = QStringLiteral("Activation complete.");
            doneTitle = QStringLiteral("Activation Confirmed");
            kept = who + QStringLiteral("'s record remains unchanged");
            keptTitle = QStringLiteral("No Activation");
            break;
        case RowAction::Inactivate:
            question = QStringLiteral("Are you sure you want to inactivate ") + who + QStringLiteral("'s record?");
            questionTitle = QStringLiteral("Inactivation of Record");
            done = QStringLiteral("Inactivation complete.");
            doneTitle = QStringLiteral("Inactivation Confirmed");
            kept = who + QStringLiteral("'s record remains active");
            keptTitle = QStringLiteral("No Inactivation");
            break;
        case RowAction::Delete:
            question = QStringLiteral("Are you sure you want to delete ") + who +
                       QStringLiteral("'s record from the database?");
            questionTitle = QStringLiteral("Deletion of Record");
            done = QStringLiteral("Deletion completed.");
            doneTitle = QStringLiteral("Deletion Confirmed");
            kept = who + QStringLiteral("'s record remains intact");
            keptTitle = QStringLiteral("No Deletion");
            break;
        }

        if (Prompt::MsgBox(question, Prompt::Buttons::YesNo, Prompt::Icon::Question, questionTitle) !=
            Prompt::Answer::Yes) {
            Prompt::MsgBox(kept, Prompt::Buttons::OK, Prompt::Icon::Information, keptTitle);
            return;
        }

        // The write checks that the row is still there (and unchanged since it
        // was read); a row deleted meanwhile is reported, never called done.
        const qint64 caseNo = rs->field(QStringLiteral("CaseNo")).toLongLong();
        try {
            if (action == RowAction::Delete) {
                rs->deleteCurrent();
            } else {
                rs->edit();
                rs->setField(QStringLiteral("Active"), action == RowAction::Activate);
                rs->update();
            }
        } catch (const FwError &e) {
            // Not only shown: the half-made edit is given up, and a case that
            // is gone is told in the locator's own words.
            if (rs->editing())
                rs->cancelUpdate();
            if (e.number() != ErrNo::RowDeleted && e.number() != ErrNo::NoCurrentRecord)
                throw;
            Prompt::Message(kGone, Prompt::Icon::Critical);
            return;
        }
        // Open windows of the case show its reminder mark as it now is.
        CaseNotifier::changed(caseNo);
        Data1->Refresh();
        LoadList_Click();
        Prompt::MsgBox(done, Prompt::Buttons::OK, Prompt::Icon::Information, doneTitle);
    });
}
