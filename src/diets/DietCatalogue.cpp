#include "diets/DietCatalogue.h"

#include "diets/ConditionTree.h"
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"

#include <QSqlQuery>
#include <algorithm>
#include <vector>

const QString DietCatalogue::kInvalidKeyMessage = QStringLiteral("Not a valid key stroke to search upon!");

namespace {

// Rows without a name have nothing to show in a list and nothing to be
// clicked by; they are left out rather than ending the list.
const QString kNamed = QStringLiteral("[Generic] IS NOT NULL AND TRIM([Generic]) <> ''");

QString containsPattern(const QString &text)
{
    return QLatin1Char('%') + ClinicDb::likeEscape(text) + QLatin1Char('%');
}

QString tableName(DietTable table)
{
    return table == DietTable::Catalogue ? QStringLiteral("[Diets]") : QStringLiteral("[Diets Added]");
}

QStringList namesOf(QSqlQuery &q)
{
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

// The letters of a text without their accents: the base of the list's order.
QString baseLetters(const QString &folded)
{
    const QString decomposed = folded.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category cat = c.category();
        if (cat != QChar::Mark_NonSpacing && cat != QChar::Mark_SpacingCombining && cat != QChar::Mark_Enclosing)
            out += c;
    }
    return out;
}

bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

} // namespace

DietCatalogue::DietCatalogue(const QSqlDatabase &db) : m_db(db) {}

DietListing DietCatalogue::catalogueList(const QString &where, const QVariantList &params) const
{
    QSqlQuery q = ClinicDb::exec(
        m_db, QStringLiteral("SELECT [Generic] FROM [Diets] WHERE ") + kNamed + QStringLiteral(" AND ") + where,
        params);
    DietListing listing;
    listing.table = DietTable::Catalogue;
    listing.names = namesOf(q);
    sortNames(listing.names);
    return listing;
}

DietListing DietCatalogue::bySpecies(const QString &species) const
{
    // The species words are ASCII, which LIKE matches without regard to case.
    return catalogueList(QStringLiteral("[Generic] LIKE ? ESCAPE '\\'"), {containsPattern(species)});
}

QString DietCatalogue::codeOfNode(int nodeIndex) const
{
    const QVariant code = ClinicDb::scalar(
        m_db, QStringLiteral("SELECT [Code] FROM [Category Codes Diets] WHERE [Node Index] = ? ORDER BY rowid LIMIT 1"),
        {nodeIndex});
    if (code.isNull()) {
        const QString condition = nodeIndex >= 1 && nodeIndex <= ConditionTree::kNodeCount
                                      ? ConditionTree::text(ConditionTree::node(nodeIndex))
                                      : QString::number(nodeIndex);
        throw FwError(ErrNo::NoCurrentRecord,
                      QStringLiteral("The condition \"%1\" has no category code in the database.").arg(condition));
    }
    return code.toString();
}

DietListing DietCatalogue::byCode(const QString &code, const QString &species) const
{
    return catalogueList(
        QStringLiteral("[Category] LIKE ? ESCAPE '\\' AND [Generic] LIKE ? ESCAPE '\\'"),
        {QStringLiteral("%;") + ClinicDb::likeEscape(code) + QStringLiteral(";%"), containsPattern(species)});
}

DietListing DietCatalogue::byNode(int nodeIndex, const QString &species) const
{
    if (nodeIndex >= 1 && nodeIndex <= ConditionTree::kNodeCount &&
        ConditionTree::text(ConditionTree::node(nodeIndex)) == ConditionTree::kAddedText)
        return added();
    return byCode(codeOfNode(nodeIndex), species);
}

DietListing DietCatalogue::byName(const QString &text, const QString &species) const
{
    DietListing listing = bySpecies(species);
    if (text.isEmpty())
        return listing;
    // SQLite's LIKE folds ASCII letters only, so the name is compared here,
    // where both sides are folded alike and nothing in the text is a pattern.
    const QString wanted = fold(text);
    QStringList found;
    for (const QString &name : std::as_const(listing.names))
        if (fold(name).contains(wanted))
            found << name;
    listing.names = found;
    return listing;
}

DietListing DietCatalogue::added() const
{
    QSqlQuery q = ClinicDb::exec(m_db, QStringLiteral("SELECT [Generic] FROM [Diets Added] WHERE ") + kNamed);
    DietListing listing;
    listing.table = DietTable::Added;
    listing.names = namesOf(q);
    sortNames(listing.names);
    return listing;
}

Diet DietCatalogue::read(const QString &name, DietTable table) const
{
    QSqlQuery q =
        ClinicDb::exec(m_db,
                       QStringLiteral("SELECT rowid, [Generic], [Indications], [Contraindications], [ME Dry], "
                                      "[ME Can], [KCal per cup dry], [Form Dry], [Form Can] FROM ") +
                           tableName(table) + QStringLiteral(" WHERE [Generic] = ? ORDER BY rowid LIMIT 1"),
                       {name});
    if (!q.next())
        throw FwError(ErrNo::RowDeleted,
                      QStringLiteral("The diet '%1' is no longer in the database; it may have been deleted or renamed "
                                     "at another workstation.")
                          .arg(name));
    Diet d;
    d.rowId = q.value(0).toLongLong();
    d.table = table;
    d.generic = q.value(1).toString();
    d.indications = q.value(2).toString();
    d.contraindications = q.value(3).toString();
    d.meDry = q.value(4).toDouble();
    d.meCan = q.value(5).toDouble();
    d.kcalPerCup = q.value(6).toDouble();
    d.formDry = q.value(7).toDouble();
    d.formCan = q.value(8).toDouble();
    return d;
}

qint64 DietCatalogue::add(const Diet &diet)
{
    const QString name = diet.generic.trimmed();
    const NameProblem problem = checkNewName(name);
    if (problem != NameProblem::None)
        throw FwError(ErrNo::DatabaseError, nameMessage(problem));

    ClinicDb::Transaction tx(m_db);
    // The index on the name knows ASCII letter case only; a name that differs
    // from an own diet's only by the case of other letters is the same name.
    const QString wanted = fold(name);
    QSqlQuery names = ClinicDb::exec(m_db, QStringLiteral("SELECT [Generic] FROM [Diets Added] WHERE ") + kNamed);
    while (names.next())
        if (fold(names.value(0).toString().trimmed()) == wanted)
            throw FwError(ErrNo::DuplicateKey);
    names.finish();

    QSqlQuery q = ClinicDb::exec(m_db,
                                 QStringLiteral("INSERT INTO [Diets Added] ([Generic], [Indications], "
                                                "[Contraindications], [ME Dry], [ME Can], [KCal per cup dry], "
                                                "[Form Dry], [Form Can]) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                                 {name, diet.indications, diet.contraindications, diet.meDry, diet.meCan,
                                  diet.kcalPerCup, diet.formDry, diet.formCan});
    const qint64 rowId = q.lastInsertId().toLongLong();
    tx.commit();
    return rowId;
}

void DietCatalogue::remove(const Diet &diet)
{
    if (diet.table != DietTable::Added)
        throw FwError(ErrNo::DatabaseError, QStringLiteral("You can only delete the diets you have added"));
    ClinicDb::Transaction tx(m_db);
    QSqlQuery q = ClinicDb::exec(m_db, QStringLiteral("DELETE FROM [Diets Added] WHERE rowid = ? AND [Generic] = ?"),
                                 {diet.rowId, diet.generic});
    if (q.numRowsAffected() < 1)
        throw FwError(ErrNo::RowDeleted,
                      QStringLiteral("The diet '%1' is no longer in the database; it may have been deleted or renamed "
                                     "at another workstation. Nothing was deleted.")
                          .arg(diet.generic));
    tx.commit();
}

DietCatalogue::NameProblem DietCatalogue::checkNewName(const QString &name)
{
    if (!name.contains(QLatin1String("Feline"), Qt::CaseInsensitive) &&
        !name.contains(QLatin1String("Canine"), Qt::CaseInsensitive))
        return NameProblem::NoSpeciesWord;
    if (name.size() > kMaxNameLength)
        return NameProblem::TooLong;
    return NameProblem::None;
}

QString DietCatalogue::nameMessage(NameProblem problem)
{
    switch (problem) {
    case NameProblem::NoSpeciesWord:
        return QStringLiteral("The new diet's name must contain the word, Canine or Feline");
    case NameProblem::TooLong:
        return QStringLiteral("The diet's name can have a maximum of 50 characters");
    case NameProblem::None:
        break;
    }
    return QString();
}

DietCatalogue::SearchKey DietCatalogue::classifyKey(char32_t ch)
{
    if (ch == 8)
        return SearchKey::Backspace;
    if (ch >= 32 && ch <= 126)
        return SearchKey::Narrow;
    // Letters beyond ASCII (é, ü, ß) can be part of a name and are matched
    // without regard to case like any other; the C1 controls, DEL and
    // unassigned or private code points are not search keys.
    if (ch > 126 && ch <= 0x10FFFF && !isSurrogate(ch) && QChar::isPrint(ch))
        return SearchKey::Narrow;
    return SearchKey::Invalid;
}

QString DietCatalogue::fold(const QString &text)
{
    return text.toCaseFolded();
}

void DietCatalogue::sortNames(QStringList &names)
{
    struct Keyed {
        QString base;
        QString folded;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(std::size_t(names.size()));
    for (const QString &name : std::as_const(names)) {
        const QString folded = fold(name);
        keyed.push_back({baseLetters(folded), folded, name});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        if (const int c = a.base.compare(b.base); c != 0)
            return c < 0;
        if (const int c = a.folded.compare(b.folded); c != 0)
            return c < 0;
        return a.name < b.name;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        names[qsizetype(i)] = keyed[i].name;
}
