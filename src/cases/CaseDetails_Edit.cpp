// Editing an existing case: the frame's Edit Case Details command opens the
// case details window on the row of the active case window's case, with
// Update in place of Add New Record and Done; Update stores the details and
// opens the case again. The weight unit is shown locked and the current weight
// is not offered: weights change only through weighing, and the history is
// never touched by an edit.
#include "cases/CaseDetails.h"

#include "cases/CaseHost.h"
#include "cases/CaseNotifier.h"
#include "cases/CaseOpening.h"
#include "cases/Species.h"
#include "cases/frmDocument.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <optional>

namespace {

const QString kCaseQuery = QStringLiteral("SELECT * FROM [Clients] WHERE [CaseNo] = ?");

/// A stored weight as the entry box shows it ("12.5", "12"); empty when none.
QString weightText(const QVariant &v)
{
    return v.isNull() ? QString() : NumText::Plain(v.toDouble());
}

/// A stored date of birth as the entry writes it ("05-Mar-2004"); a text that
/// is no date is shown as it is, for Update to refuse.
QString dobText(const QVariant &v)
{
    if (v.isNull())
        return QString();
    const std::optional<QDate> d = DateText::Parse(v.toString());
    return d ? DateText::Format(*d, QStringLiteral("dd-mmm-yyyy")) : v.toString();
}

const QString kChangedWhileEditing =
    QStringLiteral("This case was changed in another window or at another workstation while you were editing it: ");

/// The fields an edit writes, with the names the form gives them.
const QList<QPair<QString, QString>> &editedFields()
{
    static const QList<QPair<QString, QString>> fields = {
        {QStringLiteral("Surname"), QStringLiteral("Surname")},
        {QStringLiteral("AnimalName"), QStringLiteral("Animal's Name")},
        {QStringLiteral("Tel No"), QStringLiteral("Contact Tel #")},
        {QStringLiteral("Species"), QStringLiteral("Species")},
        {QStringLiteral("DOB"), QStringLiteral("date of birth")},
        {QStringLiteral("Sex"), QStringLiteral("Sex")},
        {QStringLiteral("Breed"), QStringLiteral("Breed")},
        {QStringLiteral("Units"), QStringLiteral("Units")},
        {QStringLiteral("UpperWt"), QStringLiteral("Upper Acceptable Weight")},
        {QStringLiteral("LowerWt"), QStringLiteral("Lower Acceptable Weight")},
        {QStringLiteral("Vet Comments"), QStringLiteral("Veterinary Comments")},
    };
    return fields;
}

/// The other fields of a case, as a change made to them elsewhere is told.
QString otherChange(const QString &field)
{
    static const QStringList weights = {QStringLiteral("Graph Data"), QStringLiteral("Graph Data Undo"),
                                        QStringLiteral("Last Weighed"), QStringLiteral("Last Weighed Undo"),
                                        QStringLiteral("CurrentWt")};
    for (const QString &w : weights)
        if (field.compare(w, Qt::CaseInsensitive) == 0)
            return QStringLiteral("its weights (a weighing or an undo)");
    if (field.compare(QLatin1String("Diet Recommend"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("its diet recommendation");
    if (field.compare(QLatin1String("Active"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("its reminder setting");
    if (field.compare(QLatin1String("LinkedRecNo"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("its link with the practice-management program");
    return field;
}

/// What the row now stored differs in from the row the edit read: the
/// changed details (named, with their new value where it is short) and the
/// other changes.
struct ChangesElsewhere {
    QStringList details;
    QStringList others;
};

ChangesElsewhere changesElsewhere(const Recordset &read, const Recordset &now)
{
    auto differs = [&](const QString &field) {
        const QVariant a = read.field(field);
        const QVariant b = now.field(field);
        return a.isNull() != b.isNull() || (!a.isNull() && a.toString() != b.toString());
    };
    ChangesElsewhere c;
    QStringList detailFields;
    for (const auto &f : editedFields()) {
        detailFields << f.first;
        if (!differs(f.first))
            continue;
        QString shown;
        if (f.first == QLatin1String("DOB"))
            shown = dobText(now.field(f.first));
        else if (f.first == QLatin1String("UpperWt") || f.first == QLatin1String("LowerWt"))
            shown = weightText(now.field(f.first));
        else if (f.first != QLatin1String("Vet Comments"))
            shown = now.text(f.first);
        c.details << (f.first == QLatin1String("Vet Comments")
                          ? QStringLiteral("the ") + f.second
                          : f.second + QStringLiteral(" (now \"") + shown + QStringLiteral("\")"));
    }
    for (const QString &field : now.fieldNames()) {
        // The surname's search key follows the surname, and the reminders
        // recompute [Aged] for every case: neither is anyone's change.
        if (detailFields.contains(field, Qt::CaseInsensitive) ||
            field.compare(QLatin1String("SurnameKey"), Qt::CaseInsensitive) == 0 ||
            field.compare(QLatin1String("Aged"), Qt::CaseInsensitive) == 0 || !read.hasField(field) || !differs(field))
            continue;
        const QString told = otherChange(field);
        if (!c.others.contains(told))
            c.others << told;
    }
    return c;
}

} // namespace

void CaseDetails::EditCaseCommand(QWidget *frame, frmDocument &doc)
{
    // One case details window at a time: an entry or an edit under way is
    // brought forward and keeps what has been typed (and a reserved number).
    if (CaseDetails *open = instance()) {
        open->show();
        open->raise();
        open->activateWindow();
        return;
    }

    // The case of the window, as that window loaded it.
    const CaseFacts facts = doc.facts();
    const qint64 caseNo = static_cast<qint64>(NumText::Val(facts.ref.caseNo));

    // A case deleted meanwhile is reported while its window is still open.
    const QSqlDatabase db = ClinicDb::connection(App().DBFName);
    if (!ClinicDb::scalar(db, QStringLiteral("SELECT 1 FROM [Clients] WHERE [CaseNo] = ?"), {caseNo}).isValid())
        throw FwError(ErrNo::RowDeleted);

    // The case window is closed for the whole edit; closing it first also
    // stores what was typed into it, so the row read below is the latest.
    if (CaseHost *host = CaseHost::current())
        host->closeCaseWindow(&doc);
    else
        doc.close();

    auto *w = new CaseDetails(frame, Mode::Edit);
    try {
        w->loadForEdit(caseNo, facts);
    } catch (...) {
        // The half-made window goes before the failure is shown.
        w->unload();
        throw;
    }
    w->show();
    w->SSurname->setFocus();
}

void CaseDetails::loadForEdit(qint64 caseNo, const CaseFacts &caseWindow)
{
    Data1 = new DataControl(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    BindToClinicDB(*Data1, kCaseQuery, {caseNo});
    bindDataSources();
    const Recordset &row = Data1->recordset();
    if (row.eof())
        throw FwError(ErrNo::RowDeleted);

    Done->hide();
    AddNewRec->hide();
    UUpdate->show();
    connect(UUpdate, &QPushButton::clicked, this, &CaseDetails::UUpdate_Click);

    // The breed list follows the species of the case window.
    const Species::Kind species = Species::parse(caseWindow.species);
    SSpecies->setEditText(caseWindow.species);
    BBreedK9->setVisible(species == Species::Kind::Dog);
    BBreedFel->setVisible(species == Species::Kind::Cat);
    if (species == Species::Kind::Dog)
        BBreedK9->setEditText(caseWindow.breed);
    else if (species == Species::Kind::Cat)
        BBreedFel->setEditText(caseWindow.breed);
    SSex->setEditText(caseWindow.sex);

    SSurname->setText(row.text(QStringLiteral("Surname")));
    AnName->setText(row.text(QStringLiteral("AnimalName")));
    TelNo->setText(row.text(QStringLiteral("Tel No")));
    SSpecies->setEditText(row.text(QStringLiteral("Species")));
    DOB->setText(dobText(row.field(QStringLiteral("DOB"))));
    UpperWt->setText(weightText(row.field(QStringLiteral("UpperWt"))));
    LowerWt->setText(weightText(row.field(QStringLiteral("LowerWt"))));
    VetCom->setPlainText(row.text(QStringLiteral("Vet Comments")));
    AAge->clear();

    CurrWt->setText(QStringLiteral("Unavailable"));
    CurrWt->setEnabled(false);

    // The stored unit, locked; a unit that is none of the four leaves "kg",
    // the window's own choice, selected.
    const QString units = row.text(QStringLiteral("Units"));
    for (QRadioButton *u : Units) {
        u->setEnabled(false);
        if (u->text() == units)
            u->setChecked(true);
    }
}

void CaseDetails::UUpdate_Click()
{
    std::optional<qint64> stored;
    runGuarded(this, [&] { stored = storeEdit(); });
    if (stored)
        closeAndOpenCase(*stored, OpenVariant::Edited);
}

std::optional<qint64> CaseDetails::storeEdit()
{
    if (!Data1)
        return std::nullopt; // not an edit

    // The checks of the entry, in its order; the first that fails says so
    // and nothing is stored.
    if (!textsWithinLimits() || !requiredFieldsEntered())
        return std::nullopt;
    const QString species = SSpecies->currentText();
    if (DOB->text().isEmpty()) {
        Prompt::Message(QStringLiteral("You must enter an age or DOB"), Prompt::Icon::Exclamation);
        CalcAge->setFocus();
        return std::nullopt;
    }
    // The rule of a new case holds for an edit that changes the species. The
    // unit is locked (the history is kept in it), so the species is what the
    // user can change. A case stored before the rule held keeps its species
    // and unit, so that its other details can still be corrected.
    const QString storedSpecies = Data1->recordset().field(QStringLiteral("Species")).toString();
    if (Species::parse(species) != Species::parse(storedSpecies) && !unitsFitSpecies(species, SSpecies))
        return std::nullopt;
    // The range is stored as numbers: a text that is none would be stored
    // as nonsense.
    if (!checkWeight(UpperWt, QStringLiteral("The upper weight must be a number more than 0")) ||
        !checkWeight(LowerWt, QStringLiteral("The lower weight must be a number more than 0")) || !rangeInOrder())
        return std::nullopt;
    const QDate dob = DateText::CDate(DOB->text());

    // One write of the detail fields, made only while the row still holds
    // what was read when the edit began (or when the user was last told of
    // a change made elsewhere): a row changed meanwhile is never overwritten
    // unseen, and a row deleted meanwhile is reported.
    Recordset &rs = Data1->recordset();
    const qint64 caseNo = rs.field(QStringLiteral("CaseNo")).toLongLong();
    try {
        writeEditedDetails(species, dob);
    } catch (const FwError &e) {
        // Not only shown: the user is told what changed, and may store the
        // details over the row as it now stands.
        if (e.number() != ErrNo::WriteConflict)
            throw;
        if (!storeOverChangesElsewhere(caseNo, species, dob))
            return std::nullopt;
    }
    Data1->recordset().close();
    // Other windows still open on the case show the new details.
    CaseNotifier::changed(caseNo);
    return caseNo;
}

bool CaseDetails::storeOverChangesElsewhere(qint64 caseNo, const QString &species, const QDate &dob)
{
    Recordset now;
    now.open(Data1->database(), kCaseQuery, {caseNo});
    if (now.eof())
        throw FwError(ErrNo::RowDeleted);
    const ChangesElsewhere changes = changesElsewhere(Data1->recordset(), now);
    const QString changed = (changes.details + changes.others).join(QStringLiteral(", "));

    if (changes.details.isEmpty()) {
        // The edit and the change made elsewhere touch different fields: the
        // user is told, and the next Update stores the details over the row
        // as it now stands, keeping that change.
        Prompt::Message(kChangedWhileEditing + changed +
                            QStringLiteral(". Your details are not stored yet. Click Update again to store them; "
                                           "what was changed there is kept."),
                        Prompt::Icon::Exclamation);
        Data1->Requery();
        return false;
    }
    // The same details were changed there: they are overwritten only when
    // the user says so, and asked again at the next Update otherwise.
    QString question =
        kChangedWhileEditing + changed + QStringLiteral(". Store your details over the details changed there?");
    if (!changes.others.isEmpty())
        question += QStringLiteral(" What else was changed there is kept.");
    if (Prompt::MsgBox(question, Prompt::Buttons::YesNo, Prompt::Icon::Question, Prompt::kTitle) != Prompt::Answer::Yes)
        return false;
    Data1->Requery();
    writeEditedDetails(species, dob);
    return true;
}

void CaseDetails::writeEditedDetails(const QString &species, const QDate &dob)
{
    Recordset &rs = Data1->recordset();
    try {
        ClinicDb::Transaction tx(Data1->database());
        rs.edit();
        rs.setField(QStringLiteral("Surname"), SSurname->text());
        rs.setField(QStringLiteral("AnimalName"), AnName->text());
        rs.setField(QStringLiteral("Tel No"), TelNo->text());
        rs.setField(QStringLiteral("Species"), species);
        rs.setField(QStringLiteral("DOB"), DateText::ToIso(dob));
        rs.setField(QStringLiteral("Sex"), SSex->currentText());
        rs.setField(QStringLiteral("Breed"), Species::parse(species) == Species::Kind::Cat   ? BBreedFel->currentText()
                                             : Species::parse(species) == Species::Kind::Dog ? BBreedK9->currentText()
                                                                                             : QStringLiteral("-"));
        rs.setField(QStringLiteral("Units"), selectedUnits());
        rs.setField(QStringLiteral("UpperWt"), NumText::Val(UpperWt->text()));
        rs.setField(QStringLiteral("LowerWt"), NumText::Val(LowerWt->text()));
        rs.setField(QStringLiteral("Vet Comments"), VetCom->toPlainText());
        rs.update();
        tx.commit();
    } catch (...) {
        // The half-made edit is given up before the failure is shown.
        if (rs.editing())
            rs.cancelUpdate();
        throw;
    }
}
