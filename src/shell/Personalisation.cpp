#include "shell/Personalisation.h"

#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/help/Help.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/widgets/MakeControl.h"
#include "platform/widgets/SelectAllText.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kHelpTopic = 1083;
// Room in a title bar beside its caption: the window's icon and buttons.
constexpr int kTitleBarExtras = 160;

const QString kTable = QStringLiteral("Personal");

// The box of each field of the row, in the table's order.
struct Field {
    const char *box;
    const char *field;
    const char *label;
};
const Field kFields[] = {
    {"Surgery", "Surgery", "Surgery:"},           {"Address1", "Address 1", "Address line 1:"},
    {"Address2", "Address 2", "Address line 2:"}, {"TelephoneNumber", "Tel No", "Tel. No:"},
    {"FaxNumber", "Fax No", "Fax No:"},           {"eMailAddress", "e-mail", "e-mail Address:"},
};

const QString kChanged =
    QStringLiteral("The practice details were changed elsewhere while you were editing them, so nothing was saved. "
                   "The window still shows what you typed: press Done again to store it.");
const QString kDeleted =
    QStringLiteral("The practice details were deleted elsewhere while you were editing them, so nothing was saved. "
                   "The window still shows what you typed: press Done again to store it as the practice's details.");
const QString kNotSaved = QStringLiteral("The practice details could not be saved:\n%1\n\n"
                                         "The window still shows what you typed: press Done to try again, or "
                                         "Cancel to close the window without saving it.");
const QString kDiscard = QStringLiteral("Close the practice details without saving what you typed? "
                                        "The details stored before stay as they are.");

// The declared length of a text field ("VARCHAR(50)" gives 50); 0 when the
// field has none.
int declaredLength(const QSqlDatabase &db, const QString &table, const QString &field)
{
    QSqlQuery q =
        ClinicDb::exec(db, QStringLiteral("SELECT [type] FROM pragma_table_info(?) WHERE [name] = ?"), {table, field});
    if (!q.next())
        return 0;
    static const QRegularExpression size(QStringLiteral("\\(\\s*(\\d+)\\s*\\)"));
    const QRegularExpressionMatch m = size.match(q.value(0).toString());
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

Personalisation::Personalisation(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Personalisation"));
    setWindowTitle(QStringLiteral("These details will be printed on all reports the Fenwarra Produces...."));
    setModal(true);

    Data1 = new DataControl(this);
    Data1->setObjectName(QStringLiteral("Data1"));

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    QLineEdit **boxes[] = {&Surgery, &Address1, &Address2, &TelephoneNumber, &FaxNumber, &eMailAddress};
    for (int i = 0; i < 6; ++i) {
        auto *box = Controls::make<QLineEdit>(this, kFields[i].box);
        box->setMinimumWidth(420);
        box->installEventFilter(this);
        auto *label = new QLabel(QLatin1String(kFields[i].label), this);
        label->setBuddy(box);
        form->addRow(label, box);
        Data1->bind(box, QLatin1String(kFields[i].field));
        *boxes[i] = box;
    }

    Done = Controls::make<QPushButton>(this, "Done", QStringLiteral("&Done"));
    Done->setDefault(true);
    HHelp = Controls::button(this, "HHelp", QStringLiteral("&Help"), [this] { HHelp_Click(); });
    connect(Done, &QPushButton::clicked, this, [this] { Done_Click(); });
    Cancel = Controls::button(this, "Cancel", QStringLiteral("&Cancel"), [this] { reject(); });
    Cancel->hide();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Done);
    buttons->addWidget(Cancel);
    buttons->addWidget(HHelp);

    // The caption is long: the window is wide enough for its title bar to
    // show it whole rather than cut in the middle.
    QFont captionFont = font();
    captionFont.setBold(true);
    setMinimumWidth(QFontMetrics(captionFont).horizontalAdvance(windowTitle()) + kTitleBarExtras);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    // Whenever the row is read, the boxes take the lengths of its fields.
    connect(Data1, &DataControl::refreshed, this, [this] { applyFieldSizes(); });
}

void Personalisation::applyFieldSizes()
{
    const QSqlDatabase db = Data1->database();
    QLineEdit *boxes[] = {Surgery, Address1, Address2, TelephoneNumber, FaxNumber, eMailAddress};
    for (int i = 0; i < 6; ++i) {
        const int length = declaredLength(db, kTable, QLatin1String(kFields[i].field));
        // A longer text stored by other means is shown whole, never cut.
        boxes[i]->setMaxLength(length > 0 ? std::max<int>(length, boxes[i]->text().size()) : 32767);
    }
}

QStringList Personalisation::typedTexts() const
{
    return {Surgery->text(),         Address1->text(),  Address2->text(),
            TelephoneNumber->text(), FaxNumber->text(), eMailAddress->text()};
}

void Personalisation::restoreTypedTexts(const QStringList &typed)
{
    QLineEdit *boxes[] = {Surgery, Address1, Address2, TelephoneNumber, FaxNumber, eMailAddress};
    for (int i = 0; i < 6 && i < typed.size(); ++i) {
        boxes[i]->setMaxLength(std::max(boxes[i]->maxLength(), int(typed.at(i).size())));
        boxes[i]->setText(typed.at(i));
    }
}

void Personalisation::store()
{
    Recordset &rs = Data1->recordset();
    if (!rs.isOpen())
        throw FwError(ErrNo::DatabaseError);
    if (!rs.eof() && !rs.bof()) {
        Data1->saveBound();
        return;
    }
    // The practice has no row (deleted elsewhere): the typed details become it.
    const QStringList typed = typedTexts();
    rs.addNew();
    try {
        for (int i = 0; i < 6; ++i)
            rs.setField(QLatin1String(kFields[i].field), typed.at(i));
        rs.update();
    } catch (...) {
        rs.cancelUpdate();
        throw;
    }
}

bool Personalisation::save()
{
    bool saved = false;
    PromptsOver boxesOver(this);
    try {
        store();
        saved = true;
    } catch (const FwError &e) {
        const QStringList typed = typedTexts();
        QString message;
        if (e.number() == ErrNo::WriteConflict || e.number() == ErrNo::RowDeleted) {
            // The row is read anew, so that the next Done stores the typed
            // text over what is there now (or puts the row back).
            try {
                Data1->Requery();
            } catch (const FwError &) {
                // The text stays in the boxes; the next Done reports again.
            }
            restoreTypedTexts(typed);
            message = e.number() == ErrNo::WriteConflict ? kChanged : kDeleted;
        } else {
            message = kNotSaved.arg(e.description());
        }
        showFailure(message, Prompt::Icon::Exclamation);
    } catch (const std::exception &e) {
        showFailure(kNotSaved.arg(errorDescription(e)), Prompt::Icon::Exclamation);
    }
    if (!saved) {
        m_saveRefused = true;
        Cancel->show();
    }
    return saved;
}

void Personalisation::Done_Click()
{
    if (save())
        accept();
}

void Personalisation::reject()
{
    if (!m_saveRefused) {
        // Closing the window keeps the typed details too, as Done does.
        if (save())
            QDialog::reject();
        return;
    }
    // The user has been told why the details cannot be stored; the way out
    // must not depend on typing the old details back.
    PromptsOver boxesOver(this);
    if (Prompt::MsgBox(kDiscard, Prompt::Buttons::YesNo, Prompt::Icon::Question, Prompt::kTitle) == Prompt::Answer::Yes)
        QDialog::reject();
}

void Personalisation::HHelp_Click()
{
    runGuarded(this, [&] { Help::showTopic(App().HelpFilePath, kHelpTopic); });
}

void Personalisation::Surgery_GotFocus()
{
    SelectAllText(Surgery);
}

void Personalisation::Address1_GotFocus()
{
    SelectAllText(Address1);
}

void Personalisation::Address2_GotFocus()
{
    SelectAllText(Address2);
}

void Personalisation::TelephoneNumber_GotFocus()
{
    SelectAllText(TelephoneNumber);
}

void Personalisation::FaxNumber_GotFocus()
{
    SelectAllText(FaxNumber);
}

void Personalisation::eMailAddress_GotFocus()
{
    SelectAllText(eMailAddress);
}

bool Personalisation::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        using Handler = void (Personalisation::*)();
        const std::pair<QLineEdit *, Handler> handlers[] = {
            {Surgery, &Personalisation::Surgery_GotFocus},
            {Address1, &Personalisation::Address1_GotFocus},
            {Address2, &Personalisation::Address2_GotFocus},
            {TelephoneNumber, &Personalisation::TelephoneNumber_GotFocus},
            {FaxNumber, &Personalisation::FaxNumber_GotFocus},
            {eMailAddress, &Personalisation::eMailAddress_GotFocus},
        };
        for (const auto &[box, handler] : handlers) {
            if (watched != box)
                continue;
            selectAllOnFocus(box, static_cast<QFocusEvent *>(event), [this, handler = handler] { (this->*handler)(); });
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
