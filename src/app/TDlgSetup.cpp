#include "app/TDlgSetup.h"

#include "app/AppSettings.h"
#include "platform/SjisCodec.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kal {

TDlgSetup::TDlgSetup(qt::Services& services, std::string programFolder, const QString& caption, QWidget* parent)
    : QDialog(parent), services_(services), programFolder_(std::move(programFolder))
{
    setObjectName("TDlgSetup");
    setWindowTitle(caption);

    LabelInfo = new QLabel(this);
    LabelInfo->setObjectName("LabelInfo");
    LabelInfo->setText(QString::fromUtf8("Kalendra の設定ファイルを作成します。\n\n"
                                         "データはすべて次のフォルダに保存されます：\n%1\n\n"
                                         "OK を押すと標準の設定で開始します。")
                           .arg(qt::fromUtf8(programFolder_)));
    LabelInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    BtnOk = qt::namedButton("BtnOk", "OK", this);
    BtnOk->setDefault(true);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelInfo);
    layout->addLayout(qt::rightAlignedRow({BtnOk, BtnCancel}));

    connect(BtnOk, &QPushButton::clicked, this, &TDlgSetup::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TDlgSetup::BtnOkClick()
{
    IniFile ini(SettingsPath(programFolder_));
    ini.load();
    // A program folder whose name Shift-JIS cannot hold is stored as the empty value, which
    // names the program folder too.
    std::string folderValue = sjis::fromUtf8(programFolder_).value_or("");
    writeDialogKeys(ini, folderValue, services_.platform.now().date.year);
    if (files::IoResult saved = ini.flush(); !saved) {
        services_.platform.messageBox("初期設定", "設定ファイルを保存できません。\r\n" + saved.reason,
                                      MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    accept();
}

} // namespace kal
