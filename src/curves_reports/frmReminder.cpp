#include "curves_reports/frmReminder.h"

#include "cases/CaseOpening.h"
#include "curves_reports/ReminderPrint.h"
#include "curves_reports/Reminders.h"
#include "platform/Guard.h"
#include "platform/db/DataControl.h"
#include "platform/layout/Twips.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "platform/widgets/MakeControl.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kGone = QStringLiteral("This record no longer exists and must have been deleted. Please choose again.");

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *l = Controls::make<QLabel>(parent, name, text);
    l->setWordWrap(true);
    return l;
}

} // namespace

frmReminder::frmReminder(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReminder"));
    setWindowTitle(QStringLiteral("Reminders due"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    Data1 = new DataControl(this);
    Data1->setObjectName(QStringLiteral("Data1"));

    Label1 = label(this, "Label1",
                   QStringLiteral("This list displays those ACTIVE clients due a reminder as they have not been "
                                  "re-weighed in the last 2-6 weeks."));
    Label2 = label(this, "Label2",
                   QStringLiteral("Tip 1: You can inactivate a case so that it does not show up in the reminder "
                                  "list. You do this from within the client locator."));
    Label3 = label(this, "Label3",
                   QStringLiteral("Tip 2: You can load a case directly from this screen by double clicking  any "
                                  "name in the list"));

    ClientListing = Controls::make<QListWidget>(this, "ClientListing");
    ClientListing->setSelectionMode(QAbstractItemView::SingleSelection);
    ClientListing->setUniformItemSizes(true);
    connect(ClientListing, &QListWidget::itemSelectionChanged, this, [this] {
        if (listIndex() >= 0)
            ClientListing_Click();
    });
    connect(ClientListing, &QListWidget::itemDoubleClicked, this, [this] { ClientListing_DblClick(); });

    PrintBut = Controls::make<QPushButton>(this, "PrintBut", QStringLiteral("&Print"));
    PrintBut->setDefault(true);
    Close = Controls::button(this, "Close", QStringLiteral("&Close"), [this] { Close_Click(); });
    connect(PrintBut, &QPushButton::clicked, this, [this] { PrintBut_Click(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(PrintBut);
    buttons->addWidget(Close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ClientListing, 1);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addLayout(buttons);
    resize(Twips::toPixelSize(10800, 6600));
}

frmReminder::~frmReminder() = default;

frmReminder *frmReminder::Launch(QWidget *frame, QPrinter *printer)
{
    // The window unloads itself when it opens a case or is closed; one that
    // is closing is not reused.
    frmReminder *w = nullptr;
    for (frmReminder *candidate : frame->findChildren<frmReminder *>(QString(), Qt::FindDirectChildrenOnly))
        if (!candidate->isHidden())
            w = candidate;
    if (!w)
        w = new frmReminder(frame);
    w->setPrinter(printer);
    w->loadRegister();
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

QPrinter *frmReminder::printer()
{
    if (m_printer)
        return m_printer;
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_ownPrinter.get();
}

// --- the list -------------------------------------------------------------------

void frmReminder::loadRegister()
{
    BindToClinicDB(*Data1);
    LoadList_Click();
}

void frmReminder::LoadList_Click()
{
    runGuarded(this, [&] {
        const Reminders::Load load = Reminders::load(Data1->database(), Clock::today());
        if (load.lines.isEmpty()) {
            // The list says what is true now: the lines of an earlier load go.
            ClientListing->clear();
            Prompt::Message(Reminders::noneDueMessage(), Prompt::Icon::Critical);
            PrintBut->setEnabled(false);
            return;
        }
        ListDueClients(load.lines);
        PrintBut->setEnabled(true);
    });
}

void frmReminder::ListDueClients(const QVector<Reminders::Line> &lines)
{
    ClientListing->clear();
    for (const Reminders::Line &line : lines) {
        // The case is kept with its line, never read back from the text.
        auto *item = new QListWidgetItem(line.text);
        item->setData(Qt::UserRole, line.caseNo);
        ClientListing->addItem(item);
    }
}

int frmReminder::listIndex() const
{
    const QList<QListWidgetItem *> selected = ClientListing->selectedItems();
    return selected.isEmpty() ? -1 : ClientListing->row(selected.first());
}

void frmReminder::setListIndex(int row)
{
    if (row < 0 || row >= ClientListing->count()) {
        ClientListing->clearSelection();
        return;
    }
    ClientListing->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    ClientListing->scrollToItem(ClientListing->item(row));
}

qint64 frmReminder::caseNoAt(int row) const
{
    const QListWidgetItem *item = ClientListing->item(row);
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

// --- selection and opening ------------------------------------------------------

void frmReminder::ClientListing_Click()
{
    runGuarded(this, [&] {
        const int row = listIndex();
        if (row < 0)
            return;
        const qint64 caseNo = caseNoAt(row);
        const std::optional<Reminders::Selection> selection = Reminders::select(Data1->database(), caseNo);
        // The names are the row's own; a case deleted meanwhile has none.
        m_selected = CaseRef{QString::number(caseNo), selection ? selection->surname : QString(),
                             selection ? selection->animalName : QString()};
    });
}

void frmReminder::ClientListing_DblClick()
{
    runGuarded(this, [&] {
        const int row = listIndex();
        if (row < 0) {
            Prompt::Message(QStringLiteral("You must first select a case"), Prompt::Icon::Critical);
            return;
        }
        // The case to open is the selected line's, with its names read
        // again: the row may have changed since the line was selected.
        const std::optional<Reminders::Selection> selection = Reminders::select(Data1->database(), caseNoAt(row));
        if (!selection) {
            Prompt::Message(kGone, Prompt::Icon::Critical);
            return;
        }
        const CaseRef chosen{selection->caseNo, selection->surname, selection->animalName};
        // Unload the list; the opening sequence puts the case on the
        // recent-cases menu, opens its window and reports its own failures.
        close();
        OpenCaseInDocument(OpenVariant::LocatorOrReminder, chosen);
    });
}

// --- printing and closing -------------------------------------------------------

void frmReminder::PrintBut_Click()
{
    runGuarded(this, [&] {
        QStringList lines;
        for (int i = 0; i < ClientListing->count(); ++i)
            lines << ClientListing->item(i)->text();
        // The list ends on its last line, as a walk through the lines would
        // leave it: that case becomes the selected case.
        if (!lines.isEmpty())
            setListIndex(int(lines.size()) - 1);
        // A failure is reported once, and nothing more is printed.
        ReminderPrint::print(*printer(), ReminderPrint::pageLines(Clock::today(), lines));
    });
}

void frmReminder::Close_Click()
{
    close();
}
