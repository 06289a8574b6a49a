#include "cases/WeightHistory.h"

#include "platform/text/NumberText.h"

namespace {
const QChar Sep = QLatin1Char(';');
}

qint16 WeightHistory::count() const
{
    return NumText::To16(m_text.count(Sep));
}

QVector<float> WeightHistory::weights() const
{
    QVector<float> result;
    result.reserve(count());
    qsizetype from = 0;
    for (;;) {
        const qsizetype end = m_text.indexOf(Sep, from);
        if (end < 0)
            break;
        result.append(NumText::Sng(NumText::Val(m_text.mid(from, end - from))));
        from = end + 1;
    }
    return result;
}

void WeightHistory::append(const QString &entryText)
{
    m_text += entryText;
    m_text += Sep;
}

void WeightHistory::appendWeight(float weight)
{
    append(weighingEntry(weight));
}

QString WeightHistory::weighingEntry(float weight)
{
    return NumText::Format(weight, QStringLiteral("##.#")).trimmed();
}

QString WeightHistory::correctedFirstWeight(float weight)
{
    return NumText::Str(weight) + Sep;
}

QString WeightHistory::lastEntryOfUndo(const QString &undoText)
{
    const QString body = undoText.left(qMax<qsizetype>(0, undoText.size() - 1));
    return body.mid(body.lastIndexOf(Sep) + 1); // lastIndexOf gives -1 when none: all of it
}

float WeightHistory::lastWeightOfUndo(const QString &undoText)
{
    return NumText::Sng(NumText::Val(lastEntryOfUndo(undoText)));
}
