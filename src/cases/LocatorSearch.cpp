#include "cases/LocatorSearch.h"

#include "platform/db/ClinicDb.h"

#include <QChar>

namespace LocatorSearch {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

} // namespace

QString foldKey(const QString &text)
{
    return ClinicDb::surnameKey(text);
}

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

namespace {
const QString kSelect = QStringLiteral("SELECT rowid FROM [Clients]");
const QString kOrder = QStringLiteral(" ORDER BY [SurnameKey], rowid");
const QString kSurnames = QStringLiteral("SELECT [SurnameKey], COUNT(*) FROM [Clients]");
const QString kSurnamesOrder = QStringLiteral(" GROUP BY [SurnameKey] ORDER BY [SurnameKey]");
} // namespace

Query surnamesQuery(const Query &list)
{
    // The list query's own range, between its select and its order.
    const QString where = list.sql.mid(kSelect.size(), list.sql.size() - kSelect.size() - kOrder.size());
    return {kSurnames + where + kSurnamesOrder, list.params};
}

Query listQuery(const QString &prefix)
{
    if (prefix.isEmpty())
        return {kSelect + kOrder, {}};
    const QString lower = foldKey(prefix);
    const QString upper = upperBound(lower);
    if (upper.isEmpty())
        return {kSelect + QStringLiteral(" WHERE [SurnameKey] >= ?") + kOrder, {lower}};
    return {kSelect + QStringLiteral(" WHERE [SurnameKey] >= ? AND [SurnameKey] < ?") + kOrder, {lower, upper}};
}

namespace {

const QString kLines =
    QStringLiteral("SELECT rowid, [CaseNo], IFNULL([Surname], '') || ', ' || IFNULL([AnimalName], '') || ', Case: ' || "
                   "IFNULL([CaseNo], '') || ', ' || IFNULL([Species], '') || ', Tel.' || IFNULL([Tel No], '') "
                   "FROM [Clients] WHERE ");
const QString kNames = QStringLiteral("SELECT rowid, [CaseNo], IFNULL([AnimalName], '') FROM [Clients] WHERE ");

Query ofRows(const QString &select, const QList<qint64> &rowIds)
{
    QString sql = select + QStringLiteral("rowid IN (");
    QVariantList params;
    params.reserve(rowIds.size());
    for (qsizetype i = 0; i < rowIds.size(); ++i) {
        sql += i == 0 ? QStringLiteral("?") : QStringLiteral(", ?");
        params << rowIds.at(i);
    }
    sql += QLatin1Char(')');
    return {sql, params};
}

} // namespace

Query linesQuery(const QList<qint64> &rowIds)
{
    return ofRows(kLines, rowIds);
}

Query namesQuery(const QString &firstKey, const QString &lastKey)
{
    // An empty first key (cases without a surname) bounds nothing: every key
    // is at least that.
    if (firstKey.isEmpty())
        return {kNames + QStringLiteral("[SurnameKey] <= ?"), {lastKey}};
    return {kNames + QStringLiteral("[SurnameKey] >= ? AND [SurnameKey] <= ?"), {firstKey, lastKey}};
}

Query namesQuery(const QList<qint64> &rowIds)
{
    return ofRows(kNames, rowIds);
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
