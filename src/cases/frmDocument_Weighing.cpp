// Weighing entry and undo of the case window: a new weighing fills in the
// weeks since the last one; the undo puts back the history from before the
// latest weighing, or corrects the first weight of a case weighed once.
//
// Each write stores only what this window loaded: if the case was weighed,
// undone or deleted in another window or at another workstation meanwhile,
// nothing is stored, the user is told, and the window shows the case afresh.
#include "cases/frmDocument.h"

#include "cases/CaseNotifier.h"
#include "cases/CaseProcs.h"
#include "cases/CaseStore.h"
#include "cases/TypedTextSaver.h"
#include "cases/Weighing.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSqlQuery>
#include <exception>
#include <functional>
#include <optional>

namespace {

const QString kNoHistory =
    QStringLiteral("The weight history of this case could not be read, so no weighing can be added to it.");
const QString kNothingToUndo = QStringLiteral("There is no earlier weighing to undo to.");

/// Ask for a weight until the answer is a number above 0 that a weight can
/// hold. Returns "" when the user cancels or clears the box. promptText(again)
/// gives the box's prompt, again being true after a refusal.
QString askWeight(const std::function<QString(bool again)> &promptText)
{
    QString answer = Prompt::InputBox(promptText(false), Prompt::kTitle, QStringLiteral("?"));
    for (;;) {
        const Weighing::AnswerCheck check = Weighing::checkAnswer(answer);
        if (check == Weighing::AnswerCheck::Empty)
            return QString();
        if (check == Weighing::AnswerCheck::Ok)
            return answer;
        Prompt::Message(Weighing::refusalText(check), Prompt::Icon::Critical);
        answer = Prompt::InputBox(promptText(true), Prompt::kTitle, QStringLiteral("?"));
    }
}

bool isConflict(const FwError &e)
{
    return e.number() == ErrNo::WriteConflict || e.number() == ErrNo::RowDeleted;
}

} // namespace

// Show the case as the database now holds it. The typed comments are saved
// first, and kept when they cannot be, so the row is then read without
// another attempt.
void frmDocument::reload(bool publish)
{
    const QStringList typed = m_typedText->typed();
    const bool saved = m_typedText->retry();
    runGuarded([this] { Data1->Requery(); });
    // Text that could not be saved stays in the boxes, not replaced by the row.
    if (!saved)
        m_typedText->restore(typed);
    if (publish) {
        Command1_Click();
        return;
    }
    saveTypedText();
    runGuarded([this] { load(false); });
}

void frmDocument::showChangeMadeElsewhere()
{
    // A deleted case stays shown as it was: the user closes its window, and
    // any write from it reports the deletion.
    QSqlQuery names = ClinicDb::exec(Data1->database(),
                                     QStringLiteral("SELECT [AnimalName], [Surname] FROM [Clients] WHERE [CaseNo] = ?"),
                                     {qint64(NumText::Val(m_case.caseNo))});
    if (!names.next())
        return;
    // An edit may have renamed the case.
    CaseRef ref = m_case;
    ref.animalName = names.value(0).toString();
    ref.surname = names.value(1).toString();
    if (ref.animalName != m_case.animalName || ref.surname != m_case.surname) {
        m_case = ref;
        setWindowTitle(CaseCaption(ref.caseNo, ref.animalName, ref.surname));
    }
    // Shown afresh in the background: the active window keeps the current case.
    QScopedValueRollback<bool> background(m_inBackground, true);
    reload(false);
    // The locator may have changed the reminder flag.
    if (m_testsActive)
        testActive();
}

// A write refused because the case was changed or deleted elsewhere
// meanwhile is no failure of the handler: the user is told, and the window
// shows the case as it now stands. Every other failure is shown by the guard.
void frmDocument::runWeighing(const std::function<void()> &body)
{
    runGuarded([&] {
        try {
            body();
        } catch (const FwError &e) {
            if (!isConflict(e))
                throw;
            Prompt::Message(e.description(), Prompt::Icon::Exclamation);
            reload();
        }
    });
}

void frmDocument::NextWt_Click()
{
    TypedTextSaver::HandlerScope scope(*m_typedText);
    runWeighing([&] {
        // The previous weight is the newest entry this window loaded; without
        // a loaded history the weeks would be filled in from nothing.
        if (m_numWts < 1) {
            Prompt::Message(kNoHistory, Prompt::Icon::Critical);
            return;
        }
        const Recordset &row = Data1->recordset();
        const auto askNextWeight = [&row] {
            return askWeight([&row](bool) {
                return QStringLiteral("Enter Next weight in ") + row.text(QStringLiteral("Units")) +
                       QStringLiteral("'s");
            });
        };
        QString answer = askNextWeight();
        if (answer.isEmpty())
            return;

        const CaseStore::LoadedHistory loaded = CaseStore::LoadedHistory::fromRecordset(row);
        const QDate today = Clock::today();
        const qint16 days = Weighing::daysSince(DateText::CDate(row.text(QStringLiteral("Last Weighed"))), today);
        if (Weighing::tooSoon(days)) {
            Prompt::Message(Weighing::tooSoonText(days), Prompt::Icon::Information);
            return;
        }

        const float prev = m_loaded.facts.currentWt;
        Weighing::Result w = Weighing::nextWeighing(NumText::Val(answer), prev, days);
        // A weight the history would keep as 0 is refused like any other
        // weight no animal has, and asked for again.
        while (!Weighing::historyKeeps(w)) {
            Prompt::Message(Weighing::kTooSmall, Prompt::Icon::Critical);
            answer = askNextWeight();
            if (answer.isEmpty())
                return;
            w = Weighing::nextWeighing(NumText::Val(answer), prev, days);
        }

        saveTypedText();
        CaseStore::storeWeighing(Data1->database(), loaded, loaded.graphData.toString() + w.appended, today,
                                 Weighing::storedWeight(w.currentWt));
        reload();
        CaseNotifier::changed(loaded.caseNo, this);
    });
}

void frmDocument::UndoToLastWt_Click()
{
    TypedTextSaver::HandlerScope scope(*m_typedText);
    runWeighing([&] {
        if (Prompt::MsgBox(QStringLiteral("Are you sure you wish to undo to the level of the previous last weighing?"),
                           Prompt::Buttons::YesNo, Prompt::Icon::Information, Prompt::kTitle) != Prompt::Answer::Yes)
            return;

        const Recordset &row = Data1->recordset();
        const CaseStore::LoadedHistory loaded = CaseStore::LoadedHistory::fromRecordset(row);
        const std::optional<QDate> lastWeighed = DateText::Parse(row.text(QStringLiteral("Last Weighed")));
        const std::optional<QDate> lastWeighedUndo = DateText::Parse(row.text(QStringLiteral("Last Weighed Undo")));

        if (m_numWts == 1) {
            // The first-weight correction.
            if (Prompt::MsgBox(QStringLiteral("Only one weighing so far. Would you like to correct this first weight?"),
                               Prompt::Buttons::YesNo, Prompt::Icon::Information,
                               Prompt::kTitle) != Prompt::Answer::Yes)
                return;
            const QString answer = askWeight([](bool again) {
                return again ? QStringLiteral("Please re-enter the first weight correction")
                             : QStringLiteral("Please enter the first weight correction");
            });
            if (answer.isEmpty())
                return;
            const float weight = NumText::Sng(NumText::Val(answer));
            const QString history = Weighing::correctedHistory(weight);
            // The date goes back to the undo date; a row without one keeps
            // the date of its one weighing rather than losing it.
            const QDate date =
                lastWeighedUndo ? *lastWeighedUndo : DateText::CDate(row.text(QStringLiteral("Last Weighed")));
            saveTypedText();
            CaseStore::storeCorrection(Data1->database(), loaded, date, history, Weighing::storedWeight(weight));
            reload();
            CaseNotifier::changed(loaded.caseNo, this);
            return;
        }

        // The undo. Without an undo copy there is nothing to go back to, and
        // restoring it would empty the history.
        const QString undoHistory = row.text(QStringLiteral("Graph Data Undo"));
        if (undoHistory.isEmpty() || !lastWeighedUndo) {
            Prompt::Message(kNothingToUndo, Prompt::Icon::Critical);
            return;
        }
        if (lastWeighed && *lastWeighed == *lastWeighedUndo)
            Prompt::Message(QStringLiteral("Already undone to the previous weight"), Prompt::Icon::Information);
        saveTypedText();
        CaseStore::storeUndo(Data1->database(), loaded, *lastWeighedUndo, undoHistory,
                             Weighing::storedWeight(Weighing::undoneCurrentWt(undoHistory)));
        reload();
        CaseNotifier::changed(loaded.caseNo, this);
    });
}
