#include "platform/qt/SjisValidator.h"

#include "platform/ByteText.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>

namespace kal::qt {
namespace {

// A character outside the basic plane (either half of a surrogate pair) is never Shift-JIS.
bool storable(QChar c)
{
    return !c.isSurrogate() && toSjis(QString(c)).has_value();
}

// The characters of `text` that Shift-JIS can store; the others go to `dropped`.
QString storable(const QString& text, QString& dropped)
{
    QString kept;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!storable(character[0]))
            dropped += character;
        else
            kept += character;
        i += length - 1;
    }
    return kept;
}

// The longest start of `text` (all storable) that fits `maxBytes`.
QString fitting(const QString& text, int maxBytes)
{
    return fromSjis(text::cutBytes(toSjisLossy(text), static_cast<std::size_t>(std::max(0, maxBytes))));
}

qsizetype commonPrefix(const QString& a, const QString& b)
{
    qsizetype n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        ++n;
    return n;
}

qsizetype commonSuffix(const QString& a, const QString& b, qsizetype prefix)
{
    qsizetype n = 0;
    while (n < a.size() - prefix && n < b.size() - prefix && a[a.size() - 1 - n] == b[b.size() - 1 - n])
        ++n;
    return n;
}

QString leftOutMessage(const QString& dropped, bool cut)
{
    QString message;
    if (!dropped.isEmpty())
        message = QString::fromUtf8("保存できない文字を除きました：") + dropped.left(20);
    if (cut) {
        if (!message.isEmpty())
            message += '\n';
        message += QString::fromUtf8("入力できる長さを超えた分を除きました");
    }
    return message;
}

// A beep and the message just below `at` (in the field's coordinates).
void tellNear(QWidget* field, const QPoint& at, const QString& message)
{
    QApplication::beep();
    QToolTip::showText(field->mapToGlobal(at), message, field);
}

} // namespace

SjisValidator::SjisValidator(int maxBytes, const QString& current, QObject* parent)
    : QValidator(parent), maxBytes_(maxBytes), accepted_(current)
{
}

QValidator::State SjisValidator::validate(QString& input, int& pos) const
{
    const qsizetype prefix = commonPrefix(accepted_, input);
    const qsizetype suffix = commonSuffix(accepted_, input, prefix);
    QString dropped;
    const QString head = storable(input.left(prefix), dropped);
    const QString tail = storable(input.right(suffix), dropped);
    const QString inserted = storable(input.mid(prefix, input.size() - prefix - suffix), dropped);
    QString kept = fitting(inserted, maxBytes_ - sjisByteLength(head + tail));
    const bool cut = kept.size() < inserted.size();
    QString result = head + kept + tail;
    if (sjisByteLength(result) > maxBytes_) // the old text itself was too long
        result = fitting(result, maxBytes_);
    if (result != input) {
        input = result;
        pos = static_cast<int>(std::min<qsizetype>(head.size() + kept.size(), result.size()));
        emit leftOut(leftOutMessage(dropped, cut || dropped.isEmpty()));
    }
    accepted_ = input;
    return Acceptable;
}

void SjisValidator::fixup(QString& input) const
{
    QString dropped;
    input = fitting(storable(input, dropped), maxBytes_);
}

void limitSjisBytes(QLineEdit* edit, int maxBytes)
{
    auto* validator = new SjisValidator(maxBytes, edit->text(), edit);
    QObject::connect(validator, &SjisValidator::leftOut, edit,
                     [edit](const QString& message) { tellNear(edit, QPoint(0, edit->height()), message); });
    edit->setValidator(validator);
}

void limitSjisBytes(QComboBox* editableCombo, int maxBytes)
{
    if (QLineEdit* edit = editableCombo->lineEdit())
        limitSjisBytes(edit, maxBytes);
}

void keepSjisOnly(QPlainTextEdit* edit)
{
    QTextDocument* document = edit->document();
    QObject::connect(document, &QTextDocument::contentsChange, edit, [edit, document](int position, int, int added) {
        // Removing characters changes the document again; that change only removes.
        QString dropped;
        for (int at = position + added - 1; at >= position; --at) {
            const QChar c = document->characterAt(at);
            if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || storable(c))
                continue;
            QTextCursor cursor(document);
            cursor.setPosition(at);
            cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            dropped.prepend(c);
        }
        if (!dropped.isEmpty())
            tellNear(edit, edit->viewport()->mapTo(edit, edit->cursorRect().bottomLeft()),
                     leftOutMessage(dropped, false));
    });
}

} // namespace kal::qt
