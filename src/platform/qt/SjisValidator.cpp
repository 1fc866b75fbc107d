#include "platform/qt/SjisValidator.h"

#include "platform/ByteText.h"
#include "platform/qt/QtText.h"

#include <algorithm>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace kal::qt {
namespace {

bool storable(QChar c)
{
    return !c.isSurrogate() && toSjis(QString(c)).has_value();
}

} // namespace

SjisValidator::SjisValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) { }

QValidator::State SjisValidator::validate(QString& input, int&) const
{
    // Half a surrogate pair would pass the conversion as "?"; no pair is Shift-JIS.
    if (std::any_of(input.begin(), input.end(), [](QChar c) { return c.isSurrogate(); }))
        return Invalid;
    std::optional<std::string> bytes = toSjis(input);
    if (!bytes)
        return Invalid;
    return static_cast<int>(bytes->size()) <= maxBytes_ ? Acceptable : Invalid;
}

void SjisValidator::fixup(QString& input) const
{
    // Pasted text: drop what cannot be stored, then cut at the limit without splitting a
    // character.
    QString kept;
    for (QChar c : input) {
        if (storable(c))
            kept += c;
    }
    input = fromSjis(text::cutBytes(toSjisLossy(kept), static_cast<std::size_t>(maxBytes_)));
}

void limitSjisBytes(QLineEdit* edit, int maxBytes)
{
    edit->setValidator(new SjisValidator(maxBytes, edit));
}

void limitSjisBytes(QComboBox* editableCombo, int maxBytes)
{
    if (QLineEdit* edit = editableCombo->lineEdit())
        limitSjisBytes(edit, maxBytes);
}

void keepSjisOnly(QPlainTextEdit* edit)
{
    QTextDocument* document = edit->document();
    QObject::connect(document, &QTextDocument::contentsChange, edit, [document](int position, int, int added) {
        // Removing characters changes the document again; that change only removes.
        for (int at = position + added - 1; at >= position; --at) {
            const QChar c = document->characterAt(at);
            if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || storable(c))
                continue;
            QTextCursor cursor(document);
            cursor.setPosition(at);
            cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
    });
}

} // namespace kal::qt
