#pragma once
// The prompt layer: every message box, input box, file dialog and beep of the
// program goes through here, so that tests can answer them from a script and
// check each box's text, icon, buttons and title.
#include "platform/prompt/Box.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class QPrinter;

namespace Prompt {

/// A box that asks the user to choose between a few named courses.
struct ChoiceBox {
    QString text;    // the question
    QString details; // a longer text shown below it, scrollable (may be empty)
    Icon icon = Icon::None;
    QString title;         // empty: the application's title
    QStringList buttons;   // their captions, left to right
    int escapeButton = -1; // the button that Esc and the close box stand for
};

struct FileRequest {
    QString title;
    QString directory;
    QString filter;
    bool save = false;
    /// Save dialogs: the filter shown first, and afterwards the one the user
    /// chose (left as it was by a backend that has no filters to choose).
    QString *selectedFilter = nullptr;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual Answer message(const Box &box) = 0;
    /// The typed text, or "" when the user cancelled.
    virtual QString input(const QString &prompt, const QString &title, const QString &defaultText) = 0;
    /// The index of the button pressed (the escape button when the box was
    /// closed otherwise).
    virtual int choose(const ChoiceBox &box) = 0;
    /// The chosen file, or "" when the user cancelled.
    virtual QString file(const FileRequest &request) = 0;
    /// Let the user set up the printer (which printer or file, paper,
    /// copies); true when the choices were confirmed and applied to it.
    virtual bool printerSetup(QPrinter &printer, const QString &title) = 0;
    virtual void beep() = 0;
};

/// Install a backend (tests install a scripted one); nullptr returns to the real dialogs.
void setBackend(Backend *backend);
Backend &backend();

/// The window real dialogs are parented to (the frame); may be null.
void setParentWindow(QWidget *parent);
QWidget *parentWindow();

Answer MsgBox(const QString &text, Buttons buttons = Buttons::OK, Icon icon = Icon::None,
              const QString &title = QString());
/// Shorthand for the program's usual box: OK button, the given icon, "Message from the Fenwarra".
Answer Message(const QString &text, Icon icon);
/// A box with buttons of its own; the index of the button pressed.
int Choose(const ChoiceBox &box);
QString InputBox(const QString &prompt, const QString &title = QString(), const QString &defaultText = QString());
QString OpenFileName(const QString &title, const QString &directory, const QString &filter);
QString SaveFileName(const QString &title, const QString &directory, const QString &filter,
                     QString *selectedFilter = nullptr);
/// The platform's print dialog on the given printer, for setting it up; true
/// when the user confirmed it.
bool PrinterSetup(QPrinter &printer, const QString &title);
void Beep();

/// The application's title, shown on boxes that have none of their own.
QString applicationTitle();

/// The width a box needs for its window's title bar to show the whole title
/// in the given font (a title bar's, which is often bold): the title, and on
/// both sides room for three square buttons (close, maximise, minimise) a
/// line and a half high, since many title bars centre the title while the
/// buttons sit on one side only.
int titleBarWidth(const QString &title, const QFont &font);

} // namespace Prompt

/// While alive, message and input boxes open over the given window rather
/// than over the frame: the entry windows stay on top of the frame, and a box
/// behind them could not be seen. A null window leaves the boxes where they
/// open now.
class PromptsOver {
public:
    explicit PromptsOver(QWidget *window);
    ~PromptsOver();
    PromptsOver(const PromptsOver &) = delete;
    PromptsOver &operator=(const PromptsOver &) = delete;

private:
    QPointer<QWidget> m_previous;
    bool m_active = false;
};
