#include "app/TDlgSetup.h"

#include "app/TSetupPageAlarm.h"
#include "app/TSetupPageCalendar.h"
#include "app/TSetupPageColor.h"
#include "app/TSetupPageFeeds.h"
#include "app/TSetupPageFolder.h"
#include "app/TSetupPageGeneral.h"
#include "app/TSetupPageMiniClock.h"
#include "app/TSetupPageScheduleMemo.h"
#include "app/TSetupPageSync.h"
#include "app/TSetupPageTodo.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace kal {

TDlgSetup::TDlgSetup(qt::Services& services, std::string programFolder, const QString& caption, QWidget* parent,
                     std::optional<SetupPosition> position)
    : QDialog(parent), services_(services), programFolder_(files::withSeparator(programFolder)), position_(position)
{
    setObjectName("TDlgSetup");
    setWindowTitle(caption);

    ListPage = qt::named(new QListWidget(this), "ListPage");
    ListPage->setAccessibleName(QString::fromUtf8("設定の項目"));
    PageControl = qt::named(new QStackedWidget(this), "PageControl");
    AddPage(TabStart = new TSetupStartPage(this), "起動");
    AddPage(TabView = new TSetupViewPage(this), "表示");
    AddPage(TabMonth = new TSetupMonthPage(this), "月間");
    AddPage(TabWeek = new TSetupWeekPage(this), "週間");
    AddPage(TabSchedule = new TSetupSchedulePage(services_, programFolder_, this), "スケジュール");
    AddPage(TabMemo = new TSetupMemoPage(services_, this), "メモ");
    AddPage(TabTodo = new TSetupTodoPage(services_, programFolder_, this), "ToDo");
    AddPage(TabMini = new TSetupMiniPage(this), "ミニカレンダー");
    AddPage(TabClock = new TSetupClockPage(services_, this), "デジタル時計");
    AddPage(TabColor = new TSetupColorPage(services_, programFolder_, this), "色とフォント");
    AddPage(TabAlarm = new TSetupAlarmPage(services_, programFolder_, this), "アラーム");
    AddPage(TabFolder = new TSetupFolderPage(services_, programFolder_, this), "データフォルダ");
    AddPage(TabOther = new TSetupOtherPage(this), "その他");
    AddPage(TabSync = new TSetupSyncPage(services_, programFolder_, this), "同期");
    AddPage(TabFeeds = new TSetupFeedsPage(services_, programFolder_, this), "購読");
    ListPage->setFixedWidth(ListPage->sizeHintForColumn(0) + 24);

    BtnOk = qt::namedButton("BtnOk", "OK", this);
    BtnOk->setDefault(true);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);

    auto* body = new QHBoxLayout;
    body->addWidget(ListPage);
    body->addWidget(PageControl, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(qt::rightAlignedRow({BtnOk, BtnCancel}));

    TabMemo->memoFolder = [this] { return TabFolder->memoFolder(); };
    TabMemo->memoFont = [this] { return TabColor->font(FontMemo); };
    connect(ListPage, &QListWidget::currentRowChanged, PageControl, &QStackedWidget::setCurrentIndex);
    connect(TabView->ChkDateJap, &QCheckBox::toggled, this, &TDlgSetup::FollowSampleOptions);
    connect(TabMonth, &TSetupMonthPage::rikuyoChanged, this, &TDlgSetup::FollowSampleOptions);
    connect(BtnOk, &QPushButton::clicked, this, &TDlgSetup::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormShow();
}

void TDlgSetup::AddPage(TSetupPage* page, const char* caption)
{
    ListPage->addItem(QString::fromUtf8(caption));
    PageControl->addWidget(page);
}

std::vector<TSetupPage*> TDlgSetup::pages() const
{
    std::vector<TSetupPage*> out;
    for (int i = 0; i < PageControl->count(); ++i)
        out.push_back(static_cast<TSetupPage*>(PageControl->widget(i)));
    return out;
}

void TDlgSetup::FormShow()
{
    IniFile ini(SettingsPath(programFolder_));
    ini.load();
    loaded_ = readSetupSettings(ini, programFolder_);
    for (TSetupPage* page : pages())
        page->load(loaded_);
    ListPage->setCurrentRow(0);
}

void TDlgSetup::FollowSampleOptions()
{
    RokuyoFlags rikuyo;
    takeFlags(TabMonth->rikuyoBoxes(), rikuyo);
    TabColor->SetSampleOptions(TabView->ChkDateJap->isChecked(), rikuyo);
}

AppSettings TDlgSetup::edited() const
{
    AppSettings s = loaded_;
    for (const TSetupPage* page : pages())
        page->store(s);
    return s;
}

void TDlgSetup::ShowPage(SetupPage page)
{
    ListPage->setCurrentRow(static_cast<int>(page));
}

void TDlgSetup::ShowError(const char* caption, const std::string& text)
{
    services_.platform.messageBox(caption, text, MessageIcon::Error, MessageButtons::Ok);
}

bool TDlgSetup::Check(const AppSettings& s)
{
    if (QLineEdit* field = TabFolder->unstorableField()) {
        ShowError("入力エラー", "フォルダ名に使用できない文字が含まれています。");
        ShowPage(SetupPage::Folder);
        field->setFocus();
        return false;
    }
    SetupCheckInput input{s.todo, s.memo, s.alarm, s.alarmTime, TabFolder->folderTexts(), programFolder_};
    std::optional<SetupProblem> problem = checkSetup(input, files::folderExists);
    if (!problem)
        return true;
    ShowError(problem->caption, problem->text);
    ShowPage(problem->page);
    switch (problem->focus) {
    case SetupField::Todo:
        TabView->ChkTodo->setFocus();
        break;
    case SetupField::AlarmTime:
        TabAlarm->SpinAlarmTime->setFocus();
        break;
    case SetupField::Folders:
        TabFolder->EditDataPath->setFocus();
        break;
    }
    return false;
}

void TDlgSetup::SaveIcons(AppSettings& s)
{
    std::vector<std::string> failures = TabTodo->SaveIcons(s.setIcon);
    if (failures.empty())
        return;
    std::string text = "アイコンを保存できません。";
    for (const std::string& failure : failures)
        text += "\r\n" + failure;
    ShowError("エラー", text);
}

bool TDlgSetup::WriteSettings(const AppSettings& s)
{
    IniFile ini(SettingsPath(programFolder_));
    ini.load();
    const std::string caption = qt::toUtf8(windowTitle());
    if (!ini.readable()) {
        ShowError(caption.c_str(), "設定ファイルを読み込めません。\r\n" + ini.unreadableReason());
        return false;
    }
    writeSetupSettings(ini, s, services_.platform.now().date.year, position_);
    if (files::IoResult saved = ini.flush(); !saved) {
        ShowError(caption.c_str(), "設定ファイルを保存できません。\r\n" + saved.reason);
        return false;
    }
    return true;
}

void TDlgSetup::BtnOkClick()
{
    AppSettings s = edited();
    if (!Check(s))
        return;
    if (!TabSync->Save()) {
        ListPage->setCurrentRow(PageControl->indexOf(TabSync));
        return;
    }
    if (!TabFeeds->Save()) {
        ListPage->setCurrentRow(PageControl->indexOf(TabFeeds));
        return;
    }
    SaveIcons(s);
    if (!WriteSettings(s))
        return;
    accept();
}

} // namespace kal
