#include "platform/qt/LatinDigits.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

namespace kal::qt {
namespace {

constexpr char16_t kFullWidthZero = u'０';
constexpr char16_t kFullWidthNine = u'９';

bool hasFullWidthDigit(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() >= kFullWidthZero && c.unicode() <= kFullWidthNine)
            return true;
    return false;
}

QString latinDigits(QString text)
{
    for (QChar& c : text)
        if (c.unicode() >= kFullWidthZero && c.unicode() <= kFullWidthNine)
            c = QChar(u'0' + (c.unicode() - kFullWidthZero));
    return text;
}

// Hands the field the same input with Latin digits in place of full-width ones.
class LatinDigitsFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* field, QEvent* event) override
    {
        if (event->type() == QEvent::InputMethod) {
            auto* input = static_cast<QInputMethodEvent*>(event);
            if (!hasFullWidthDigit(input->commitString()))
                return false;
            QInputMethodEvent latin(input->preeditString(), input->attributes());
            latin.setCommitString(latinDigits(input->commitString()), input->replacementStart(),
                                  input->replacementLength());
            QCoreApplication::sendEvent(field, &latin);
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!hasFullWidthDigit(key->text()))
                return false;
            const QString text = latinDigits(key->text());
            QKeyEvent latin(QEvent::KeyPress, Qt::Key_0 + (text[0].unicode() - u'0'), key->modifiers(), text,
                            key->isAutoRepeat(), static_cast<quint16>(key->count()));
            QCoreApplication::sendEvent(field, &latin);
            return true;
        }
        return false;
    }
};

} // namespace

void takeFullWidthDigits(QWidget* field)
{
    field->installEventFilter(new LatinDigitsFilter(field));
}

} // namespace kal::qt
