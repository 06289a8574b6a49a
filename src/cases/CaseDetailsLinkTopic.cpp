#include "cases/CaseDetailsLinkTopic.h"

#include "cases/CaseProcs.h"
#include "platform/FwError.h"
#include "platform/link/LinkServer.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>

namespace {

const QStringList kUnits = {QStringLiteral("kg"), QStringLiteral("gm"), QStringLiteral("lb"), QStringLiteral("oz")};

/// The longest text a box takes, with the message the window gives when
/// more is typed.
struct Limit {
    const char *item;
    int maxLength;
    const char *message;
};
const Limit kLimits[] = {
    {"SSurname", 30, "The Surname must be 30 characters or less in length"},
    {"AnName", 20, "The animal's name must be 20 characters or less in length"},
    {"TelNo", 20, "The Telephone number must be 20 characters or less in length"},
    {"UpperWt", 6, "The upper weight should contain 6 characters in length"},
    {"LowerWt", 6, "The lower weight should contain 6 characters in length"},
    {"CurrWt", 6, "The current weight should contain 6 characters in length"},
};

bool isWeight(const QString &item)
{
    return item == QLatin1String("UpperWt") || item == QLatin1String("LowerWt") || item == QLatin1String("CurrWt");
}

} // namespace

struct CaseDetailsLinkTopic::Held {
    QHash<QString, QPointer<QWidget>> boxes;
    QPointer<QLabel> AAge;
    QPointer<QRadioButton> Units[4];
    std::function<void()> speciesChanged;
};

const QStringList &CaseDetailsLinkTopic::items()
{
    static const QStringList names = {
        QStringLiteral("HiddenText"), QStringLiteral("SSurname"), QStringLiteral("AnName"),
        QStringLiteral("TelNo"),      QStringLiteral("SSpecies"), QStringLiteral("BBreedK9"),
        QStringLiteral("BBreedFel"),  QStringLiteral("SSex"),     QStringLiteral("DOB"),
        QStringLiteral("Units"),      QStringLiteral("UpperWt"),  QStringLiteral("LowerWt"),
        QStringLiteral("CurrWt"),     QStringLiteral("VetCom"),
    };
    return names;
}

QString CaseDetailsLinkTopic::refusal(const QString &item, const QString &text)
{
    if (!items().contains(item))
        return QStringLiteral("The case details window has no item %1").arg(item);
    if (item == QLatin1String("VetCom"))
        return QString();
    // Every other box holds one line.
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return QStringLiteral("The text for %1 must be one line").arg(item);

    if (item == QLatin1String("HiddenText")) {
        // Stored as the case's LinkedRecNo, a whole number.
        static const QRegularExpression whole(QStringLiteral("^\\s*\\d{1,18}\\s*$"));
        if (!whole.match(text).hasMatch())
            return QStringLiteral("The client's record number must be a whole number");
        return QString();
    }
    if (item == QLatin1String("DOB")) {
        const std::optional<QDate> dob = DateText::Parse(text);
        if (!dob)
            return QStringLiteral("What you entered doesn't make sense as a date, please re-enter in the format of "
                                  "31-Dec-1995, ie include the full year expression");
        if (*dob > Clock::today())
            return QStringLiteral("DOB date cannot be be in the future!");
        return QString();
    }
    if (item == QLatin1String("Units")) {
        if (!kUnits.contains(text))
            return QStringLiteral("The units must be kg, gm, lb or oz");
        return QString();
    }
    if (isWeight(item) && !NumText::IsNumeric(text))
        return QStringLiteral("Numeric data only");
    for (const Limit &limit : kLimits)
        if (item == QLatin1String(limit.item) && text.size() > limit.maxLength)
            return QLatin1String(limit.message);
    return QString();
}

CaseDetailsLinkTopic::CaseDetailsLinkTopic(const Boxes &b) : m_boxes(std::make_unique<Held>())
{
    const std::pair<const char *, QWidget *> named[] = {
        {"HiddenText", b.HiddenText}, {"SSurname", b.SSurname}, {"AnName", b.AnName},
        {"TelNo", b.TelNo},           {"SSpecies", b.SSpecies}, {"BBreedK9", b.BBreedK9},
        {"BBreedFel", b.BBreedFel},   {"SSex", b.SSex},         {"DOB", b.DOB},
        {"UpperWt", b.UpperWt},       {"LowerWt", b.LowerWt},   {"CurrWt", b.CurrWt},
        {"VetCom", b.VetCom},
    };
    for (const auto &[name, widget] : named)
        m_boxes->boxes.insert(QLatin1String(name), widget);
    m_boxes->AAge = b.AAge;
    for (int i = 0; i < 4; ++i)
        m_boxes->Units[i] = b.Units[i];
    m_boxes->speciesChanged = b.speciesChanged;

    m_topic = std::make_unique<Link::Topic>(kTopic, items(),
                                            [this](const QString &item, const QString &text) { write(item, text); });
}

CaseDetailsLinkTopic::~CaseDetailsLinkTopic() = default;

QWidget *CaseDetailsLinkTopic::box(const QString &item) const
{
    return m_boxes->boxes.value(item);
}

void CaseDetailsLinkTopic::write(const QString &item, const QString &text)
{
    const QString why = refusal(item, text);
    if (!why.isEmpty())
        throw FwError(ErrNo::InvalidArgument, why);

    if (item == QLatin1String("Units")) {
        QRadioButton *unit = m_boxes->Units[kUnits.indexOf(text)];
        if (!unit)
            throw FwError(ErrNo::ObjectNotSet);
        unit->setChecked(true);
        return;
    }
    QWidget *target = box(item);
    if (!target)
        throw FwError(ErrNo::ObjectNotSet);
    if (item == QLatin1String("DOB")) {
        // As the date-of-birth window fills it: the date and its age.
        const QDate dob = DateText::CDate(text);
        const QString age = AgeText(dob);
        if (auto *label = qobject_cast<QLabel *>(target))
            label->setText(DateText::Format(dob, QStringLiteral("dd-mmm-yyyy")));
        if (m_boxes->AAge)
            m_boxes->AAge->setText(age);
        App().CurrAgeText = age;
        return;
    }
    if (auto *edit = qobject_cast<QLineEdit *>(target)) {
        edit->setText(text);
    } else if (auto *list = qobject_cast<QComboBox *>(target)) {
        list->setCurrentText(text);
        if (item == QLatin1String("SSpecies") && m_boxes->speciesChanged)
            m_boxes->speciesChanged();
    } else if (auto *comments = qobject_cast<QPlainTextEdit *>(target)) {
        comments->setPlainText(text);
    }
}
