#include "app/TDlgPasswd.h"

#include "app/Password.h"
#include "platform/ByteText.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kal {

TDlgPasswd::TDlgPasswd(qt::Services& services, std::string passwordFolder, const std::string& label, QWidget* parent)
    : QDialog(parent), services_(services), passwordFolder_(std::move(passwordFolder))
{
    setObjectName("TDlgPasswd");
    setWindowTitle(QString::fromUtf8("Kalendra パスワード入力"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);

    LabelPasswd = new QLabel(qt::fromUtf8(label), this);
    LabelPasswd->setObjectName("LabelPasswd");
    MskPasswd = new QLineEdit(this);
    MskPasswd->setObjectName("MskPasswd");
    MskPasswd->setEchoMode(QLineEdit::Password);
    MskPasswd->setStyleSheet("lineedit-password-character: 42;");
    MskPasswd->setMinimumWidth(180);
    BtnOk = qt::namedButton("BtnOk", "OK", this);
    BtnOk->setDefault(true);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelPasswd);
    layout->addWidget(MskPasswd);
    layout->addLayout(qt::rightAlignedRow({BtnOk, BtnCancel}));

    connect(BtnOk, &QPushButton::clicked, this, &TDlgPasswd::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TDlgPasswd::BtnOkClick()
{
    std::string entry = qt::toSjisLossy(MskPasswd->text());
    if (text::trim(entry).empty()) {
        services_.platform.messageBox("Kalendra", "パスワードを入力して下さい。", MessageIcon::Error,
                                      MessageButtons::Ok);
        MskPasswd->setFocus();
        return;
    }
    std::optional<PasswordFile> file = readPasswordFile(passwordFolder_ + kPasswordFileName);
    if (file && !file->readable) {
        // A password that cannot be checked is never taken as given.
        services_.platform.messageBox("Kalendra", "パスワードファイルを読み込めません。\r\n" + file->reason,
                                      MessageIcon::Error, MessageButtons::Ok);
        reject();
        return;
    }
    if (file && checkPassword(*file, entry) == PasswordVerdict::Wrong) {
        services_.platform.messageBox("Kalendra", "パスワードが違います。", MessageIcon::Error, MessageButtons::Ok);
        if (++wrongEntries_ >= 3) {
            reject();
            return;
        }
        MskPasswd->selectAll();
        MskPasswd->setFocus();
        return;
    }
    accept();
}

} // namespace kal
