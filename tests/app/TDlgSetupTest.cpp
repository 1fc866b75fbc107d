// The settings dialog, offscreen with the fake platform.
#include "app/TDlgSetup.h"
#include "app/TSetupPageAlarm.h"
#include "app/TSetupPageCalendar.h"
#include "app/TSetupPageColor.h"
#include "app/TSetupPageFolder.h"
#include "app/TSetupPageGeneral.h"
#include "app/TSetupPageMiniClock.h"
#include "app/TSetupPageScheduleMemo.h"
#include "app/TSetupPageTodo.h"
#include "platform/qt/QtText.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <set>

using namespace kal;
using namespace kal::test;

namespace {

struct SetupFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};

    std::unique_ptr<TDlgSetup> open(std::optional<SetupPosition> position = std::nullopt)
    {
        return std::make_unique<TDlgSetup>(services, home.path(), QString::fromUtf8("環境設定"), nullptr, position);
    }
    IniFile written() const
    {
        IniFile ini(home.file("Kalendra.ini"));
        ini.load();
        return ini;
    }
    std::vector<std::string> captions() const
    {
        std::vector<std::string> out;
        for (const auto& m : platform.messages)
            out.push_back(m.caption);
        return out;
    }
};

} // namespace

TEST_F(SetupFixture, TheWholeFileRoundTripsWithNothingLost)
{
    const std::vector<std::string> original = {
        "; kept by hand",
        "[Kalendra]",
        "Ver=3.01",
        "RelativePath=0",
        "DataPath=" + home.path(),
        "MemoPath=" + home.path(),
        "TodoPath=" + home.path(),
        "NotePath=" + home.path(),
        "[Window]",
        "Title=" + sj("私の予定"),
        "Now=2026",
        "PosMode=3",
        "Top=120",
        "Left=80",
        "Height=640",
        "Width=900",
        "PnlWidth=300",
        "SchWidth=150",
        "TNoWidth=99",
        "GridMode=1",
        "TaskTray=1",
        "TaskBar=0",
        "StayOnTop=1",
        "[Mini]",
        "Height=200",
        "PosMode=1",
        "Trans=1",
        "TransValue=60",
        "SchLine=1",
        "StatusBar=0",
        "[View]",
        "Passwd=0",
        "Passwd2=1",
        "Catchk=1",
        "CloseTray=1",
        "StrWeek=1",
        "DateJap=0",
        "OtherMon=0",
        "MonWeek=5",
        "SchView=101011",
        "Note=0",
        "AutoIme=0",
        "ScrUd=1",
        "UdTime=17",
        "CalView=110110011",
        "Rikuyo=011110",
        "WeekView=100110110",
        "NotePas=1",
        "NoteTab=0",
        "[Memo]",
        "Memo=0",
        "MTUmu=0",
        "MTitle=" + sj("日記帳"),
        "[ToDo]",
        "Todo=1",
        "TNoIcon=0",
        "WarnTerm=9",
        "SetIcon=0000",
        "TNoItem=1111110",
        "TOkItem=1001011",
        "ToDoTab=0",
        "[Sound]",
        "Alarm=2",
        "AlarmTime=5",
        "AlarmWav=/snd/alarm.wav",
        "Signal=1",
        "SignalMode=2",
        "SignalWav=/snd/signal.wav",
        "[Clean]",
        "Clean=1",
        "CleanTerm=3",
        "[Clock]",
        "Clock=0",
        "Type=1",
        "Font=\"DejaVu Sans\",14,2,000255",
        "Style=hh:mm",
        "Left=1",
        "Clsec=0",
        "Clhour=1",
        "[Font]",
        "Day=Arial,12,2",
        "Sch=\"IPA Gothic\",10,0",
        "Week=\"IPA Gothic\",9,1",
        "Memo=\"IPA Gothic\",11,0",
        "Note=\"IPA Gothic\",9,3",
        "Mini=Serif,8,0",
        "[Color]",
    };
    std::vector<std::string> lines = original;
    for (int i = 0; i < ColorItemCount; ++i)
        lines.push_back(std::string(colorKey(i)) + "=" +
                        encodeColor(ColorPair{i * 1000, i * 7}, colorHasBackground(i)));
    lines.push_back("[Elsewhere]");
    lines.push_back("Unknown=value");
    lines.push_back("garbage line without equals");
    home.write("Kalendra.ini", crlf(lines));

    auto dialog = open();
    dialog->BtnOkClick();
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    const IniFile ini = written();
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        EXPECT_NE(std::find(ini.lines().begin(), ini.lines().end(), line), ini.lines().end());
    }
    EXPECT_EQ(ini.lines().size(), lines.size());
}

TEST_F(SetupFixture, OkChecksRefuseWithTheirMessagesAndShowThePage)
{
    home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n");
    struct Case {
        const char* name;
        std::function<void(TDlgSetup&)> change;
        const char* text;
        SetupPage page;
    } cases[] = {
        {"todo hidden, memo never",
         [](TDlgSetup& d) {
             d.TabView->ChkTodo->setChecked(false);
             d.TabMemo->RadioMemo->setIndex(2);
         },
         "メモ欄が常に表示でなければToDoリストは非表示にできません。", SetupPage::View},
        {"just time at 0 minutes",
         [](TDlgSetup& d) {
             d.TabAlarm->ChkAlarm->setChecked(true);
             d.TabAlarm->ChkAlarmJust->setChecked(true);
             d.TabAlarm->SpinAlarmTime->setValue(0);
         },
         "0分にアラームを設定した場合、ジャストタイムは設定できません。", SetupPage::Alarm},
        {"missing folder", [](TDlgSetup& d) { d.TabFolder->EditNotePath->setText("/no/such/folder/"); },
         "指定したフォルダは存在しません。", SetupPage::Folder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform.messages.clear();
        auto dialog = open();
        dialog->show();
        c.change(*dialog);
        dialog->BtnOkClick();
        QTest::qWait(10);
        EXPECT_NE(dialog->result(), QDialog::Accepted);
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, c.text);
        EXPECT_EQ(dialog->ListPage->currentRow(), static_cast<int>(c.page));
        EXPECT_EQ(dialog->PageControl->currentIndex(), static_cast<int>(c.page));
        EXPECT_FALSE(written().hasKey("View", "StrWeek")) << "nothing written";
    }
    // The accepted neighbours of the refused cases.
    auto dialog = open();
    dialog->TabView->ChkTodo->setChecked(false);
    dialog->TabMemo->RadioMemo->setIndex(1);
    dialog->TabAlarm->ChkAlarm->setChecked(true);
    dialog->TabAlarm->SpinAlarmTime->setValue(0);
    dialog->BtnOkClick();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(written().readString("ToDo", "Todo", ""), "0");
    EXPECT_EQ(written().readString("Sound", "Alarm", ""), "1");
}

TEST_F(SetupFixture, AFailedWriteIsReportedAndTheDialogStaysOpen)
{
    TempFolder data;
    home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\nDataPath=" + data.path() + "\r\nMemoPath=" + data.path() +
                                   "\r\nTodoPath=" + data.path() + "\r\nNotePath=" + data.path() + "\r\n");
    auto dialog = open();
    // The program folder is gone by the time OK is pressed.
    ASSERT_EQ(std::system(("rm -rf '" + home.path() + "'").c_str()), 0);
    dialog->BtnOkClick();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find("設定ファイルを保存できません。"), std::string::npos);
}

TEST_F(SetupFixture, SliderShowsPercentAndWritesTheStoredScale)
{
    home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n[Mini]\r\nTrans=1\r\nTransValue=120\r\n");
    auto dialog = open();
    EXPECT_EQ(dialog->TabMini->TrackMiniTrans->value(), 10);
    EXPECT_EQ(dialog->TabMini->LblMiniTransPer->text(), "50%");
    dialog->TabMini->TrackMiniTrans->setValue(20);
    EXPECT_EQ(dialog->TabMini->LblMiniTransPer->text(), "100%");
    dialog->TabMini->ChkMiniTrans->setChecked(false);
    EXPECT_FALSE(dialog->TabMini->TrackMiniTrans->isEnabled());
    dialog->TabMini->ChkMiniTrans->setChecked(true);
    dialog->BtnOkClick();
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(written().readString("Mini", "TransValue", ""), "0");
    EXPECT_EQ(written().readString("Mini", "Trans", ""), "1");
}

TEST_F(SetupFixture, SwitchingToRelativeAndBackConvertsEveryFolder)
{
    home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\nDataPath=" + home.path() + "\r\nMemoPath=" + home.path() +
                                   "\r\nTodoPath=" + home.path() + "sub\r\nNotePath=" + home.path() + "\r\n");
    ASSERT_EQ(::mkdir(home.file("sub").c_str(), 0700), 0);
    auto dialog = open();
    TSetupFolderPage& page = *dialog->TabFolder;
    EXPECT_EQ(page.PanelTable->text(), qt::fromUtf8(home.path()));
    page.RdoPath->setIndex(1);
    EXPECT_EQ(page.EditDataPath->text(), "");
    EXPECT_EQ(page.EditMemoPath->text(), "");
    EXPECT_EQ(page.EditTodoPath->text(), "sub/");
    EXPECT_EQ(page.EditNotePath->text(), "");
    EXPECT_EQ(page.PanelTable->text(), "");
    page.RdoPath->setIndex(0);
    EXPECT_EQ(page.EditDataPath->text(), qt::fromUtf8(home.path()));
    EXPECT_EQ(page.EditTodoPath->text(), qt::fromUtf8(home.path() + "sub/"));
    page.RdoPath->setIndex(1);

    platform.fileAnswers.push_back(home.path() + "sub");
    page.BtnSelectMemo->click();
    EXPECT_EQ(page.EditMemoPath->text(), "sub/");
    dialog->BtnOkClick();
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    const IniFile ini = written();
    EXPECT_EQ(ini.readString("Kalendra", "RelativePath", ""), "1");
    EXPECT_EQ(ini.readString("Kalendra", "DataPath", "x"), "");
    EXPECT_EQ(ini.readString("Kalendra", "MemoPath", ""), "sub/");
    AppSettings s;
    ASSERT_TRUE(readSettings(ini, home.path(), s).ok);
    EXPECT_EQ(s.memoPath, home.path() + "sub/");
}

TEST_F(SetupFixture, ColorSetsAreSavedReplacedLoadedAndDeletedAfterAsking)
{
    home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n");
    auto dialog = open();
    TSetupColorPage& page = *dialog->TabColor;
    page.ListColor->setCurrentRow(ColSunday);
    platform.colorAnswers.push_back(111);
    page.BtnFontCol->click();
    platform.inputAnswers.push_back(std::string("Mine"));
    page.BtnSavecol->click();
    ASSERT_TRUE(home.exists("Mine.col"));
    EXPECT_EQ(page.CmbSetcol->currentText(), "Mine");
    EXPECT_TRUE(page.BtnDelcol->isEnabled());

    platform.colorAnswers.push_back(222);
    page.BtnFontCol->click();
    platform.inputAnswers.push_back(std::string("Mine"));
    page.BtnSavecol->click();
    EXPECT_NE(home.read("Mine.col").find("Cw03=00000222"), std::string::npos) << "replaced";
    EXPECT_EQ(page.CmbSetcol->count(), 1);

    for (const char* refused : {"../Kalendra", ".hidden", "a/b"}) {
        SCOPED_TRACE(refused);
        platform.messages.clear();
        platform.inputAnswers.push_back(std::string(refused));
        page.BtnSavecol->click();
        EXPECT_EQ(captions(), std::vector<std::string>{"エラー"});
    }
    EXPECT_EQ(page.CmbSetcol->count(), 1);

    platform.colorAnswers.push_back(333);
    page.BtnFontCol->click();
    home.write("Broken.col", "[Color]\r\nCw03=00000444\r\nCw04=abc\r\n");
    dialog->TabColor->load(dialog->edited());
    const int broken = page.CmbSetcol->findText("Broken");
    ASSERT_GE(broken, 0);
    page.CmbSetcol->setCurrentIndex(broken);
    platform.messages.clear();
    page.CmbSetcolChange();
    EXPECT_EQ(captions(), std::vector<std::string>{"エラー"});
    EXPECT_EQ(page.colors()[ColSunday].text, 333) << "a bad set changes nothing";

    page.CmbSetcol->setCurrentIndex(page.CmbSetcol->findText("Mine"));
    page.CmbSetcolChange();
    EXPECT_EQ(page.colors()[ColSunday].text, 222);

    platform.messageAnswers.push_back(MessageAnswer::No);
    page.BtnDelcol->click();
    EXPECT_TRUE(home.exists("Mine.col"));
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    page.BtnDelcol->click();
    EXPECT_FALSE(home.exists("Mine.col"));
    EXPECT_EQ(page.CmbSetcol->findText("Mine"), -1);
    EXPECT_FALSE(page.BtnDelcol->isEnabled());
}

TEST_F(SetupFixture, SampleCellsSelectTheirColourItem)
{
    auto dialog = open();
    TSetupColorPage& page = *dialog->TabColor;
    const int items[7] = {ColOtherMonth, ColWeekday, ColHoliday, ColDayOff, ColAnniversary, ColSaturday, ColSunday};
    for (int column = 0; column < 7; ++column) {
        SCOPED_TRACE(column);
        emit page.GridSample->cellClicked(1, column);
        EXPECT_EQ(page.ListColor->currentRow(), items[column]);
    }
    EXPECT_EQ(page.ListColor->item(ColSunday)->text(), QString::fromUtf8("カレンダー日曜日"));
    // Items without a text colour or a background have no button for it.
    page.ListColor->setCurrentRow(ColToday);
    EXPECT_FALSE(page.BtnFontCol->isEnabled());
    EXPECT_TRUE(page.BtnBackCol->isEnabled());
    page.ListColor->setCurrentRow(ColRokuyo);
    EXPECT_TRUE(page.BtnFontCol->isEnabled());
    EXPECT_FALSE(page.BtnBackCol->isEnabled());
}

TEST_F(SetupFixture, DependentControlsFollowTheirSwitches)
{
    auto dialog = open();
    struct Case {
        const char* name;
        QAbstractButton* master;
        std::vector<QWidget*> followers;
    } cases[] = {
        {"refresh", dialog->TabView->ChkScrUd, {dialog->TabView->SpnUdTime}},
        {"month schedules", dialog->TabMonth->ChkSch, {dialog->TabMonth->ChkCalStr, dialog->TabMonth->ChkCalPlace}},
        {"week schedules",
         dialog->TabWeek->ChkWeekSch,
         {dialog->TabWeek->ChkWeekStr, dialog->TabWeek->ChkWeekEnd, dialog->TabWeek->ChkWeekPlace}},
        {"memo title", dialog->TabMemo->ChkMemoTitle, {dialog->TabMemo->CmbMemoTitle}},
        {"todo icons",
         dialog->TabTodo->ChkTodoIcon,
         {dialog->TabTodo->ListTodo, dialog->TabTodo->SpinWarnTerm, dialog->TabTodo->BtnIconChange,
          dialog->TabTodo->BtnIconOrigin}},
        {"alarm",
         dialog->TabAlarm->ChkAlarm,
         {dialog->TabAlarm->ChkAlarmJust, dialog->TabAlarm->SpinAlarmTime, dialog->TabAlarm->EditAlarmWav,
          dialog->TabAlarm->BtnOpenAlarm, dialog->TabAlarm->BtnAlarmTest}},
        {"signal",
         dialog->TabAlarm->ChkSignal,
         {dialog->TabAlarm->RadioSignal1, dialog->TabAlarm->RadioSignal2, dialog->TabAlarm->EditSignalWav,
          dialog->TabAlarm->BtnOpenSignal, dialog->TabAlarm->BtnSignalTest}},
        {"clean", dialog->TabOther->ChkClean, {dialog->TabOther->CmbCleanTerm}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool on : {true, false, true}) {
            c.master->setChecked(on);
            for (QWidget* follower : c.followers)
                EXPECT_EQ(follower->isEnabled(), on);
        }
    }
    TSetupAlarmPage& alarm = *dialog->TabAlarm;
    alarm.RadioSignal1->setChecked(true);
    EXPECT_FALSE(alarm.BtnSignalSet->isEnabled());
    alarm.RadioSignal3->setChecked(true);
    EXPECT_TRUE(alarm.BtnSignalSet->isEnabled());
    alarm.ChkSignal->setChecked(false);
    EXPECT_FALSE(alarm.BtnSignalSet->isEnabled());

    TSetupClockPage& clock = *dialog->TabClock;
    clock.RadioClType->setIndex(1);
    EXPECT_TRUE(clock.CmbClStyle->isEnabled());
    EXPECT_FALSE(clock.ChkClsec->isEnabled());
    clock.RadioClType->setIndex(0);
    EXPECT_FALSE(clock.BtnClockFont->isEnabled());
    EXPECT_FALSE(clock.BtnClockColor->isEnabled());
    EXPECT_TRUE(clock.RadioClhour->isEnabled());
}

TEST_F(SetupFixture, TodoColumnsKeepTheTitleAndTheirOwnListFlags)
{
    home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n[ToDo]\r\nTNoItem=1101001\r\nTOkItem=1101001\r\n");
    auto dialog = open();
    TSetupTodoPage& page = *dialog->TabTodo;
    EXPECT_TRUE(page.ChkTi[3]->isChecked());
    EXPECT_FALSE(page.ChkTi[3]->isEnabled());
    EXPECT_FALSE(page.ChkTi[6]->isEnabled()) << "done date is for the done list";
    EXPECT_FALSE(page.ChkTi[6]->isChecked());
    page.ChkTi[4]->click();
    page.ListName->setCurrentRow(1);
    EXPECT_FALSE(page.ChkTi[1]->isEnabled());
    EXPECT_FALSE(page.ChkTi[1]->isChecked());
    EXPECT_TRUE(page.ChkTi[6]->isChecked());
    EXPECT_FALSE(page.ChkTi[4]->isChecked()) << "the tick belongs to the open list";
    dialog->BtnOkClick();
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(written().readString("ToDo", "TNoItem", ""), "1101100");
    EXPECT_EQ(written().readString("ToDo", "TOkItem", ""), "1001001");
}

TEST_F(SetupFixture, ChosenIconsAreWrittenOnOkAndOnlyThenFlagged)
{
    auto dialog = open();
    TSetupTodoPage& page = *dialog->TabTodo;
    page.ListTodo->clearSelection();
    page.BtnIconChange->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "変更するアイコンを選択して下さい。");

    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(qt::fromUtf8(home.file("red.bmp")), "BMP"));
    page.ListTodo->setCurrentRow(2);
    platform.fileAnswers.push_back(home.file("red.bmp"));
    page.BtnIconChange->click();
    EXPECT_FALSE(home.exists("TNoicon3.sbm")) << "written only on OK";
    dialog->BtnOkClick();
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(home.exists("TNoicon3.sbm"));
    EXPECT_EQ(written().readString("ToDo", "SetIcon", ""), "0010");

    auto again = open();
    again->TabTodo->BtnIconOrigin->click();
    again->BtnOkClick();
    EXPECT_EQ(written().readString("ToDo", "SetIcon", ""), "0000");
}

TEST_F(SetupFixture, ClockFontAndColourAreStoredTogether)
{
    auto dialog = open();
    TSetupClockPage& page = *dialog->TabClock;
    page.RadioClType->setIndex(1);
    platform.fontAnswers.push_back(FontSpec{"DejaVu Sans", 16, FontStyle::Bold, 0});
    page.BtnClockFont->click();
    platform.colorAnswers.push_back(0x00FF00);
    page.BtnClockColor->click();
    page.CmbClStyle->setEditText("hh:mm");
    EXPECT_EQ(page.PanelClock->text(), "10:00");
    dialog->BtnOkClick();
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(written().readString("Clock", "Font", ""), "\"DejaVu Sans\",16,2,065280");
    EXPECT_EQ(written().readString("Clock", "Type", ""), "1");
    EXPECT_EQ(written().readString("Clock", "Style", ""), "hh:mm");
}

TEST_F(SetupFixture, PickListAndTemplateButtonsOpenTheirEditors)
{
    auto dialog = open();
    dialog->TabAlarm->ChkSignal->setChecked(true);
    dialog->TabAlarm->RadioSignal3->setChecked(true);
    struct Case {
        QPushButton* button;
        const char* cls;
        const char* title;
    } cases[] = {
        {dialog->TabSchedule->BtnSchFrom, "kal::TDlgItemSet", "開始時刻の設定"},
        {dialog->TabSchedule->BtnSchTo, "kal::TDlgItemSet", "終了時刻の設定"},
        {dialog->TabSchedule->BtnSchTitle, "kal::TDlgItemSet", "スケジュール内容の設定"},
        {dialog->TabSchedule->BtnSchPlace, "kal::TDlgItemSet", "場所の設定"},
        {dialog->TabAlarm->BtnSignalSet, "kal::TDlgItemSet", "時報時刻の設定"},
        {dialog->TabMemo->ButTemplate, "kal::TDlgMemo", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cls);
        dialogs.shownClasses.clear();
        dialogs.shownTitles.clear();
        c.button->click();
        ASSERT_EQ(dialogs.shownClasses.size(), 1u);
        EXPECT_EQ(dialogs.shownClasses[0], c.cls);
        if (c.title) {
            EXPECT_EQ(dialogs.shownTitles[0], QString::fromUtf8(c.title));
        }
    }
}

TEST_F(SetupFixture, TestButtonsPlayTheirSoundAndBrowseFillsTheField)
{
    auto dialog = open();
    TSetupAlarmPage& page = *dialog->TabAlarm;
    page.ChkAlarm->setChecked(true);
    page.ChkSignal->setChecked(true);
    platform.fileAnswers.push_back(std::string("/snd/bell.wav"));
    page.BtnOpenAlarm->click();
    EXPECT_EQ(page.EditAlarmWav->text(), "/snd/bell.wav");
    page.EditSignalWav->setText("/snd/chime.wav");
    page.BtnAlarmTest->click();
    page.BtnSignalTest->click();
    EXPECT_EQ(platform.sounds, (std::vector<std::string>{"/snd/bell.wav", "/snd/chime.wav"}));
}

TEST_F(SetupFixture, TheMainWindowPositionIsKeptOnlyWhenOnScreen)
{
    home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n[Window]\r\nTop=7\r\nLeft=8\r\n");
    auto off = open(SetupPosition{-20, 100, 1280, 1024});
    off->BtnOkClick();
    EXPECT_EQ(written().readInteger("Window", "Top", 0), 7);
    auto on = open(SetupPosition{200, 300, 1280, 1024});
    on->BtnOkClick();
    EXPECT_EQ(written().readInteger("Window", "Top", 0), 200);
    EXPECT_EQ(written().readInteger("Window", "Left", 0), 300);
}

using SetupWindowFixture = MainWindowFixture;

TEST_F(SetupWindowFixture, TheSettingsCommandOpensTheDialogAndAppliesItsResult)
{
    start();
    form->DayList->ListDaySch->setColumnWidth(3, 210);
    ASSERT_TRUE(form->PopSetup->isEnabled());
    ASSERT_TRUE(form->TBtnSetup->isEnabled());
    dialogs.handlers.push_back([](QDialog& d) {
        auto& setup = dynamic_cast<TDlgSetup&>(d);
        setup.TabView->EditTitle->setText(QString::fromUtf8("予定"));
        setup.TabView->RadioStrWeek->setIndex(1);
        setup.TabMonth->ChkMonWeek->setChecked(true);
        setup.TabMonth->ChkSekki->setChecked(true);
        setup.TabMini->ChkMiniTrans->setChecked(true);
        setup.TabMini->TrackMiniTrans->setValue(20);
        setup.BtnOkClick();
        return setup.result();
    });
    form->PopSetup->trigger();
    QTest::qWait(10);
    ASSERT_EQ(dialogs.shownTitles.size(), 1u);
    EXPECT_EQ(dialogs.shownTitles[0], QString::fromUtf8("環境設定"));
    EXPECT_EQ(form->settings().strWeek, 1);
    EXPECT_EQ(form->settings().monWeek, 5);
    EXPECT_TRUE(form->settings().almanac.solarTerm && !form->settings().almanac.oldDate);
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("予定"));
    EXPECT_EQ(form->settings().miniOpacity(), kMinMiniOpacity);
    EXPECT_EQ(form->DayList->ListDaySch->columnWidth(3), 210) << "a width set since the start survives the reload";

    // Cancel changes nothing.
    dialogs.handlers.push_back([](QDialog& d) {
        auto& setup = dynamic_cast<TDlgSetup&>(d);
        setup.TabView->RadioStrWeek->setIndex(0);
        setup.reject();
        return setup.result();
    });
    form->TBtnSetup->trigger();
    EXPECT_EQ(form->settings().strWeek, 1);
}

TEST_F(SetupWindowFixture, AVersionChangeOpensTheDialogOnceAndOkClearsIt)
{
    home.write("Kalendra.ini", "[Kalendra]\r\nVer=2.00\r\n");
    dialogs.handlers.push_back([](QDialog& d) {
        auto& setup = dynamic_cast<TDlgSetup&>(d);
        setup.BtnOkClick();
        return setup.result();
    });
    form = std::make_unique<TForm1>(services, home.path());
    ASSERT_EQ(form->FormCreate(), 0);
    form->ShowAtStart();
    QTest::qWait(10);
    ASSERT_EQ(dialogs.shownTitles.size(), 1u);
    EXPECT_EQ(dialogs.shownTitles[0], QString::fromUtf8("Version 3.01 初期設定"));
    EXPECT_FALSE(form->state().versionChanged);
    IniFile ini(home.file("Kalendra.ini"));
    ini.load();
    EXPECT_EQ(ini.readString("Kalendra", "Ver", ""), "3.01");
}
