#pragma once
// The diet catalogue's queries, apart from any window: the lists the picker
// shows (by species, by condition, by name, the practice's own diets), one
// diet read by its name, and the practice's own diets added and deleted.
//
// Every value is bound. Typed text is data: a name search matches it
// literally (a quote, %, _, [, *, ?, # are just characters) and without
// regard to case, also for letters beyond ASCII ("FÉLINE" finds "féline").
// A row without a name is left out of every list; it never ends one.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QtGlobal>

/// The table a list or a diet comes from.
enum class DietTable {
    Catalogue, // [Diets]: the shipped catalogue
    Added,     // [Diets Added]: the practice's own diets
};

/// One diet: the fields of [Diets] / [Diets Added] but the category codes.
struct Diet {
    qint64 rowId = 0; // in its table; 0 for a diet not stored yet
    DietTable table = DietTable::Added;
    QString generic; // the name
    QString indications;
    QString contraindications;
    double meDry = 0;      // KCal per 100 gm of the dry form, 0: none
    double meCan = 0;      // KCal per 100 gm of the canned form, 0: none
    double kcalPerCup = 0; // KCal in one cup of the dry form
    double formDry = 0;    // bag, kg
    double formCan = 0;    // can, gm
};

/// The names of one list, sorted, and the table they come from: a window
/// keeps both together, so that a click loads from the table its list shows.
struct DietListing {
    QStringList names;
    DietTable table = DietTable::Catalogue;
};

class DietCatalogue {
public:
    explicit DietCatalogue(const QSqlDatabase &db);

    /// Every catalogue diet whose name holds the species word ("canine" or
    /// "feline", any letter case).
    DietListing bySpecies(const QString &species) const;

    /// The category code of a condition node (1 to 95): the first row of
    /// [Category Codes Diets] with that Node Index. Throws FwError 3021 when
    /// the node has no row.
    QString codeOfNode(int nodeIndex) const;

    /// The catalogue diets of one species whose [Category] holds ";code;":
    /// code 12 finds ";3;12;40;" but not ";112;".
    DietListing byCode(const QString &code, const QString &species) const;

    /// A click on a node of the condition tree: the node "Added" lists the
    /// practice's own diets (both species); every other node the catalogue
    /// diets of the species under its code.
    DietListing byNode(int nodeIndex, const QString &species) const;

    /// The catalogue diets of the species whose name contains text (literally,
    /// without regard to case); an empty text lists the whole species. The
    /// species is kept for every search, widening ones included, so that a
    /// picker opened for a cat never lists dog diets.
    DietListing byName(const QString &text, const QString &species) const;

    /// Every own diet, of both species.
    DietListing added() const;

    /// The diet listed under name (exactly as listed) in table. Throws
    /// FwError 3167 when no row has that name any more (deleted or renamed
    /// by another workstation since the list was filled).
    Diet read(const QString &name, DietTable table) const;

    /// Store a new own diet in one transaction and give its rowid. The name
    /// is stored without leading and trailing blanks and must pass
    /// checkNewName(). A name already used by an own diet, whatever its
    /// letter case (also beyond ASCII), throws FwError 3022 and stores
    /// nothing.
    qint64 add(const Diet &diet);

    /// Delete an own diet read earlier. Throws FwError 3167 when its row is
    /// gone (deleted elsewhere) and refuses a catalogue diet.
    void remove(const Diet &diet);

    /// What is wrong with the name of a new own diet.
    enum class NameProblem {
        None,
        NoSpeciesWord, // holds neither "Canine" nor "Feline" (any letter case)
        TooLong,       // more than kMaxNameLength characters
    };
    static constexpr int kMaxNameLength = 50;
    static NameProblem checkNewName(const QString &name);
    /// The message that names the problem ("" for None).
    static QString nameMessage(NameProblem problem);

    /// What a key stroke in the name-search box does.
    enum class SearchKey {
        Narrow,    // a printable character, ASCII or beyond
        Backspace, // 8
        Invalid,   // Enter, control characters and the like: "Not a valid key stroke to search upon!"
    };
    static SearchKey classifyKey(char32_t ch);
    static const QString kInvalidKeyMessage;

    /// Put names into the order of the list: letters first by their base
    /// letter (accents and letter case set aside, so "Élan" comes among the
    /// E's), then by accent, then by letter case (capitals first), so that
    /// the order never depends on the machine's language.
    static void sortNames(QStringList &names);

    /// The folded form in which a name search compares texts.
    static QString fold(const QString &text);

private:
    DietListing catalogueList(const QString &where, const QVariantList &params) const;

    QSqlDatabase m_db;
};
