#include "app/TDlgPassEntry.h"

#include "app/Password.h"
#include "platform/ByteText.h"
#include "platform/SjisCodec.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kal {
namespace {

constexpr const char* kInputErrorCaption = "パスワード入力エラー";

QLineEdit* passwordField(const char* name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setEchoMode(QLineEdit::Password);
    field->setStyleSheet("lineedit-password-character: 42;");
    field->setMaxLength(kPasswordMaxLength);
    // Whatever is typed must be storable as typed.
    qt::limitSjisBytes(field, 2 * kPasswordMaxLength);
    field->setMinimumWidth(160);
    return field;
}

int characterCount(const std::string& sjisText)
{
    int count = 0;
    for (std::size_t i = 0; i < sjisText.size(); i += sjis::charLength(sjisText, i))
        ++count;
    return count;
}

} // namespace

TDlgPassEntry::TDlgPassEntry(qt::Services& services, std::string passwordFolder, QWidget* parent)
    : QDialog(parent), services_(services), path_(std::move(passwordFolder) + kPasswordFileName),
      passwordSet_(PasswordIsSet(path_))
{
    setObjectName("TDlgPassEntry");
    setWindowTitle(QString::fromUtf8("パスワード登録"));
    MskOldPasswd = passwordField("MskOldPasswd", this);
    MskNewPasswd = passwordField("MskNewPasswd", this);
    MskAgainPasswd = passwordField("MskAgainPasswd", this);
    BtnOk = qt::namedButton("BtnOk", "OK", this);
    BtnOk->setDefault(true);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);

    auto* form = new QFormLayout;
    LabelOldPasswd = new QLabel(QString::fromUtf8("現在のパスワード："), this);
    LabelOldPasswd->setObjectName("LabelOldPasswd");
    form->addRow(LabelOldPasswd, MskOldPasswd);
    form->addRow(QString::fromUtf8("新しいパスワード："), MskNewPasswd);
    form->addRow(QString::fromUtf8("パスワードの確認入力："), MskAgainPasswd);
    LabelOldPasswd->setVisible(passwordSet_);
    MskOldPasswd->setVisible(passwordSet_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(qt::rightAlignedRow({BtnOk, BtnCancel}));
    (passwordSet_ ? MskOldPasswd : MskNewPasswd)->setFocus();

    connect(BtnOk, &QPushButton::clicked, this, &TDlgPassEntry::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TDlgPassEntry::InputError(const char* text, QLineEdit* field)
{
    services_.platform.messageBox(kInputErrorCaption, text, MessageIcon::Error, MessageButtons::Ok);
    field->selectAll();
    field->setFocus();
}

bool TDlgPassEntry::CurrentPasswordGiven()
{
    if (!passwordSet_)
        return true;
    std::optional<PasswordFile> file = readPasswordFile(path_);
    if (file && !file->readable) {
        services_.platform.messageBox(kInputErrorCaption, "パスワードファイルを読み込めません。\r\n" + file->reason,
                                      MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    // A file removed meanwhile leaves nothing to protect.
    if (!file || checkPassword(*file, qt::toSjisLossy(MskOldPasswd->text())) == PasswordVerdict::Accepted)
        return true;
    InputError("現在のパスワードが違います。", MskOldPasswd);
    // As at start-up, three wrong entries end the dialog.
    if (++wrongEntries_ >= 3)
        reject();
    return false;
}

void TDlgPassEntry::BtnOkClick()
{
    if (!CurrentPasswordGiven())
        return;
    const std::string entered = qt::toSjisLossy(MskNewPasswd->text());
    if (characterCount(text::trim(entered)) < kPasswordMinLength) {
        InputError("パスワードは４文字以上で入力して下さい。", MskNewPasswd);
        return;
    }
    if (MskNewPasswd->text() != MskAgainPasswd->text()) {
        InputError("新しいパスワードと再入力したパスワードが違います。", MskAgainPasswd);
        return;
    }
    if (files::IoResult saved = writePasswordFile(path_, entered); !saved) {
        services_.platform.messageBox("パスワード登録", "パスワードを保存できません。\r\n" + saved.reason,
                                      MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    accept();
}

} // namespace kal
