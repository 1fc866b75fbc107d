#include "app/TSetupPageGeneral.h"

#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kal {

namespace {
constexpr int kTitleLength = 40;
}

TSetupStartPage::TSetupStartPage(QWidget* parent) : TSetupPage(parent)
{
    auto* layout = pageColumn(this);
    RadioPos = new TSetupRadios("RadioPos", "起動時のウィンドウ位置",
                                {"画面左上", "画面中央", "画面右上", "前回終了時の位置"}, this);
    layout->addWidget(RadioPos);
    QVBoxLayout* tray = groupColumn("タスクトレイ", this, layout);
    ChkTaskTray = setupCheck("ChkTaskTray", "起動時にタスクトレイに格納する。(&T)", this);
    ChkTaskBar = setupCheck("ChkTaskBar", "タスクバーにボタンを表示しない。(&B)（次回起動時から）", this);
    ChkStayOnTop = setupCheck("ChkStayOnTop", "常に手前に表示する。(&S)（次回起動時から）", this);
    for (QWidget* w : {ChkTaskTray, ChkTaskBar, ChkStayOnTop})
        tray->addWidget(w);
    QVBoxLayout* password = groupColumn("パスワード", this, layout);
    ChkPasswd = setupCheck("ChkPasswd", "起動時にパスワードを入力する。(&P)", this);
    ChkPasswd2 = setupCheck("ChkPasswd2", "タスクトレイから表示するときにパスワードを入力する。(&R)", this);
    password->addWidget(ChkPasswd);
    password->addWidget(ChkPasswd2);
}

void TSetupStartPage::load(const AppSettings& s)
{
    RadioPos->setIndex(s.posMode);
    ChkTaskTray->setChecked(s.taskTray == 1);
    ChkTaskBar->setChecked(s.taskBar == 1);
    ChkStayOnTop->setChecked(s.stayOnTop == 1);
    ChkPasswd->setChecked(s.passwd == 1);
    ChkPasswd2->setChecked(s.passwd2 == 1);
}

void TSetupStartPage::store(AppSettings& s) const
{
    s.posMode = RadioPos->index();
    s.taskTray = checkedFlag(ChkTaskTray->isChecked());
    s.taskBar = checkedFlag(ChkTaskBar->isChecked());
    s.stayOnTop = checkedFlag(ChkStayOnTop->isChecked());
    s.passwd = checkedFlag(ChkPasswd->isChecked());
    s.passwd2 = checkedFlag(ChkPasswd2->isChecked());
}

TSetupViewPage::TSetupViewPage(QWidget* parent) : TSetupPage(parent)
{
    auto* layout = pageColumn(this);
    EditTitle = qt::named(new QLineEdit(this), "EditTitle");
    EditTitle->setMaxLength(kTitleLength);
    qt::limitSjisBytes(EditTitle, kTitleLength);
    auto* titleRow = new QHBoxLayout;
    QLabel* titleCaption = qt::captionLabel("タイトル(&N)：", this);
    titleCaption->setBuddy(EditTitle);
    titleRow->addWidget(titleCaption);
    titleRow->addWidget(EditTitle);
    layout->addLayout(titleRow);
    RadioStrWeek = new TSetupRadios("RadioStrWeek", "週の始まり", {"日曜日", "月曜日"}, this);
    layout->addWidget(RadioStrWeek);
    ChkDateJap = setupCheck("ChkDateJap", "和暦と日本語の曜日を表示する。(&J)", this);
    ChkAutoIme = setupCheck("ChkAutoIme", "日本語入力を自動で切り替える。(&I)", this);
    ChkTodo = setupCheck("ChkTodo", "ToDoリストを表示する。(&D)", this);
    ChkCloseTray = setupCheck("ChkCloseTray", "閉じるボタンでタスクトレイに格納する。(&C)", this);
    ChkNotePas = setupCheck("ChkNotePas", "ノートの最終タブにパスワードを設定する。(&P)", this);
    ChkNoteTab = setupCheck("ChkNoteTab", "ノートのタブを下に表示する。(&B)", this);
    for (QWidget* w : {ChkDateJap, ChkAutoIme, ChkTodo, ChkCloseTray, ChkNotePas, ChkNoteTab})
        layout->addWidget(w);
    ChkScrUd = setupCheck("ChkScrUd", "画面を定期的に更新する。(&U)", this);
    SpnUdTime = qt::named(new QSpinBox(this), "SpnUdTime");
    SpnUdTime->setRange(1, 99);
    SpnUdTime->setSuffix(QString::fromUtf8(" 分"));
    auto* refreshRow = new QHBoxLayout;
    refreshRow->addWidget(ChkScrUd);
    refreshRow->addWidget(SpnUdTime);
    refreshRow->addStretch();
    layout->addLayout(refreshRow);
    connect(ChkScrUd, &QCheckBox::toggled, this, &TSetupViewPage::updateEnabled);
}

void TSetupViewPage::load(const AppSettings& s)
{
    EditTitle->setText(qt::fromSjis(s.title));
    RadioStrWeek->setIndex(s.strWeek);
    ChkDateJap->setChecked(s.dateJap == 1);
    ChkAutoIme->setChecked(s.autoIme == 1);
    ChkTodo->setChecked(s.todo == 1);
    ChkCloseTray->setChecked(s.closeTray == 1);
    ChkNotePas->setChecked(s.notePas == 1);
    ChkNoteTab->setChecked(s.noteTab == 1);
    ChkScrUd->setChecked(s.scrUd);
    SpnUdTime->setValue(s.udTime);
    updateEnabled();
}

void TSetupViewPage::store(AppSettings& s) const
{
    s.title = qt::toSjisLossy(EditTitle->text());
    s.strWeek = RadioStrWeek->index();
    s.dateJap = checkedFlag(ChkDateJap->isChecked());
    s.autoIme = checkedFlag(ChkAutoIme->isChecked());
    s.todo = checkedFlag(ChkTodo->isChecked());
    s.closeTray = checkedFlag(ChkCloseTray->isChecked());
    s.notePas = checkedFlag(ChkNotePas->isChecked());
    s.noteTab = checkedFlag(ChkNoteTab->isChecked());
    s.scrUd = ChkScrUd->isChecked();
    s.udTime = SpnUdTime->value();
}

void TSetupViewPage::updateEnabled()
{
    SpnUdTime->setEnabled(ChkScrUd->isChecked());
}

} // namespace kal
