#include "platform/db/FieldBinder.h"

#include "platform/FwError.h"
#include "platform/db/Recordset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlField>
#include <QTextEdit>

#include <optional>

namespace {

bool truthy(const QVariant &v)
{
    if (v.isNull())
        return false;
    const QString s = v.toString().trimmed();
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
        s.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
        return true;
    bool ok = false;
    const double d = s.toDouble(&ok);
    return ok && d != 0.0;
}

bool isNumericField(const QSqlField &f)
{
    switch (f.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

// A multi-line box gives "\n" line ends; text stored by other programs may
// hold "\r\n". Both are the same text for deciding whether a box was changed.
QString normalisedLines(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s;
}

// The text a bound widget holds, or nothing for a widget that is not one we
// bind by its text.
std::optional<QString> widgetText(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *t = qobject_cast<QTextEdit *>(w))
        return t->toPlainText();
    if (auto *p = qobject_cast<QPlainTextEdit *>(w))
        return p->toPlainText();
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    return std::nullopt;
}

void setWidgetText(QWidget *w, const QString &text)
{
    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        e->setText(text);
    } else if (auto *t = qobject_cast<QTextEdit *>(w)) {
        t->setPlainText(text);
    } else if (auto *p = qobject_cast<QPlainTextEdit *>(w)) {
        p->setPlainText(text);
    } else if (auto *c = qobject_cast<QComboBox *>(w)) {
        if (c->isEditable()) {
            c->setEditText(text);
        } else {
            c->setCurrentIndex(c->findText(text));
        }
    }
}

} // namespace

void FieldBinder::bind(QWidget *widget, const QString &fieldName)
{
    if (widget)
        m_bindings.append({QPointer<QWidget>(widget), fieldName});
}

bool FieldBinder::save(Recordset &rs) const
{
    if (!rs.isOpen() || rs.eof() || rs.bof()) {
        // Typed text with no row to hold it is not saved, and must not be
        // taken for saved.
        for (const Binding &b : std::as_const(m_bindings)) {
            const std::optional<QString> text = b.widget ? widgetText(b.widget) : std::nullopt;
            if (text && !text->isEmpty())
                throw FwError(ErrNo::NoCurrentRecord);
        }
        return false;
    }
    if (!rs.updatable())
        return false;
    QStringList fields;
    QVariantList values;
    for (const Binding &b : std::as_const(m_bindings)) {
        if (!b.widget)
            continue;
        const QVariant stored = rs.field(b.field);
        if (auto *check = qobject_cast<QCheckBox *>(b.widget.data())) {
            if (check->isChecked() != truthy(stored)) {
                fields << b.field;
                values << QVariant(check->isChecked() ? 1 : 0);
            }
            continue;
        }
        const std::optional<QString> text = widgetText(b.widget);
        if (!text)
            continue;
        const QString storedText = stored.isNull() ? QString() : stored.toString();
        if (normalisedLines(*text) == normalisedLines(storedText))
            continue;
        fields << b.field;
        // An emptied box leaves a number field empty, not an empty text.
        const bool numeric = isNumericField(rs.fieldInfo(b.field));
        values << (text->isEmpty() && numeric ? QVariant() : QVariant(*text));
    }
    if (fields.isEmpty())
        return false;
    // Only the typed fields are checked: a weighing or an edit of other
    // fields made meanwhile in another window must not cost the user what
    // was typed here, while a change to the same field is still a conflict.
    rs.edit();
    try {
        for (int i = 0; i < fields.size(); ++i)
            rs.setField(fields.at(i), values.at(i));
        rs.update(Recordset::Check::WrittenFields);
    } catch (...) {
        // The row keeps showing what is stored, not the unsaved edit.
        rs.cancelUpdate();
        throw;
    }
    return true;
}

void FieldBinder::show(const Recordset &rs) const
{
    const bool onRow = rs.isOpen() && !rs.eof() && !rs.bof();
    for (const Binding &b : std::as_const(m_bindings)) {
        if (!b.widget)
            continue;
        if (auto *check = qobject_cast<QCheckBox *>(b.widget.data())) {
            check->setChecked(onRow && truthy(rs.field(b.field)));
            continue;
        }
        setWidgetText(b.widget, onRow ? rs.text(b.field) : QString());
    }
}
