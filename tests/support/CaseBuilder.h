#pragma once
// A case put into Clients for a test, field by named field:
//
//     const int no = CaseBuilder().surname("Jones").animal("Bess").species("Cat").range(4, 5).add();
//
// What a test leaves unset is an ordinary case: Rex Smith's male Beagle,
// telephone 01632 960123, 10-12 kg, weighed once at 11 kg on 10 January
// 2024, born 15 January 2020, comments "None", no diet recommendation, no
// linked record, active, and the undo state equal to the current one. The
// current weight is the last entry of the history.
#include <QDate>
#include <QString>
#include <QVariant>

class CaseBuilder {
public:
    /// The case number to use instead of the highest one plus one.
    CaseBuilder &caseNo(int v) { return set(m_caseNo, v); }
    CaseBuilder &surname(const QString &v) { return set(m_surname, v); }
    CaseBuilder &animal(const QString &v) { return set(m_animal, v); }
    CaseBuilder &telNo(const QString &v) { return set(m_telNo, v); }
    CaseBuilder &species(const QString &v) { return set(m_species, v); }
    CaseBuilder &breed(const QString &v) { return set(m_breed, v); }
    CaseBuilder &sex(const QString &v) { return set(m_sex, v); }
    CaseBuilder &units(const QString &v) { return set(m_units, v); }
    CaseBuilder &dob(const QDate &v) { return set(m_dob, v); }
    CaseBuilder &range(double lower, double upper)
    {
        m_lower = lower;
        m_upper = upper;
        return *this;
    }
    /// The weekly history as stored, e.g. "12.5;12.3;".
    CaseBuilder &history(const QString &v) { return set(m_history, v); }
    CaseBuilder &lastWeighed(const QDate &v) { return set(m_lastWeighed, v.toString(Qt::ISODate)); }
    /// The date as stored (a time of day may follow); a null text stores none.
    CaseBuilder &lastWeighed(const QString &v) { return set(m_lastWeighed, v); }
    /// What Undo goes back to.
    CaseBuilder &undo(const QString &history, const QDate &lastWeighed)
    {
        m_undoHistory = history;
        m_undoLastWeighed = lastWeighed.toString(Qt::ISODate);
        m_hasUndo = true;
        return *this;
    }
    CaseBuilder &vetComments(const QString &v) { return set(m_vetComments, v); }
    CaseBuilder &dietRecommend(const QString &v) { return set(m_dietRecommend, v); }
    CaseBuilder &linkedRecNo(qint64 v) { return set(m_linkedRecNo, QVariant(v)); }
    CaseBuilder &inactive() { return set(m_active, false); }

    /// Inserts the row, with bound values, into the running test's database;
    /// returns its CaseNo.
    int add() const;

private:
    template <typename T, typename V> CaseBuilder &set(T &field, const V &v)
    {
        field = v;
        return *this;
    }

    int m_caseNo = 0;
    QString m_surname = QStringLiteral("Smith");
    QString m_animal = QStringLiteral("Rex");
    QString m_telNo = QStringLiteral("01632 960123");
    QString m_species = QStringLiteral("Dog");
    QString m_breed = QStringLiteral("Beagle");
    QString m_sex = QStringLiteral("Male");
    QString m_units = QStringLiteral("kg");
    QDate m_dob = QDate(2020, 1, 15);
    double m_lower = 10;
    double m_upper = 12;
    QString m_history = QStringLiteral("11;");
    QString m_lastWeighed = QStringLiteral("2024-01-10");
    bool m_hasUndo = false;
    QString m_undoHistory;
    QString m_undoLastWeighed;
    QString m_vetComments = QStringLiteral("None");
    QString m_dietRecommend;
    QVariant m_linkedRecNo;
    bool m_active = true;
};
