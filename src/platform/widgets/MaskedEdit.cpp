#include "platform/widgets/MaskedEdit.h"

#include <QLineEdit>
#include <QValidator>

namespace {

// Refuses a text that holds a digit other than 0 to 9; the mask itself
// checks everything else.
class AsciiDigitsOnly : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        for (const QChar c : input)
            if (c.isDigit() && (c < QLatin1Char('0') || c > QLatin1Char('9')))
                return Invalid;
        return Acceptable;
    }
};

} // namespace

void setAsciiInputMask(QLineEdit *box, const QString &mask)
{
    box->setInputMask(mask);
    box->setValidator(new AsciiDigitsOnly(box));
}
