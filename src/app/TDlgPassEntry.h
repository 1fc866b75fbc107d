// The password setting ("パスワード登録"): a new password of 4 to 8 characters, typed twice.
// When a password is set, the current one is asked first. OK writes the password file and
// closes only when the file was written.
#pragma once

#include "platform/qt/Services.h"

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kal {

class TDlgPassEntry : public QDialog {
    Q_OBJECT
public:
    // `passwordFolder` holds Kalendra.pwd.
    TDlgPassEntry(qt::Services& services, std::string passwordFolder, QWidget* parent = nullptr);

    QLabel* LabelOldPasswd;
    QLineEdit* MskOldPasswd; // shown only when a password is set
    QLineEdit* MskNewPasswd;
    QLineEdit* MskAgainPasswd;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void BtnOkClick();
    int wrongEntries() const { return wrongEntries_; }

private:
    bool CurrentPasswordGiven();
    void InputError(const char* text, QLineEdit* field);

    qt::Services& services_;
    std::string path_;
    bool passwordSet_ = false;
    int wrongEntries_ = 0;
};

} // namespace kal
