#include "calendar/TDlgJump.h"

#include "platform/qt/Widgets.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kal {

TDlgJump::TDlgJump(const Date& today, QWidget* parent) : QDialog(parent)
{
    setObjectName("TDlgJump");
    setWindowTitle(QString::fromUtf8("指定した日付へ移動"));
    DtpJumpDate = qt::dateEdit("DtpJumpDate", "yyyy'年'M'月'd'日'(dddd)", this);
    DtpJumpDate->setDate(qt::toQDate(today));
    BtnOk = qt::named(new QPushButton("OK", this), "BtnOk");
    BtnOk->setDefault(true);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);

    auto* field = new QHBoxLayout;
    QLabel* label = qt::captionLabel("日付(&D)：", this);
    label->setBuddy(DtpJumpDate);
    field->addWidget(label);
    field->addWidget(DtpJumpDate, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(qt::rightAlignedRow({BtnOk, BtnCancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    DtpJumpDate->setFocus();
}

Date TDlgJump::JumpDate() const
{
    return qt::fromQDate(DtpJumpDate->date());
}

} // namespace kal
