#include "platform/prompt/Prompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>

namespace Prompt {
namespace {

// The width a box is given so that its title is not cut short in the title
// bar; never wider than the screen it opens on. The font is the one Qt keeps
// for title bars it draws itself, the nearest it knows to the desktop's.
int widthForTitle(const QWidget &box)
{
    const int wanted = titleBarWidth(box.windowTitle(), QApplication::font("QMdiSubWindowTitleBar"));
    const QScreen *screen = box.screen();
    return screen ? qMin(wanted, screen->availableGeometry().width()) : wanted;
}

// A message box sizes itself to its layout when it is shown; a row as wide as
// the title makes the layout, and so the box, wide enough. Added last, after
// the icon is set, because setting the icon builds the layout anew.
void reserveTitleWidth(QMessageBox &box)
{
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(widthForTitle(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

class DialogBackend : public Backend {
public:
    Answer message(const Box &box) override
    {
        QMessageBox mb(parentWindow());
        mb.setText(box.text);
        mb.setWindowTitle(box.title.isEmpty() ? applicationTitle() : box.title);
        switch (box.icon) {
        case Icon::None:
            mb.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Critical:
            mb.setIcon(QMessageBox::Critical);
            break;
        case Icon::Question:
            mb.setIcon(QMessageBox::Question);
            break;
        case Icon::Exclamation:
            mb.setIcon(QMessageBox::Warning);
            break;
        case Icon::Information:
            mb.setIcon(QMessageBox::Information);
            break;
        }
        switch (box.buttons) {
        case Buttons::OK:
            mb.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OKCancel:
            mb.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case Buttons::RetryCancel:
            mb.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            break;
        }
        reserveTitleWidth(mb);
        switch (mb.exec()) {
        case QMessageBox::Ok:
            return Answer::OK;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Retry:
            return Answer::Retry;
        default:
            // Closing a Yes/No box with Escape or the title bar means No.
            return box.buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        }
    }

    QString input(const QString &prompt, const QString &title, const QString &defaultText) override
    {
        QInputDialog dlg(parentWindow());
        dlg.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
        dlg.setLabelText(prompt);
        dlg.setTextValue(defaultText);
        // The box keeps to the size of its layout, which it builds only when
        // shown; its prompt's label, there already, widens it.
        if (auto *label = dlg.findChild<QLabel *>()) {
            const QStyle *style = dlg.style();
            const int margins = style->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, &dlg) +
                                style->pixelMetric(QStyle::PM_LayoutRightMargin, nullptr, &dlg);
            label->setMinimumWidth(widthForTitle(dlg) - margins);
        }
        if (dlg.exec() != QDialog::Accepted)
            return QString();
        return dlg.textValue();
    }

    QString file(const FileRequest &request) override
    {
        if (request.save)
            return QFileDialog::getSaveFileName(parentWindow(), request.title, request.directory, request.filter,
                                                request.selectedFilter);
        return QFileDialog::getOpenFileName(parentWindow(), request.title, request.directory, request.filter);
    }

    void beep() override { QApplication::beep(); }
};

Backend *&installed()
{
    static Backend *current = nullptr;
    return current;
}

QPointer<QWidget> &parentHolder()
{
    static QPointer<QWidget> parent;
    return parent;
}

} // namespace

void setBackend(Backend *b)
{
    installed() = b;
}

Backend &backend()
{
    static DialogBackend dialogs;
    return installed() ? *installed() : dialogs;
}

void setParentWindow(QWidget *parent)
{
    parentHolder() = parent;
}
QWidget *parentWindow()
{
    return parentHolder().data();
}

QString applicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Fenwarra") : name;
}

int titleBarWidth(const QString &title, const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int button = metrics.height() * 3 / 2;
    const int margin = metrics.averageCharWidth() * 2;
    return metrics.horizontalAdvance(title) + 2 * (3 * button + margin);
}

Answer MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title)
{
    return backend().message(Box{text, icon, buttons, title});
}

Answer Message(const QString &text, Icon icon)
{
    return MsgBox(text, Buttons::OK, icon, kTitle);
}

QString InputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    return backend().input(prompt, title, defaultText);
}

QString OpenFileName(const QString &title, const QString &directory, const QString &filter)
{
    return backend().file(FileRequest{title, directory, filter, false});
}

QString SaveFileName(const QString &title, const QString &directory, const QString &filter, QString *selectedFilter)
{
    return backend().file(FileRequest{title, directory, filter, true, selectedFilter});
}

void Beep()
{
    backend().beep();
}

} // namespace Prompt

PromptsOver::PromptsOver(QWidget *window) : m_previous(Prompt::parentWindow()), m_active(window != nullptr)
{
    if (m_active)
        Prompt::setParentWindow(window);
}

PromptsOver::~PromptsOver()
{
    if (m_active)
        Prompt::setParentWindow(m_previous);
}
