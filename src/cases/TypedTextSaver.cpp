#include "cases/TypedTextSaver.h"

#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/prompt/Prompt.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <exception>

namespace {

const QString kCloseUnsaved =
    QStringLiteral("The comments and diet recommendation typed in this window could not be saved. Close the "
                   "window and lose them?");
const QString kKeepMine = QStringLiteral("Keep &mine");
const QString kKeepStored = QStringLiteral("Keep the &stored text");
const QString kKeepBoth = QStringLiteral("Keep &both");

/// Texts compared without regard to the form of their line ends.
QString normalised(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

/// The stored text first, then what was typed here: only what the user
/// added when they added to the text they started from.
QString bothTexts(const QString &base, const QString &stored, const QString &typed)
{
    const QString added = !base.isEmpty() && typed.startsWith(base) ? typed.mid(base.size()) : typed;
    if (stored.isEmpty())
        return added;
    if (added.isEmpty())
        return stored;
    if (stored.endsWith(QLatin1Char('\n')) || added.startsWith(QLatin1Char('\n')))
        return stored + added;
    return stored + QLatin1Char('\n') + added;
}

} // namespace

TypedTextSaver::TypedTextSaver(QObject *parent, const QList<QPlainTextEdit *> &boxes, const QStringList &names, Row row)
    : QObject(parent), m_boxes(boxes), m_names(names), m_row(std::move(row))
{
    for (QPlainTextEdit *box : m_boxes)
        box->installEventFilter(this);
}

TypedTextSaver::~TypedTextSaver()
{
    if (m_saveAfterClick)
        qApp->removeEventFilter(this);
}

QStringList TypedTextSaver::typed() const
{
    QStringList texts;
    for (const QPlainTextEdit *box : m_boxes)
        texts << box->toPlainText();
    return texts;
}

void TypedTextSaver::restore(const QStringList &typed)
{
    for (int i = 0; i < m_boxes.size() && i < typed.size(); ++i)
        m_boxes[i]->setPlainText(typed.at(i));
}

bool TypedTextSaver::save()
{
    if (m_saving)
        return true; // a box shown by the save itself takes the focus away
    QScopedValueRollback<bool> busy(m_saving, true);
    QStringList texts = typed();
    if (!m_unsavedAfterFailure.isEmpty() && texts == m_unsavedAfterFailure)
        return false; // already reported; nothing new to try
    // A change made elsewhere is settled and the outcome written; should the
    // row change yet again meanwhile, it is settled again, a few times at most.
    for (int attempt = 0;; ++attempt) {
        try {
            m_row.write();
            m_unsavedAfterFailure.clear();
            m_lastError = 0;
            return true;
        } catch (const std::exception &e) {
            // Not only shown: the failure is remembered, so that the same text
            // is not reported again and closing knows that it was not saved.
            const auto *fe = dynamic_cast<const FwError *>(&e);
            m_lastError = fe ? fe->number() : -1;
            if (m_lastError != ErrNo::WriteConflict || attempt == 3) {
                m_unsavedAfterFailure = texts;
                showFailure(errorDescription(e));
                return false;
            }
        }
        if (!settleConflict(texts))
            return false;
        texts = typed();
    }
}

bool TypedTextSaver::retry()
{
    m_unsavedAfterFailure.clear();
    return save();
}

bool TypedTextSaver::mayClose()
{
    if (retry() || m_lastError == ErrNo::RowDeleted || m_lastError == ErrNo::NoCurrentRecord)
        return true;
    return Prompt::MsgBox(kCloseUnsaved, Prompt::Buttons::YesNo, Prompt::Icon::Exclamation, Prompt::kTitle) ==
           Prompt::Answer::Yes;
}

bool TypedTextSaver::settleConflict(const QStringList &texts)
{
    // The row as this window read it, and as it now stands.
    QStringList base = m_row.stored();
    if (!runGuarded(m_row.reread)) {
        restore(texts);
        return false;
    }
    const QStringList now = m_row.stored();
    QStringList outcome;
    for (int i = 0; i < m_boxes.size(); ++i) {
        const QString was = normalised(base.value(i));
        const QString stored = normalised(now.value(i));
        const QString mine = normalised(texts.value(i));
        if (mine == was || mine == stored)
            outcome << stored; // nothing typed here, or the same as stored
        else if (stored == was)
            outcome << texts.value(i); // nothing changed there
        else
            outcome << choose(i, was, stored, mine);
    }
    restore(outcome);
    runGuarded(m_row.reshow);
    return true;
}

QString TypedTextSaver::choose(int box, const QString &base, const QString &stored, const QString &typed) const
{
    // The user sees both texts before either is given up.
    const auto *window = qobject_cast<const QWidget *>(parent());
    const QString caption = window ? window->windowTitle() : QString();
    Prompt::ChoiceBox choice;
    choice.text = QStringLiteral("While you were typing here") +
                  (caption.isEmpty() ? QString() : QStringLiteral(" (") + caption + QStringLiteral(")")) +
                  QStringLiteral(", another window or another workstation changed the ") + m_names.value(box) +
                  QStringLiteral(" of this case. Keep your text, the text now stored, or both (the stored text "
                                 "first, yours after it)?");
    choice.details = QStringLiteral("Now stored:\n") + stored + QStringLiteral("\n\nTyped here:\n") + typed;
    choice.icon = Prompt::Icon::Exclamation;
    choice.title = Prompt::kTitle;
    choice.buttons = QStringList{kKeepMine, kKeepStored, kKeepBoth};
    choice.escapeButton = 2; // closing the box loses nothing either
    switch (Prompt::Choose(choice)) {
    case 0:
        return typed;
    case 1:
        return stored;
    default:
        return bothTexts(base, stored, typed);
    }
}

bool TypedTextSaver::eventFilter(QObject *watched, QEvent *event)
{
    const bool fromABox =
        std::any_of(m_boxes.cbegin(), m_boxes.cend(), [watched](const QObject *box) { return box == watched; });
    if (event->type() == QEvent::FocusOut && fromABox) {
        if (QGuiApplication::mouseButtons() != Qt::NoButton) {
            if (!m_saveAfterClick) {
                m_saveAfterClick = true;
                qApp->installEventFilter(this);
            }
        } else {
            save();
        }
    } else if (event->type() == QEvent::MouseButtonRelease && m_saveAfterClick) {
        m_saveAfterClick = false;
        qApp->removeEventFilter(this);
        // After the release has reached the clicked control and its handler.
        QTimer::singleShot(0, this, [this] {
            if (m_handlerDepth == 0)
                save();
            else
                m_savePending = true; // the handler may end without saving
        });
    }
    return QObject::eventFilter(watched, event);
}

TypedTextSaver::HandlerScope::HandlerScope(TypedTextSaver &saver) : m_saver(saver)
{
    ++m_saver.m_handlerDepth;
}

TypedTextSaver::HandlerScope::~HandlerScope()
{
    m_saver.handlerFinished();
}

void TypedTextSaver::handlerFinished()
{
    if (--m_handlerDepth > 0 || !m_savePending)
        return;
    // A handler that was cancelled saved nothing: the text typed before the
    // click that started it is saved now.
    m_savePending = false;
    QTimer::singleShot(0, this, [this] { save(); });
}
