// The memo editor: one text field for a day's memo, the memo template or a note. OK writes the
// file, or deletes it when the text is empty; Cancel writes nothing. The opener sets the caption
// of a day memo, the font, the place and the width.
#pragma once

#include "memo/MemoArea.h"
#include "platform/qt/Services.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace kal {

class TDlgMemo : public QDialog {
    Q_OBJECT
public:
    TDlgMemo(qt::Services& services, MemoEditorTarget target, QWidget* parent = nullptr);

    QPlainTextEdit* MemoDay;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void FormShow();
    void BtnOkClick();

    const std::string& filePath() const { return file_; }

private:
    // The field's lines in Shift-JIS; nothing (after telling the user) when a character has no
    // Shift-JIS form.
    std::optional<std::vector<std::string>> EditedLines();

    qt::Services& services_;
    MemoEditorTarget target_;
    std::string file_;
};

} // namespace kal
