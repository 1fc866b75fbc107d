// The password prompt: three wrong entries, or cancel, end it with Rejected.
#pragma once

#include "platform/qt/Services.h"

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kal {

class TDlgPasswd : public QDialog {
    Q_OBJECT
public:
    // `passwordFolder` holds Kalendra.pwd; `label` is the caller's prompt (UTF-8).
    TDlgPasswd(qt::Services& services, std::string passwordFolder, const std::string& label, QWidget* parent = nullptr);

    QLabel* LabelPasswd;
    QLineEdit* MskPasswd;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void BtnOkClick();
    int wrongEntries() const { return wrongEntries_; }

private:
    qt::Services& services_;
    std::string passwordFolder_;
    int wrongEntries_ = 0;
};

} // namespace kal
