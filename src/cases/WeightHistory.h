#pragma once
// The weekly weight history of a case, as the Clients row keeps it in
// [Graph Data] (and its undo copy in [Graph Data Undo]): one entry per week,
// oldest first, each a weight in the case's unit followed by ";", the last one
// too ("12.5;12.3;12.1;" is three weeks).
//
// Entries come in three written forms and all of them read alike:
//   "12.50;"  the first weight exactly as typed when the case was entered,
//   "12.;" ".5;"  a weighing's entries, formatted "##.#" and trimmed,
//   " 12.5;"  a first-weight correction, blank-led.
// Each entry is read leniently (a text without a number reads as 0) and held
// in single precision.
#include <QString>
#include <QVector>
#include <QtGlobal>

class WeightHistory {
public:
    WeightHistory() = default;
    explicit WeightHistory(const QString &graphData) : m_text(graphData) {}

    /// The history text as stored.
    const QString &text() const { return m_text; }

    /// The number of entries: the number of ";" in the text. Throws
    /// FwError(ErrNo::Overflow) beyond 32767 entries (a 16-bit count).
    qint16 count() const;
    bool isEmpty() const { return !m_text.contains(QLatin1Char(';')); }

    /// The entries read as weights, oldest first (index 0 the first week).
    /// Text after the last ";" belongs to no entry and is ignored.
    QVector<float> weights() const;

    /// Append one entry: the text followed by ";".
    void append(const QString &entryText);
    /// Append a weighing's entry: the weight formatted "##.#" without blanks.
    void appendWeight(float weight);

    /// A weighing's entry text for a weight: "##.#", trimmed (12 -> "12.",
    /// 0.5 -> ".5", 12.46 -> "12.5").
    static QString weighingEntry(float weight);
    /// The history of one corrected first weight: blank-led weight and ";"
    /// (12.5 -> " 12.5;").
    static QString correctedFirstWeight(float weight);

    /// The newest entry of an undo copy as text: drop the final character (the
    /// closing ";"), then take what follows the last remaining ";" (all of it
    /// when none remains). "12.5;12.;" -> "12."; "12.50;" -> "12.50"; "" -> "".
    static QString lastEntryOfUndo(const QString &undoText);
    /// The same entry read leniently, in single precision.
    static float lastWeightOfUndo(const QString &undoText);

private:
    QString m_text;
};
