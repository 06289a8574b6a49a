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

#include <algorithm>
#include <exception>

namespace {

const QString kCloseUnsaved =
    QStringLiteral("The comments and diet recommendation typed in this window could not be saved. Close the "
                   "window and lose them?");
const QString kTypedTextConflict =
    QStringLiteral("The comments or diet recommendation of this case were changed in another window or at "
                   "another workstation while you were typing here. Your text is kept in this window and will "
                   "replace that change when you leave the box.");

} // namespace

TypedTextSaver::TypedTextSaver(QObject *parent, const QList<QPlainTextEdit *> &boxes, Row row)
    : QObject(parent), m_boxes(boxes), m_row(std::move(row))
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
    const QStringList texts = typed();
    if (!m_unsavedAfterFailure.isEmpty() && texts == m_unsavedAfterFailure)
        return false; // already reported; nothing new to try
    try {
        m_row.write();
        m_unsavedAfterFailure.clear();
        m_lastError = 0;
        return true;
    } catch (const std::exception &e) {
        // Not only shown: the failure is remembered, so that the same text is
        // not reported again and closing knows that it was not saved.
        const auto *fe = dynamic_cast<const FwError *>(&e);
        m_lastError = fe ? fe->number() : -1;
        if (m_lastError != ErrNo::WriteConflict) {
            m_unsavedAfterFailure = texts;
            showFailure(errorDescription(e));
            return false;
        }
    }
    keepTypedOverNewerRow(texts);
    return false;
}

bool TypedTextSaver::retry()
{
    m_unsavedAfterFailure.clear();
    if (save())
        return true;
    // Text kept after a change made elsewhere is stored over it now, as the
    // user was told it would be.
    if (m_lastError == ErrNo::WriteConflict)
        return save();
    return false;
}

bool TypedTextSaver::mayClose()
{
    if (retry() || m_lastError == ErrNo::RowDeleted || m_lastError == ErrNo::NoCurrentRecord)
        return true;
    return Prompt::MsgBox(kCloseUnsaved, Prompt::Buttons::YesNo, Prompt::Icon::Exclamation, Prompt::kTitle) ==
           Prompt::Answer::Yes;
}

void TypedTextSaver::keepTypedOverNewerRow(const QStringList &texts)
{
    // The same box was changed elsewhere while the user typed here. What was
    // typed is never thrown away: the window takes the row as it now stands
    // (so what it shows, and the next save, start from it), the typed text
    // goes back into the boxes, and the user is told that leaving the box
    // will store it.
    Prompt::Message(kTypedTextConflict, Prompt::Icon::Exclamation);
    runGuarded(m_row.reread);
    restore(texts);
    m_unsavedAfterFailure.clear();
    runGuarded(m_row.reshow);
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
