#include "support/ScriptedPrompt.h"

#include <QPrinter>

ScriptedPrompt::ScriptedPrompt()
{
    Prompt::setBackend(this);
}
ScriptedPrompt::~ScriptedPrompt()
{
    if (&Prompt::backend() == this)
        Prompt::setBackend(nullptr);
}

ScriptedPrompt &ScriptedPrompt::answer(Prompt::Answer a)
{
    m_queue.append({Scripted::Answer, a, QString()});
    return *this;
}
ScriptedPrompt &ScriptedPrompt::pick(int button)
{
    m_queue.append({Scripted::Pick, Prompt::Answer::OK, QString::number(button)});
    return *this;
}
ScriptedPrompt &ScriptedPrompt::type(const QString &text)
{
    m_queue.append({Scripted::Text, Prompt::Answer::OK, text});
    return *this;
}
ScriptedPrompt &ScriptedPrompt::chooseFile(const QString &path)
{
    m_queue.append({Scripted::File, Prompt::Answer::OK, path});
    return *this;
}
ScriptedPrompt &ScriptedPrompt::printToFile(const QString &path)
{
    m_queue.append({Scripted::Printer, Prompt::Answer::OK, path});
    return *this;
}
ScriptedPrompt &ScriptedPrompt::autoOk(bool on)
{
    m_autoOk = on;
    return *this;
}

QStringList ScriptedPrompt::texts() const
{
    QStringList out;
    for (const ShownBox &b : m_shown)
        if (b.kind == ShownBox::Message || b.kind == ShownBox::Input || b.kind == ShownBox::Choice)
            out << b.text;
    return out;
}

const ShownBox &ScriptedPrompt::last() const
{
    static const ShownBox none;
    return m_shown.isEmpty() ? none : m_shown.last();
}

int ScriptedPrompt::beeps() const
{
    int n = 0;
    for (const ShownBox &b : m_shown)
        n += b.kind == ShownBox::Beep;
    return n;
}

void ScriptedPrompt::clear()
{
    m_queue.clear();
    m_shown.clear();
    m_problems.clear();
}

QStringList ScriptedPrompt::problems() const
{
    QStringList out = m_problems;
    for (const Scripted &s : m_queue)
        out << QStringLiteral("scripted answer never used: %1")
                   .arg(s.kind == Scripted::Answer ? QString::number(int(s.answer)) : s.text);
    return out;
}

Prompt::Answer ScriptedPrompt::message(const Prompt::Box &box)
{
    ShownBox shown;
    shown.kind = ShownBox::Message;
    shown.text = box.text;
    shown.icon = box.icon;
    shown.buttons = box.buttons;
    shown.title = box.title;
    m_shown.append(shown);
    if (!m_queue.isEmpty() && m_queue.first().kind == Scripted::Answer)
        return m_queue.takeFirst().answer;
    if (m_autoOk && box.buttons == Prompt::Buttons::OK)
        return Prompt::Answer::OK;
    m_problems << QStringLiteral("unexpected message box: %1").arg(box.text);
    return box.buttons == Prompt::Buttons::YesNo ? Prompt::Answer::No : Prompt::Answer::Cancel;
}

int ScriptedPrompt::choose(const Prompt::ChoiceBox &box)
{
    ShownBox shown;
    shown.kind = ShownBox::Choice;
    shown.text = box.text;
    shown.details = box.details;
    shown.choices = box.buttons;
    shown.icon = box.icon;
    shown.title = box.title;
    m_shown.append(shown);
    if (!m_queue.isEmpty() && m_queue.first().kind == Scripted::Pick)
        return m_queue.takeFirst().text.toInt();
    m_problems << QStringLiteral("unexpected choice box: %1").arg(box.text);
    return box.escapeButton;
}

QString ScriptedPrompt::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    ShownBox shown;
    shown.kind = ShownBox::Input;
    shown.text = prompt;
    shown.title = title;
    shown.defaultText = defaultText;
    m_shown.append(shown);
    if (!m_queue.isEmpty() && m_queue.first().kind == Scripted::Text)
        return m_queue.takeFirst().text;
    m_problems << QStringLiteral("unexpected input box: %1").arg(prompt);
    return QString();
}

QString ScriptedPrompt::file(const Prompt::FileRequest &request)
{
    ShownBox shown;
    shown.kind = ShownBox::File;
    shown.text = request.title;
    m_shown.append(shown);
    if (!m_queue.isEmpty() && m_queue.first().kind == Scripted::File)
        return m_queue.takeFirst().text;
    m_problems << QStringLiteral("unexpected file dialog: %1").arg(request.title);
    return QString();
}

bool ScriptedPrompt::printerSetup(QPrinter &printer, const QString &title)
{
    ShownBox shown;
    shown.kind = ShownBox::PrinterSetup;
    shown.text = title;
    m_shown.append(shown);
    if (m_queue.isEmpty() || m_queue.first().kind != Scripted::Printer) {
        m_problems << QStringLiteral("unexpected printer setup: %1").arg(title);
        return false;
    }
    const QString path = m_queue.takeFirst().text;
    if (path.isEmpty())
        return false;
    // What the print dialog does with its print-to-file entry and a file name.
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
}

void ScriptedPrompt::beep()
{
    ShownBox shown;
    shown.kind = ShownBox::Beep;
    m_shown.append(shown);
}
