// Text fields that count their limit in Shift-JIS bytes and refuse characters Shift-JIS
// cannot store, so nothing typed is lost or changed when it is saved.
#pragma once

#include <QValidator>

class QLineEdit;
class QComboBox;
class QPlainTextEdit;

namespace kal::qt {

class SjisValidator : public QValidator {
public:
    SjisValidator(int maxBytes, QObject* parent);
    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    int maxBytes() const { return maxBytes_; }

private:
    int maxBytes_;
};

void limitSjisBytes(QLineEdit* edit, int maxBytes);
void limitSjisBytes(QComboBox* editableCombo, int maxBytes);
// A multi-line editor drops, as they arrive, characters that Shift-JIS cannot store.
void keepSjisOnly(QPlainTextEdit* edit);

} // namespace kal::qt
