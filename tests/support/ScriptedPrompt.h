#pragma once
// A prompt backend for tests: it answers each box from a queue and records
// every box in order. A message box with an OK button alone is answered OK
// without a script (unless autoOk(false)); any other box that finds no
// scripted answer is recorded as unexpected and answered No, Cancel, the
// escape button or "", and FW_VERIFY_PROMPTS then fails the test.
#include "platform/prompt/Prompt.h"

#include <QList>
#include <QString>
#include <QStringList>

struct ShownBox {
    enum Kind { Message, Input, File, Beep, Choice, PrinterSetup } kind = Message;
    QString text;        // message text, input prompt, file or printer dialog title, choice question
    QString details;     // choice boxes
    QStringList choices; // choice boxes: the buttons' captions
    Prompt::Icon icon = Prompt::Icon::None;
    Prompt::Buttons buttons = Prompt::Buttons::OK;
    QString title;
    QString defaultText; // input boxes
};

class ScriptedPrompt : public Prompt::Backend {
public:
    ScriptedPrompt();           // installs itself
    ~ScriptedPrompt() override; // uninstalls itself

    /// Queue the answer of the next message box.
    ScriptedPrompt &answer(Prompt::Answer a);
    /// Queue the button pressed in the next choice box (its index).
    ScriptedPrompt &pick(int button);
    /// Queue the text typed into the next input box ("" = cancel).
    ScriptedPrompt &type(const QString &text);
    /// Queue the file chosen in the next file dialog ("" = cancel).
    ScriptedPrompt &chooseFile(const QString &path);
    /// Queue the choice in the next printer setup: print to this PDF file
    /// ("" = cancel, the printer left as it was).
    ScriptedPrompt &printToFile(const QString &path);
    /// Message boxes with an OK button alone are answered OK without a script.
    ScriptedPrompt &autoOk(bool on = true);

    const QList<ShownBox> &shown() const { return m_shown; }
    QStringList texts() const; // texts of the message, choice and input boxes, in order
    const ShownBox &last() const;
    int count() const { return m_shown.size(); }
    int beeps() const;
    void clear();
    /// Boxes that came without a scripted answer, and answers never used.
    QStringList problems() const;

    Prompt::Answer message(const Prompt::Box &box) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText) override;
    int choose(const Prompt::ChoiceBox &box) override;
    QString file(const Prompt::FileRequest &request) override;
    bool printerSetup(QPrinter &printer, const QString &title) override;
    void beep() override;

private:
    struct Scripted {
        enum Kind { Answer, Text, File, Pick, Printer } kind;
        Prompt::Answer answer = Prompt::Answer::OK;
        QString text;
    };
    QList<Scripted> m_queue;
    QList<ShownBox> m_shown;
    QStringList m_problems;
    bool m_autoOk = true;
};

/// In a test: fails when a box came unexpected or a scripted answer was not used.
#define FW_VERIFY_PROMPTS(p) QVERIFY2((p).problems().isEmpty(), qPrintable((p).problems().join(QLatin1String("\n"))))
