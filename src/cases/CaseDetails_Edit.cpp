// Editing an existing case: the frame's Edit Case Details command opens the
// case details window on the row of the active case window's case, with
// Update in place of Add New Record and Done; Update stores the details and
// opens the case again. The weight unit is shown locked and the current weight
// is not offered: weights change only through weighing, and the history is
// never touched by an edit.
#include "cases/CaseDetails.h"

#include "cases/CaseHost.h"
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
    // The range is stored as numbers: a text that is none would be stored
    // as nonsense.
    if (!checkWeight(UpperWt, QStringLiteral("The upper weight must be a number more than 0")) ||
        !checkWeight(LowerWt, QStringLiteral("The lower weight must be a number more than 0")) || !rangeInOrder())
        return std::nullopt;
    const QDate dob = DateText::CDate(DOB->text());

    // One write of the detail fields, made only while the row still holds
    // what was read when the edit began: a row changed or deleted
    // elsewhere meanwhile is reported and nothing is overwritten.
    Recordset &rs = Data1->recordset();
    const qint64 caseNo = rs.field(QStringLiteral("CaseNo")).toLongLong();
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
    rs.close();
    return caseNo;
}
