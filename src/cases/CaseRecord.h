#pragma once
// One row of the table Clients: a case, that is one animal of one client, with
// the fields the case window and its analysis need. Every field is held as the
// text the row gives (a NULL field as ""), numbers as their text, dates as the
// stored ISO text; which fields were NULL is remembered, because a load must
// refuse an empty field where it needs a value but accept an empty text.
#include <QDate>
#include <QSet>
#include <QString>

class Recordset;

struct CaseRecord {
    QString CaseNo;
    QString Surname;
    QString AnimalName;
    QString TelNo; // [Tel No]
    QString Species;
    QString DOB; // stored text (ISO)
    QString Sex;
    QString Breed;
    QString Units;
    QString UpperWt; // the row's value as text
    QString LowerWt;
    QString CurrentWt;
    QString GraphData;       // [Graph Data]
    QString GraphDataUndo;   // [Graph Data Undo]
    QString LastWeighed;     // [Last Weighed], stored text (ISO)
    QString LastWeighedUndo; // [Last Weighed Undo]
    QString VetComments;     // [Vet Comments]
    QString DietRecommend;   // [Diet Recommend]
    QString LinkedRecNo;
    bool Active = false;

    /// The row's own names of the fields that were NULL ("Tel No", "Graph Data", ...).
    QSet<QString> NullFields;

    /// Read the current row of a recordset on Clients (fields by name, without
    /// regard to case). A field the source lacks counts as NULL. Throws
    /// FwError(ErrNo::NoCurrentRecord) when the recordset stands on no row.
    static CaseRecord fromRecordset(const Recordset &rs);

    bool isNull(const QString &fieldName) const { return NullFields.contains(fieldName); }

    /// The bounds of the acceptable range in single precision (lenient reading
    /// of the row's texts).
    float upper() const;
    float lower() const;

    /// True for a row that holds only its case number: reserved by a new-case
    /// entry that was never completed.
    bool isReservedOnly() const;

    /// Throws FwError(ErrNo::InvalidUseOfNull, "This case has no weighings or
    /// details yet (its entry was never completed).") for a reserved-only row.
    void checkLoadable() const;

    /// Throws FwError(ErrNo::InvalidUseOfNull) naming the field when it was NULL.
    void require(const QString &fieldName) const;

    /// The date of birth and the date of the latest weighing, converted by the
    /// program's date conversion. An empty field or a text that is no date
    /// throws FwError (InvalidUseOfNull / TypeMismatch) with a description that
    /// names the field.
    QDate dobDate() const;
    QDate lastWeighedDate() const;
};
