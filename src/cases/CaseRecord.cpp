#include "cases/CaseRecord.h"

#include "platform/FwError.h"
#include "platform/db/DataControl.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QDateTime>
#include <QVariant>

namespace {

// A field's value as the text the program works with: NULL as "", dates as
// ISO text (the form in which they are stored), numbers in their shortest form.
QString fieldText(const QVariant &v)
{
    if (v.isNull())
        return QString();
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return DateText::ToIso(v.toDate());
    case QMetaType::QDateTime:
        return DateText::ToIso(v.toDateTime().date());
    default:
        return v.toString();
    }
}

} // namespace

CaseRecord CaseRecord::fromRecordset(const Recordset &rs)
{
    CaseRecord r;
    auto read = [&](const QString &name, QString &into) {
        if (!rs.hasField(name)) {
            r.NullFields.insert(name);
            return;
        }
        const QVariant v = rs.field(name);
        if (v.isNull())
            r.NullFields.insert(name);
        into = fieldText(v);
    };
    read(QStringLiteral("CaseNo"), r.CaseNo);
    read(QStringLiteral("Surname"), r.Surname);
    read(QStringLiteral("AnimalName"), r.AnimalName);
    read(QStringLiteral("Tel No"), r.TelNo);
    read(QStringLiteral("Species"), r.Species);
    read(QStringLiteral("DOB"), r.DOB);
    read(QStringLiteral("Sex"), r.Sex);
    read(QStringLiteral("Breed"), r.Breed);
    read(QStringLiteral("Units"), r.Units);
    read(QStringLiteral("UpperWt"), r.UpperWt);
    read(QStringLiteral("LowerWt"), r.LowerWt);
    read(QStringLiteral("CurrentWt"), r.CurrentWt);
    read(QStringLiteral("Graph Data"), r.GraphData);
    read(QStringLiteral("Graph Data Undo"), r.GraphDataUndo);
    read(QStringLiteral("Last Weighed"), r.LastWeighed);
    read(QStringLiteral("Last Weighed Undo"), r.LastWeighedUndo);
    read(QStringLiteral("Vet Comments"), r.VetComments);
    read(QStringLiteral("Diet Recommend"), r.DietRecommend);
    read(QStringLiteral("LinkedRecNo"), r.LinkedRecNo);
    QString active;
    read(QStringLiteral("Active"), active);
    if (!r.isNull(QStringLiteral("Active")))
        r.Active = rs.field(QStringLiteral("Active")).toBool();
    return r;
}

float CaseRecord::upper() const
{
    return NumText::Sng(NumText::Val(UpperWt));
}

float CaseRecord::lower() const
{
    return NumText::Sng(NumText::Val(LowerWt));
}

bool CaseRecord::isReservedOnly() const
{
    // Everything the new-case entry fills is still empty; Active has the
    // column's default and says nothing about it.
    for (const QString *f : {&Surname, &AnimalName, &TelNo, &Species, &DOB, &Sex, &Breed, &Units, &UpperWt, &LowerWt,
                             &CurrentWt, &GraphData, &GraphDataUndo, &LastWeighed, &LastWeighedUndo, &VetComments})
        if (!f->isEmpty())
            return false;
    return true;
}

void CaseRecord::checkLoadable() const
{
    if (isReservedOnly())
        throw FwError(ErrNo::InvalidUseOfNull,
                      QStringLiteral("This case has no weighings or details yet (its entry was never completed)."));
}

void CaseRecord::require(const QString &fieldName) const
{
    if (isNull(fieldName))
        throw FwError(ErrNo::InvalidUseOfNull, QStringLiteral("The field %1 of this case is empty.").arg(fieldName));
}

namespace {

QDate convertDate(const QString &text, const QString &fieldName, const QString &what)
{
    if (text.trimmed().isEmpty())
        throw FwError(ErrNo::InvalidUseOfNull, QStringLiteral("The field %1 of this case is empty.").arg(fieldName));
    const std::optional<QDate> d = DateText::Parse(text);
    if (!d)
        throw FwError(ErrNo::TypeMismatch,
                      QStringLiteral("The %1 of this case (\"%2\") is not a date.").arg(what, text));
    return *d;
}

} // namespace

QDate CaseRecord::dobDate() const
{
    return convertDate(DOB, QStringLiteral("DOB"), QStringLiteral("date of birth"));
}

QDate CaseRecord::lastWeighedDate() const
{
    return convertDate(LastWeighed, QStringLiteral("Last Weighed"), QStringLiteral("date of the last weighing"));
}
