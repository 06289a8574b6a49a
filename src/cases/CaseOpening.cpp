#include "cases/CaseOpening.h"

#include "cases/CaseHost.h"
#include "cases/CaseProcs.h"
#include "cases/frmDocument.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/db/DataControl.h"
#include "platform/prompt/Prompt.h"
#include "platform/settings/Settings.h"
#include "platform/state/AppState.h"
#include "platform/state/LinkMode.h"
#include "platform/text/NumberText.h"

#include <QPointer>
#include <QRegularExpression>

#include <cmath>

namespace {

const QString kCaseQuery = QStringLiteral("SELECT * FROM [Clients] WHERE [CASENO] = ?");
const QString kLinkedQuery = QStringLiteral("SELECT * FROM [Clients] WHERE [LinkedRecNo] = ?");

const QString kNoLinkedRecords = QStringLiteral("There are no existing linked records for this animal / ") +
                                 QStringLiteral("client. The Fenwarra will now close and return you ") +
                                 QStringLiteral("to your management application. Next time request a New Case ") +
                                 QStringLiteral("rather than an Existing Case.'.");
const QString kRecordDeleted =
    QStringLiteral("This record no longer exists and must have been deleted. Please choose again.");

/// The case number as a value for the query: the number the text reads as
/// ("?" and other texts without a number read as 0, which no case has).
QVariant caseKey(const QString &caseNo)
{
    const double n = NumText::Val(caseNo);
    if (n == std::floor(n) && std::fabs(n) < 9.0e15)
        return QVariant(static_cast<qint64>(n));
    return QVariant(n);
}

/// The record number sent by the practice-management program, as a value for
/// the query. It is data from another program: only a whole number can be a
/// record number; anything else is bound as NULL, which matches no row, so it
/// takes the path of a client without linked records.
QVariant linkedKey(const QString &received)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*[-+]?\\d{1,18}\\s*$"));
    if (!whole.match(received).hasMatch())
        return QVariant();
    return QVariant(received.trimmed().toLongLong());
}

void pushRecent(const QString &caption)
{
    if (CaseHost *host = CaseHost::current())
        host->pushRecent(caption);
}

/// Close the window just opened, through the frame's Close command when there
/// is a frame.
void closeOpenedWindow(frmDocument *doc)
{
    if (!doc)
        return;
    if (CaseHost *host = CaseHost::current())
        host->closeCaseWindow(doc);
    else
        doc->close();
}

void critical(const QString &text)
{
    Prompt::Message(text, Prompt::Icon::Critical);
}

/// The linked and the recent-cases openings answer a failure in their own
/// words, and a missing row with steps of their own; true when this was one
/// of theirs.
bool answeredByTheCaller(OpenVariant variant, const FwError &e, frmDocument *doc)
{
    switch (variant) {
    case OpenVariant::Linked:
        if (e.number() == ErrNo::NoCurrentRecord) {
            critical(kNoLinkedRecords);
            App().Linked = linkModeText(LinkMode::Normal);
            Settings::save(QStringLiteral("LinkData"), QStringLiteral("Linked"), App().Linked);
            if (CaseHost *host = CaseHost::current())
                host->endAtOnce();
        } else {
            critical(e.description() + QStringLiteral(" **(Error no. ") + NumText::Str(e.number()) +
                     QStringLiteral(")"));
        }
        return true;
    case OpenVariant::Recent:
        if (e.number() == ErrNo::NoCurrentRecord) {
            closeOpenedWindow(doc);
            critical(kRecordDeleted);
        } else {
            critical(QStringLiteral("Error no ") + NumText::Str(e.number()) + QStringLiteral(" => ") + e.description());
        }
        return true;
    default:
        return false;
    }
}

/// The steps of the sequence; doc is the window once it is open.
void openSteps(OpenVariant variant, const CaseRef &requested, const QString &linkRecNo, QPointer<frmDocument> &doc)
{
    const bool linked = variant == OpenVariant::Linked;
    const bool recent = variant == OpenVariant::Recent;

    // The locator, the reminder list and a new case are listed before the
    // window opens.
    if (variant == OpenVariant::LocatorOrReminder || variant == OpenVariant::NewCase)
        pushRecent(CaseCaption(requested.caseNo, requested.animalName, requested.surname));

    // 1. The window, with a first caption until the row is read.
    QString firstCaption;
    if (linked)
        firstCaption = QStringLiteral("Linked Case =") + linkRecNo;
    else if (recent)
        firstCaption = QStringLiteral("Case#") + NumText::Str(NumText::Val(requested.caseNo));
    else
        firstCaption = CaseCaption(requested.caseNo, requested.animalName, requested.surname);
    doc = OpenCaseWindow(firstCaption);
    CaseRef ref = requested;
    doc->setCaseRef(ref);

    // 2. The case's row.
    if (linked)
        doc->bindCaseRow(kLinkedQuery, {linkedKey(linkRecNo)});
    else
        doc->bindCaseRow(kCaseQuery, {caseKey(ref.caseNo)});

    // 3. An inactive case is marked (reading the row fails when there is none).
    if (recent || variant == OpenVariant::LocatorOrReminder) {
        doc->testActive();
    }

    // 4. and 5. The report's single row and the breed table.
    doc->bindReportAndBreeds();

    // 6. Names from the row, and the case's own caption.
    if (linked || recent) {
        const Recordset &rs = doc->caseRow();
        ref.animalName = rs.text(QStringLiteral("AnimalName"));
        if (linked)
            ref.caseNo = rs.text(QStringLiteral("CaseNo"));
        ref.surname = rs.text(QStringLiteral("Surname"));
        doc->setCaseRef(ref);
        const QString caption = CaseCaption(ref.caseNo, ref.animalName, ref.surname);
        doc->setWindowTitle(caption);
        // 7. Listed once the row is known.
        pushRecent(caption);
    }

    // 8. Load and analyse.
    doc->Command1_Click();
}

} // namespace

frmDocument *OpenCaseInDocument(OpenVariant variant, const CaseRef &ref, const QString &linkRecNo)
{
    QPointer<frmDocument> doc;
    bool opened = false;
    runGuarded([&] {
        try {
            openSteps(variant, ref, linkRecNo, doc);
            opened = true;
        } catch (const FwError &e) {
            // Not only shown: some callers answer a failure in their own
            // words and with steps of their own.
            if (!answeredByTheCaller(variant, e, doc))
                throw;
        }
    });
    return opened ? doc.data() : nullptr;
}
