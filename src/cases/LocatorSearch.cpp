#include "cases/LocatorSearch.h"

#include "platform/db/ClinicDb.h"

#include <QChar>

namespace LocatorSearch {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

} // namespace

QString foldKey(const QString &text) { return text.toCaseFolded(); }

QString upperBound(const QString &key)
{
    // Work on code points, not UTF-16 units: SQLite compares the UTF-8 bytes,
    // whose order is the code-point order, and a character beyond U+FFFF is two
    // UTF-16 units.
    QList<uint> points = key.toUcs4();
    while (!points.isEmpty()) {
        char32_t last = points.takeLast();
        if (last >= kLastCodePoint)
            continue; // nothing follows it: step the character before
        ++last;
        if (isSurrogate(last))
            last = 0xE000;
        // Folded keys hold no capital ASCII letters, and the key column compares
        // without regard to ASCII case (a bound "A" would count as "a"), so the
        // step from "@" goes past the capitals to "[".
        if (last >= 'A' && last <= 'Z')
            last = 'Z' + 1;
        points.append(last);
        return QString::fromUcs4(reinterpret_cast<const char32_t *>(points.constData()), points.size());
    }
    return QString();
}

Query listQuery(const QString &prefix)
{
    static const QString kSelect = QStringLiteral(
        "SELECT [CaseNo], [Surname], [AnimalName], [Species], [Tel No] FROM [Clients]");
    if (prefix.isEmpty())
        return {kSelect, {}};

    const QString lower = foldKey(prefix);
    const QString upper = upperBound(lower);
    // A row whose key has not been filled in yet (the connection fills missing
    // keys when it opens) is still found by its surname, with the database's
    // own matching; SQLite answers both halves of the OR from the index.
    const QString unkeyed = QStringLiteral(" OR ([SurnameKey] IS NULL AND [Surname] LIKE ? ESCAPE '\\')");
    const QString pattern = ClinicDb::likeEscape(prefix) + QLatin1Char('%');
    if (upper.isEmpty())
        return {kSelect + QStringLiteral(" WHERE ([SurnameKey] >= ?)") + unkeyed, {lower, pattern}};
    return {kSelect + QStringLiteral(" WHERE ([SurnameKey] >= ? AND [SurnameKey] < ?)") + unkeyed,
            {lower, upper, pattern}};
}

QString listLine(const QString &surname, const QString &animalName, qint64 caseNo, const QString &species,
                 const QString &telNo)
{
    QString line;
    line.reserve(surname.size() + animalName.size() + species.size() + telNo.size() + 30);
    line += surname;
    line += QLatin1String(", ");
    line += animalName;
    line += QLatin1String(", Case: ");
    line += QString::number(caseNo);
    line += QLatin1String(", ");
    line += species;
    line += QLatin1String(", Tel.");
    line += telNo;
    return line;
}

QString textAfterKey(const QString &text, int cursor, int selStart, int selLength, char32_t ch)
{
    QString result = text;
    int pos = qBound(0, cursor, int(result.size()));
    if (selLength > 0 && selStart >= 0 && selStart < result.size()) {
        const int len = qMin(selLength, int(result.size()) - selStart);
        result.remove(selStart, len);
        pos = selStart;
        if (ch == 8)
            return result; // backspace removes the selection only
    } else if (ch == 8) {
        if (pos == 0)
            return result;
        // One character: both halves of a surrogate pair.
        int n = 1;
        if (pos >= 2 && result.at(pos - 1).isLowSurrogate() && result.at(pos - 2).isHighSurrogate())
            n = 2;
        result.remove(pos - n, n);
        return result;
    }
    result.insert(pos, QString::fromUcs4(&ch, 1));
    return result;
}

KeyKind classifyKey(char32_t ch)
{
    if (ch == 8)
        return KeyKind::Backspace;
    if (ch == 13 || ch == 10 || ch == 9)
        return KeyKind::PassOn;
    if (ch >= 32 && ch <= 126)
        return KeyKind::Narrow;
    // Beyond ASCII: letters such as Å or ü are part of surnames and narrow the
    // list like any other; the C1 controls, DEL and unassigned or private code
    // points are not search keys.
    if (ch > 126 && ch <= kLastCodePoint && !isSurrogate(ch) && QChar::isPrint(ch))
        return KeyKind::Narrow;
    return KeyKind::Invalid;
}

} // namespace LocatorSearch
