#include "platform/qt/SjisValidator.h"

#include "platform/ByteText.h"
#include "platform/qt/QtText.h"

#include <QComboBox>
#include <QLineEdit>

namespace kal::qt {

SjisValidator::SjisValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) { }

QValidator::State SjisValidator::validate(QString& input, int&) const
{
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
        if (c.isSurrogate() || !toSjis(QString(c)))
            continue;
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

} // namespace kal::qt
