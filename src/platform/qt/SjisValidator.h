// Text fields that count their limit in Shift-JIS bytes and take only characters Shift-JIS can
// store, so nothing typed is lost or changed when it is saved. What is typed or pasted keeps
// every character that can be stored, up to the limit; the field then beeps and says near
// itself what was left out.
#pragma once

#include <QValidator>

class QLineEdit;
class QComboBox;
class QPlainTextEdit;

namespace kal::qt {

class SjisValidator : public QValidator {
    Q_OBJECT
public:
    // `current`: the field's text when the validator is put on it.
    SjisValidator(int maxBytes, const QString& current, QObject* parent);
    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    int maxBytes() const { return maxBytes_; }

signals:
    // Part of what was typed or pasted was left out; the message says what, in Japanese.
    void leftOut(const QString& message) const;

private:
    int maxBytes_;
    // The text last accepted: what differs from it is what was just typed or pasted, and only
    // that part is ever shortened.
    mutable QString accepted_;
};

void limitSjisBytes(QLineEdit* edit, int maxBytes);
void limitSjisBytes(QComboBox* editableCombo, int maxBytes);
// A multi-line editor drops, as they arrive, characters that Shift-JIS cannot store.
void keepSjisOnly(QPlainTextEdit* edit);

} // namespace kal::qt
