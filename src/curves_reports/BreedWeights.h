#pragma once
// The table of recommended dog weights ([Dog Breeds]) as the breed-weight
// window lists it, apart from the window: every breed, or the breeds whose
// name contains a typed text.
//
// The typed text is data: it is bound, and it is matched literally (a quote,
// a bracket, "*", "?", "%" or "_" finds exactly the names holding it) and
// without regard to case, also for letters beyond ASCII.
#include "platform/prompt/Box.h"

#include <QSqlDatabase>
#include <QString>
#include <QVector>
#include <optional>

namespace BreedWeights {

/// The grid's format string: four centred columns, widened by blanks.
extern const QString kGridFormat;

/// One grid row: the four fields as the grid shows them (an empty field is
/// an empty cell).
struct Row {
    QString breed;
    QString range;
    QString male;
    QString female;
};

/// What a listing puts into the grid.
struct Listing {
    QVector<Row> rows;
    /// A box the window shows after filling the grid.
    std::optional<Prompt::Box> message;
    /// False when the grid keeps the rows it showed before (nothing matched).
    bool replaces = true;
};

/// Every breed, in the table's order. An empty table fills the grid with its
/// header row alone and says so (an information box). Throws FwError when
/// the table cannot be read.
Listing all(const QSqlDatabase &db);

/// The breeds whose name contains text, literally and without regard to case;
/// an empty text lists every breed. When none does: the critical box that no
/// breed contains it, and the grid keeps its rows. Throws FwError when the
/// table cannot be read.
Listing containing(const QSqlDatabase &db, const QString &text);

/// Whether a breed name contains the typed text in the sense of containing().
bool matches(const QString &breed, const QString &text);

/// "Cannot find a dog breed contain this string of letters. Try again."
QString noMatchMessage();
/// What the window says when the table holds no breed at all.
QString emptyTableMessage();

} // namespace BreedWeights
