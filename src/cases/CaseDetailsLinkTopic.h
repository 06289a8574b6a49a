#pragma once
// The link topic "CaseDetails": while a new case is entered for a
// practice-management program (link mode 1), the program fills the entry
// boxes of the case details window over the link, and its item HiddenText
// carries the client's record number, which the case stores as LinkedRecNo.
//
// The partner can write into the boxes of an explicit list only, each under
// the box's own name; a text a box would not take as typed (too long, not a
// number, not a date) is refused whole, with the window's own message as the
// reason, and the box keeps its text. The window offers the topic by keeping
// an object of this class while a reserved entry waits to be completed.
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QWidget;

namespace Link {
class Topic;
}

class CaseDetailsLinkTopic {
public:
    /// The boxes of the case details window that the partner may fill.
    struct Boxes {
        QLineEdit *HiddenText = nullptr;
        QLineEdit *SSurname = nullptr;
        QLineEdit *AnName = nullptr;
        QLineEdit *TelNo = nullptr;
        QComboBox *SSpecies = nullptr;
        QComboBox *BBreedK9 = nullptr;
        QComboBox *BBreedFel = nullptr;
        QComboBox *SSex = nullptr;
        QLabel *DOB = nullptr;       // the date of birth, "dd-mmm-yyyy"
        QLabel *AAge = nullptr;      // filled with the age of that date
        QRadioButton *Units[4] = {}; // "kg", "gm", "lb", "oz"
        QLineEdit *UpperWt = nullptr;
        QLineEdit *LowerWt = nullptr;
        QLineEdit *CurrWt = nullptr;
        QPlainTextEdit *VetCom = nullptr;
        /// Run after the species was written, as after the user's choice.
        std::function<void()> speciesChanged;
    };

    /// The topic's name.
    static inline const QString kTopic = QStringLiteral("CaseDetails");
    /// The items, in the order the README lists them.
    static const QStringList &items();
    /// Why a text cannot be written into an item: "" when it can.
    static QString refusal(const QString &item, const QString &text);

    /// Offer the topic for as long as this object lives.
    explicit CaseDetailsLinkTopic(const Boxes &boxes);
    ~CaseDetailsLinkTopic();
    CaseDetailsLinkTopic(const CaseDetailsLinkTopic &) = delete;
    CaseDetailsLinkTopic &operator=(const CaseDetailsLinkTopic &) = delete;

private:
    /// Put a checked text into its box; throws FwError to refuse it.
    void write(const QString &item, const QString &text);
    QWidget *box(const QString &item) const;

    struct Held;
    std::unique_ptr<Held> m_boxes;
    std::unique_ptr<Link::Topic> m_topic;
};
