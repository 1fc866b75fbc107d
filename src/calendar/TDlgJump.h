// The jump dialog ("指定した日付へ移動"): asks for a date; the opener shows that date's month
// with the day selected.
#pragma once

#include "platform/Date.h"

#include <QDialog>

class QDateEdit;
class QPushButton;

namespace kal {

class TDlgJump : public QDialog {
    Q_OBJECT
public:
    // Starts at `today`.
    explicit TDlgJump(const Date& today, QWidget* parent = nullptr);

    QDateEdit* DtpJumpDate;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    Date JumpDate() const;
};

} // namespace kal
