#pragma once
// The saving of text typed into a window's multi-line boxes (the case
// window's comments and diet recommendation), which belong to a row. Its
// promises: typed text is never dropped silently; when the same box was
// changed elsewhere meanwhile, neither text is overwritten unseen: the user
// sees both and keeps theirs, the stored one or both; a click is never
// swallowed by a save.
//
// A box is saved when it is left. When a mouse press on another control took
// the focus away, the save waits until the click is over: a message box shown
// in between would swallow the click, and the clicked control's handler saves
// first anyway. A handler that saves by itself holds a HandlerScope, so that a
// save put off until after its click runs when the handler has ended, and
// only when the handler did not save.
#include <QObject>
#include <QStringList>
#include <functional>

class QPlainTextEdit;

class TypedTextSaver : public QObject {
    Q_OBJECT
public:
    /// What the saver needs of the row behind the boxes.
    struct Row {
        /// Write the boxes' texts to the row; throws FwError (3197 when the
        /// same field was changed elsewhere, 3167 when the row is gone).
        std::function<void()> write;
        /// Read the row afresh; the boxes then show it.
        std::function<void()> reread;
        /// Show everything the window derives from the row afresh.
        std::function<void()> reshow;
        /// The row's texts of the boxes, as last read, in the boxes' order.
        std::function<QStringList()> stored;
    };

    /// names: what each box holds, as a message names it ("comments").
    TypedTextSaver(QObject *parent, const QList<QPlainTextEdit *> &boxes, const QStringList &names, Row row);
    ~TypedTextSaver() override;

    /// Write what is typed. A failure is reported once for the same text. A
    /// change made elsewhere to a box typed into here is settled with the
    /// user (see settleConflict), and the outcome written; the row is then
    /// shown as it now stands. Returns false when the text could not be saved.
    bool save();
    /// save() tried again even for text whose failure was reported.
    bool retry();
    /// Whether the window may close: the text is saved, tried once more if it
    /// failed before; when it still cannot be (other than for a row that no
    /// longer exists), the user is asked before it is lost.
    bool mayClose();

    /// The boxes' texts, and putting them back after the row was read again.
    QStringList typed() const;
    void restore(const QStringList &typed);

    /// Held by a handler that saves the typed text itself.
    class HandlerScope {
    public:
        explicit HandlerScope(TypedTextSaver &saver);
        ~HandlerScope();
        HandlerScope(const HandlerScope &) = delete;
        HandlerScope &operator=(const HandlerScope &) = delete;

    private:
        TypedTextSaver &m_saver;
    };

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// After a write refused because a box was changed elsewhere: read the
    /// row again and put into each box what it is to hold: the stored text
    /// where nothing was typed here, the typed text where nothing was changed
    /// elsewhere, and where both were, what the user chooses after seeing
    /// both texts. False when the row could not be read again (the typed
    /// text then stays in the boxes).
    bool settleConflict(const QStringList &typed);
    QString choose(int box, const QString &base, const QString &stored, const QString &typed) const;
    void handlerFinished();

    QList<QPlainTextEdit *> m_boxes;
    QStringList m_names;
    Row m_row;
    bool m_saving = false;
    QStringList m_unsavedAfterFailure; // texts whose save failed and was reported
    int m_lastError = 0;               // error number of the last failed save, 0 after a success
    bool m_saveAfterClick = false;     // a box lost the focus to a mouse press
    int m_handlerDepth = 0;
    bool m_savePending = false; // a save put off until after a click met a running handler
};
