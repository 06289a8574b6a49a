#pragma once
// The case locator's queries and list lines, apart from any window.
//
// The locator narrows the case register to the surnames that begin with what
// the user has typed. The typed text is data: it is bound as a parameter and
// matched literally (a quote, %, _, * or [ finds exactly the surnames holding
// it), and it is matched without regard to case, also for letters beyond ASCII
// (o'b finds O'Brien, åNG finds Ångström, MÜ finds Müller).
//
// The matching runs on the column SurnameKey, which holds the case-folded
// surname and carries an index. A prefix becomes a range on that column,
// key >= prefix AND key < the first text after every text that begins with
// the prefix, which SQLite answers from the index, so a key stroke costs the
// same whether the register holds a thousand cases or a hundred thousand.
#include <QString>
#include <QVariantList>
#include <QtGlobal>

namespace LocatorSearch {

/// A statement with its bound values.
struct Query {
    QString sql;
    QVariantList params;
};

/// The folded form in which surnames are compared (the form SurnameKey holds).
QString foldKey(const QString &text);

/// The smallest text greater than every text that begins with key, in the
/// code-point order in which SQLite compares texts; "" when there is none (a
/// key made only of the last code point). "sm" gives "sn"; a last character
/// U+D7FF steps over the surrogates to U+E000; a last U+10FFFF is dropped and
/// the character before it stepped; "@" gives "[" (past the capitals, which
/// no folded key holds and which the key column sorts as small letters).
QString upperBound(const QString &key);

/// The list query: the rowid of every case when prefix is empty, otherwise
/// of the cases whose surname begins with prefix (literally, without regard
/// to case), by the folded surname, so that the cases of one surname come
/// together. The index on SurnameKey gives both the range and
/// the order, without reading the table. (The order within one surname, by
/// the animal's name, is the list model's: it needs the table's rows, which
/// are read only for the surnames shown.) The prefix is never part of the
/// SQL text: the key range is bound.
Query listQuery(const QString &prefix);

/// The surnames of a list query's rows: each folded surname (SurnameKey)
/// with its number of cases, in the list's order, from the same index.
Query surnamesQuery(const Query &list);

/// The lines of the given rows: rowid, CaseNo and the list line of each.
/// The list line is the surname, ", ", the animal name, ", Case: ", the case
/// number without a blank, ", ", the species, ", Tel." and the telephone
/// number (no blank after "Tel."); an empty field is an empty part.
Query linesQuery(const QList<qint64> &rowIds);

/// What the cases of one surname are put in order by: rowid, CaseNo and the
/// animal's name of each row whose folded surname lies from firstKey to
/// lastKey (an empty firstKey: up to lastKey). Two bound values however many
/// cases the surnames have, answered from the index on SurnameKey; rows
/// without a key are not among them.
Query namesQuery(const QString &firstKey, const QString &lastKey);
/// The same for the given rows.
Query namesQuery(const QList<qint64> &rowIds);

/// The text a line edit holds after one key stroke: ch typed (or, when ch is
/// the backspace 8, one character removed) at the cursor position, replacing
/// the selection [selStart, selStart + selLength) when there is one.
QString textAfterKey(const QString &text, int cursor, int selStart, int selLength, char32_t ch);

/// What a key stroke in the narrowing box does.
enum class KeyKind {
    Narrow,    // a printable character: narrow the list
    Backspace, // 8: widen the list by one character
    PassOn,    // Enter (the default button) and Tab: not a search key, no message
    Invalid,   // any other control character: "Not a valid key stroke to search upon!"
};
KeyKind classifyKey(char32_t ch);

} // namespace LocatorSearch
