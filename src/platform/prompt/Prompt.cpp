#include "platform/prompt/Prompt.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <QVBoxLayout>

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
        // shown: it is widened for its title once it is up.
        const int wide = widthForTitle(dlg);
        QMetaObject::invokeMethod(
            &dlg, [&dlg, wide] { dlg.setMinimumWidth(std::max(dlg.minimumWidth(), wide)); }, Qt::QueuedConnection);
        if (dlg.exec() != QDialog::Accepted)
            return QString();
        return dlg.textValue();
    }

    int choose(const ChoiceBox &box) override
    {
        QDialog dlg(parentWindow());
        dlg.setWindowTitle(box.title.isEmpty() ? applicationTitle() : box.title);
        auto *layout = new QVBoxLayout(&dlg);
        auto *top = new QHBoxLayout;
        const QStyle::StandardPixmap icons[] = {QStyle::SP_CustomBase, QStyle::SP_MessageBoxCritical,
                                                QStyle::SP_MessageBoxQuestion, QStyle::SP_MessageBoxWarning,
                                                QStyle::SP_MessageBoxInformation};
        if (box.icon != Icon::None) {
            auto *icon = new QLabel(&dlg);
            const int size = dlg.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &dlg);
            icon->setPixmap(dlg.style()->standardIcon(icons[int(box.icon)], nullptr, &dlg).pixmap(size, size));
            icon->setAlignment(Qt::AlignTop);
            top->addWidget(icon);
        }
        auto *text = new QLabel(box.text, &dlg);
        text->setWordWrap(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        top->addWidget(text, 1);
        layout->addLayout(top);
        if (!box.details.isEmpty()) {
            // Long texts (years of comments) scroll rather than stretch the box.
            auto *details = new QPlainTextEdit(box.details, &dlg);
            details->setReadOnly(true);
            details->setMinimumSize(480, 220);
            layout->addWidget(details, 1);
        }
        auto *buttons = new QDialogButtonBox(&dlg);
        int pressed = box.escapeButton;
        for (int i = 0; i < box.buttons.size(); ++i) {
            QPushButton *b = buttons->addButton(box.buttons.at(i), QDialogButtonBox::ActionRole);
            QObject::connect(b, &QPushButton::clicked, &dlg, [&dlg, &pressed, i] {
                pressed = i;
                dlg.accept();
            });
        }
        layout->addWidget(buttons);
        if (dlg.exec() != QDialog::Accepted)
            return box.escapeButton;
        return pressed;
    }

    QString file(const FileRequest &request) override
    {
        if (request.save)
            return QFileDialog::getSaveFileName(parentWindow(), request.title, request.directory, request.filter,
                                                request.selectedFilter);
        return QFileDialog::getOpenFileName(parentWindow(), request.title, request.directory, request.filter);
    }

    bool printerSetup(QPrinter &printer, const QString &title) override
    {
        QPrintDialog dialog(&printer, parentWindow());
        dialog.setWindowTitle(title);
        // Everything a setup can choose: every printer the platform knows,
        // printing to a PDF file among them, the paper and the copies. A page
        // range or selection belongs to one document, not to the setup.
        dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                          QAbstractPrintDialog::PrintCollateCopies);
        // The platform's dialog confirms with its own "Print" button: here it
        // keeps the choice and prints nothing. Its inner buttons are not ours
        // to relabel.
        return dialog.exec() == QDialog::Accepted;
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

int Choose(const ChoiceBox &box)
{
    return backend().choose(box);
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

bool PrinterSetup(QPrinter &printer, const QString &title)
{
    return backend().printerSetup(printer, title);
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
