// The schedule input dialog in its four modes, offscreen with the fake platform: the month
// files are checked byte for byte.
#include "schedule/TDlgSchInput.h"
#include "platform/qt/QtText.h"
#include "schedule/qt/CategoryItemDelegate.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/GuiInput.h"
#include "support/TempFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>

using namespace kal;
using namespace kal::test;

namespace {

std::string pad(const std::string& value, std::size_t width)
{
    return value + std::string(width - value.size(), ' ');
}

// A record line written out by hand: day, start, end, category, the four flag bytes, title, place.
std::string rec(const std::string& day, const std::string& start, const std::string& end, const std::string& category,
                const std::string& flags, const std::string& title, const std::string& place = {})
{
    std::string line = day + pad(start, 5) + pad(end, 5) + pad(category, 14) + flags;
    return place.empty() ? line + title : line + pad(title, 40) + place;
}

const std::string kWorkLine = "Work          1 0000025516777215";
const std::string kPrivateLine = sj("私用") + "          1 ";

struct SchInputFixture : ::testing::Test {
    TempFolder home;
    TempFolder data;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};

    void SetUp() override { writeSettings(1, 0); }

    void writeSettings(int alarm, int alarmTime)
    {
        home.write("Kalendra.ini", crlf({"[Kalendra]", "Ver=3.01", "[Sound]", "Alarm=" + std::to_string(alarm),
                                         "AlarmTime=" + std::to_string(alarmTime)}));
    }
    void writeCategories() { home.write("Category.tbl", crlf({kWorkLine, kPrivateLine})); }

    SchInputRequest request(SchInputMode mode, Date date = {2026, 12, 9}) const
    {
        SchInputRequest r{.follower = store::Follower::none()};
        r.mode = mode;
        r.dataPath = data.path();
        r.programFolder = home.path();
        r.date = date;
        return r;
    }
    SchInputRequest recordRequest(SchInputMode mode, const std::string& file, int index) const
    {
        SchInputRequest r = request(mode);
        r.record =
            ScheduleRef{data.file(file), index, files::loadLines(data.file(file)).at(static_cast<std::size_t>(index))};
        return r;
    }
    std::unique_ptr<TDlgSchInput> open(const SchInputRequest& r) { return std::make_unique<TDlgSchInput>(services, r); }

    static void fill(TDlgSchInput& d, const char* start, const char* end, const char* title, const char* place = "")
    {
        d.CmbStrhhmm->setEditText(QString::fromUtf8(start));
        d.CmbEndhhmm->setEditText(QString::fromUtf8(end));
        d.CmbTitle->setEditText(QString::fromUtf8(title));
        d.CmbPlace->setEditText(QString::fromUtf8(place));
    }
    static QStringList items(const QComboBox* combo)
    {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    }
    static bool hasFocus(const TDlgSchInput& d, const QWidget* field)
    {
        const QWidget* focus = d.focusWidget();
        return focus == field || (focus && focus->parentWidget() == field);
    }
};

} // namespace

static_assert(!std::is_default_constructible_v<SchInputRequest>, "a caller must name the follower");

TEST_F(SchInputFixture, NewModeWritesTheComposedRecordSortedIntoTheMonth)
{
    writeCategories();
    const std::string before = rec("05", "", "", "", "0000", "Early");
    const std::string after = rec("20", "08:00", "", "", "0000", "Late");
    data.write("202612.sch", crlf({before, after}));

    auto d = open(request(SchInputMode::New));
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("スケジュール新規登録"));
    EXPECT_EQ(d->DtpSchDate->date(), QDate(2026, 12, 9));
    EXPECT_FALSE(d->ChkRepeat->isHidden());
    EXPECT_TRUE(hasFocus(*d, d->CmbStrhhmm));
    EXPECT_EQ(d->CmbBunrui->currentIndex(), -1);

    fill(*d, "09:00", "10:00", "会議", "本社");
    d->CmbBunrui->setCurrentIndex(0);
    d->ChkBold->setChecked(true);
    d->ChkUnderline->setChecked(true);
    d->ChkAlarm->click();
    d->BtnOkClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(platform.messages.empty());
    const std::string added = rec("09", "09:00", "10:00", "Work", "2111", sj("会議"), sj("本社"));
    EXPECT_EQ(data.read("202612.sch"), crlf({before, added, after}));
}

TEST_F(SchInputFixture, StylesAndFlagsMapToTheirCodes)
{
    struct Case {
        bool bold, italic, underline, strikeout, message;
        const char* flags;
    };
    const Case cases[] = {
        {false, false, false, false, false, "0000"},
        {false, true, true, false, false, "1100"},
        {true, false, false, true, true, "2201"},
        {true, true, true, true, false, "3300"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        TempFolder folder;
        SchInputRequest r = request(SchInputMode::New, {2026, 1, 2});
        r.dataPath = folder.path();
        auto d = open(r);
        fill(*d, "12:00", "", "x");
        d->ChkBold->setChecked(c.bold);
        d->ChkItalic->setChecked(c.italic);
        d->ChkUnderline->setChecked(c.underline);
        d->ChkStrikeout->setChecked(c.strikeout);
        d->ChkMsg->setChecked(c.message);
        d->BtnOkClick();
        EXPECT_EQ(folder.read("202601.sch"), crlf({rec("02", "12:00", "", "", c.flags, "x")}));
    }
}

TEST_F(SchInputFixture, RowsComeFromThePickListsAndTheRecentMonths)
{
    writeCategories();
    {
        auto d = open(request(SchInputMode::New));
        EXPECT_EQ(d->CmbStrhhmm->count(), 27);
        EXPECT_EQ(d->CmbStrhhmm->itemText(1), "09:00");
        EXPECT_EQ(d->CmbEndhhmm->itemText(26), "23:00");
        EXPECT_TRUE(d->CmbStrhhmm->currentText().isEmpty());
        EXPECT_EQ(d->CmbTitle->count(), 0);
        EXPECT_EQ(d->CmbStrhhmm->maxVisibleItems(), 24);
        EXPECT_EQ(d->CmbTitle->maxVisibleItems(), 20);
        EXPECT_EQ(d->CmbBunrui->maxVisibleItems(), 16);
        ASSERT_EQ(d->CmbBunrui->count(), 2);
        EXPECT_EQ(d->CmbBunrui->itemText(1), QString::fromUtf8("私用"));
        EXPECT_EQ(d->CmbBunrui->itemData(0, qt::kCategoryLineRole).toByteArray().toStdString(), kWorkLine);
        EXPECT_NE(dynamic_cast<qt::CategoryItemDelegate*>(d->CmbBunrui->itemDelegate()), nullptr);
    }

    home.write("SchFrom.tbl", crlf({"08:30", "13:15 lunch"}));
    home.write("SchTo.tbl", "");
    home.write("SchTitle.tbl", crlf({"Visit", sj("会議")}));
    home.write("SchPlace.tbl", crlf({sj("本社")}));
    // This month and the one before give their titles and places; older months do not.
    data.write("202612.sch",
               crlf({rec("01", "", "", "", "0000", "visit"), rec("02", "", "", "", "0000", "Review", sj("本社")),
                     rec("03", "", "", "", "0000", "Audit  ", "Annex")}));
    data.write("202611.sch",
               crlf({rec("30", "", "", "", "0000", "Review"), rec("29", "", "", "", "0000", "Budget", "Hall")}));
    data.write("202610.sch", crlf({rec("01", "", "", "", "0000", "Old", "Cellar")}));
    auto d = open(request(SchInputMode::New));
    EXPECT_EQ(items(d->CmbStrhhmm), (QStringList{"08:30", "13:15"}));
    EXPECT_EQ(d->CmbEndhhmm->count(), 0);
    EXPECT_EQ(items(d->CmbTitle), (QStringList{"Visit", QString::fromUtf8("会議"), "Audit", "Budget", "Review"}));
    EXPECT_EQ(items(d->CmbPlace), (QStringList{QString::fromUtf8("本社"), "Annex", "Hall"}));
    EXPECT_TRUE(d->CmbTitle->currentText().isEmpty());
}

TEST_F(SchInputFixture, ValidationNamesTheFaultAndFocusesItsField)
{
    struct Case {
        const char* start;
        const char* end;
        const char* title;
        bool sound, message;
        const char* text;
        bool focusTitle;
    };
    const Case cases[] = {
        {"10:00", "09:00", "", false, false, "開始時刻 > 終了時刻", false},
        {"10:00", "", "", false, false, "内容が未入力です。", true},
        {"9:00", "", "x", true, false, "開始時刻は HH:MM形式(5桁)で入力して下さい。", false},
        {"", "", "x", false, true, "開始時刻は HH:MM形式(5桁)で入力して下さい。", false},
        {"25:00", "", "x", true, false, "開始時刻を正しく入力して下さい。", false},
        {"9:00 ", "", "x", false, true, "開始時刻を正しく入力して下さい。", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        platform.messages.clear();
        auto d = open(request(SchInputMode::New));
        fill(*d, c.start, c.end, c.title);
        if (c.sound)
            d->ChkAlarm->click();
        d->ChkMsg->setChecked(c.sound || c.message);
        d->CmbPlace->setFocus(); // away from every field at fault
        QSignalSpy finished(d.get(), &QDialog::finished);
        d->BtnOkClick();
        EXPECT_EQ(finished.count(), 0);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].caption, "入力エラー");
        EXPECT_EQ(platform.messages[0].text, c.text);
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
        EXPECT_TRUE(hasFocus(*d, c.focusTitle ? d->CmbTitle : d->CmbStrhhmm));
        EXPECT_FALSE(data.exists("202612.sch"));
    }
}

TEST_F(SchInputFixture, WithoutAlarmLooseTimesAreStoredAsTyped)
{
    auto d = open(request(SchInputMode::New));
    // An empty end passes the order check; a short start without an alarm is kept as it is.
    fill(*d, "9:00", "", "Visit  ");
    d->BtnOkClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(data.read("202612.sch"), crlf({rec("09", "9:00", "", "", "0000", "Visit  ")}));
}

TEST_F(SchInputFixture, SoundForcesTheMessageAndAlarmSettingsShape)
{
    writeSettings(1, 5);
    auto d = open(request(SchInputMode::New));
    EXPECT_EQ(d->GroupAlarm->title(), QString::fromUtf8("開始5分前にアラーム(&A)"));
    EXPECT_TRUE(d->ChkAlarm->isEnabled());
    d->ChkAlarm->click();
    EXPECT_TRUE(d->ChkMsg->isChecked());
    EXPECT_FALSE(d->ChkMsg->isEnabled());
    d->ChkAlarm->click();
    EXPECT_FALSE(d->ChkMsg->isChecked());
    EXPECT_TRUE(d->ChkMsg->isEnabled());

    writeSettings(0, 0);
    auto off = open(request(SchInputMode::New));
    EXPECT_EQ(off->GroupAlarm->title(), QString::fromUtf8("アラーム(&A)"));
    EXPECT_FALSE(off->ChkAlarm->isEnabled());
    EXPECT_FALSE(off->ChkMsg->isEnabled());
    fill(*off, "10:00", "", "x");
    off->BtnOkClick();
    EXPECT_EQ(data.read("202612.sch"), crlf({rec("09", "10:00", "", "", "0000", "x")}));
}

TEST_F(SchInputFixture, CorrectShowsTheRecordAndReplacesItsLine)
{
    writeCategories();
    const std::string first = rec("03", "", "", "", "0000", "First");
    const std::string target = rec("09", "09:00", "10:00", "Work", "3211", sj("会議"), sj("本社"));
    data.write("202612.sch", crlf({first, target}));
    auto d = open(recordRequest(SchInputMode::Correct, "202612.sch", 1));
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("スケジュール訂正"));
    EXPECT_TRUE(d->ChkRepeat->isHidden());
    EXPECT_EQ(d->DtpSchDate->date(), QDate(2026, 12, 9));
    EXPECT_EQ(d->CmbStrhhmm->currentText(), "09:00");
    EXPECT_EQ(d->CmbEndhhmm->currentText(), "10:00");
    EXPECT_EQ(d->CmbTitle->currentText(), QString::fromUtf8("会議"));
    EXPECT_EQ(d->CmbPlace->currentText(), QString::fromUtf8("本社"));
    EXPECT_EQ(d->CmbBunrui->currentIndex(), 0);
    EXPECT_TRUE(d->ChkBold->isChecked() && d->ChkItalic->isChecked());
    EXPECT_TRUE(d->ChkStrikeout->isChecked());
    EXPECT_FALSE(d->ChkUnderline->isChecked());
    EXPECT_TRUE(d->ChkAlarm->isChecked() && d->ChkMsg->isChecked());
    EXPECT_FALSE(d->ChkMsg->isEnabled());

    d->DtpSchDate->setDate(QDate(2026, 12, 1));
    d->CmbTitle->setEditText(QString::fromUtf8("定例会議"));
    d->BtnOkClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FALSE(d->writeFailed());
    EXPECT_EQ(data.read("202612.sch"),
              crlf({rec("01", "09:00", "10:00", "Work", "3211", sj("定例会議"), sj("本社")), first}));
}

TEST_F(SchInputFixture, CorrectingToAnotherMonthMovesTheRecord)
{
    const std::string stays = rec("01", "", "", "", "0000", "Stays");
    const std::string moves = rec("15", "14:00", "", "", "0000", "Moves");
    data.write("202612.sch", crlf({stays, moves}));
    auto d = open(recordRequest(SchInputMode::Correct, "202612.sch", 1));
    d->DtpSchDate->setDate(QDate(2027, 1, 4));
    d->BtnOkClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(data.read("202612.sch"), crlf({stays}));
    EXPECT_EQ(data.read("202701.sch"), crlf({rec("04", "14:00", "", "", "0000", "Moves")}));
}

TEST_F(SchInputFixture, CorrectingWithAlarmsOffKeepsTheRecordsFlags)
{
    writeSettings(0, 0);
    const std::string flagged = rec("09", "09:00", "", "", "0011", "Alarm");
    data.write("202612.sch", crlf({flagged}));
    auto d = open(recordRequest(SchInputMode::Correct, "202612.sch", 0));
    EXPECT_TRUE(d->ChkAlarm->isChecked());
    EXPECT_TRUE(d->ChkMsg->isChecked());
    EXPECT_FALSE(d->ChkAlarm->isEnabled());
    EXPECT_FALSE(d->ChkMsg->isEnabled());
    d->CmbPlace->setEditText("Hall");
    d->BtnOkClick();
    EXPECT_EQ(data.read("202612.sch"), crlf({rec("09", "09:00", "", "", "0011", "Alarm", "Hall")}));
}

TEST_F(SchInputFixture, ACorrectionFindsItsRecordByTextWhenTheFileChangedMeanwhile)
{
    const std::string a = rec("09", "09:00", "", "", "0000", "A");
    const std::string b = rec("10", "09:00", "", "", "0000", "B");
    data.write("202612.sch", crlf({a, b}));
    auto d = open(recordRequest(SchInputMode::Correct, "202612.sch", 1));
    // Someone else removes the first line: the index now names nothing, the text still names B.
    data.write("202612.sch", crlf({b}));
    d->CmbTitle->setEditText("B2");
    d->BtnOkClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(data.read("202612.sch"), crlf({rec("10", "09:00", "", "", "0000", "B2")}));
}

TEST_F(SchInputFixture, CorrectingARecordNoLongerThereWritesWhatWasTyped)
{
    const std::string other = rec("01", "", "", "", "0000", "Other");
    const std::string gone = rec("09", "09:00", "", "", "0000", "Gone");
    struct Case {
        const char* name;
        bool goneBeforeOpening;
    };
    for (const Case& c : {Case{"before the dialog opened", true}, Case{"while the dialog was open", false}}) {
        SCOPED_TRACE(c.name);
        platform.messages.clear();
        data.write("202612.sch", crlf({other, gone}));
        SchInputRequest r = recordRequest(SchInputMode::Correct, "202612.sch", 1);
        if (c.goneBeforeOpening)
            data.write("202612.sch", crlf({other}));
        auto d = open(r);
        if (!c.goneBeforeOpening)
            data.write("202612.sch", crlf({other}));
        fill(*d, "11:00", "", "Typed");
        d->BtnOkClick();
        EXPECT_EQ(d->result(), QDialog::Accepted);
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(data.read("202612.sch"), crlf({other, rec("09", "11:00", "", "", "0000", "Typed")}));
    }
}

TEST_F(SchInputFixture, ARepeatThatCannotWriteEveryMonthWritesNoneAndAsksForARebuild)
{
    const std::string kept = rec("15", "", "", "", "0000", "Kept");
    data.write("202604.sch", crlf({kept}));
    ::chmod(data.file("202604.sch").c_str(), 0444);
    auto d = open(request(SchInputMode::New, {2026, 3, 30}));
    fill(*d, "09:00", "", "x");
    d->ChkRepeat->setChecked(true);
    d->SpinDay->setValue(4);
    d->BtnOkClick();
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_TRUE(d->writeFailed());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find("読み取り専用のファイルです。"), std::string::npos);
    EXPECT_FALSE(data.exists("202603.sch"));
    EXPECT_EQ(data.read("202604.sch"), crlf({kept}));
    // Pressing OK again after the user made the file writable writes each occurrence once.
    ::chmod(data.file("202604.sch").c_str(), 0644);
    d->BtnOkClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    auto line = [](const char* day) { return rec(day, "09:00", "", "", "0000", "x"); };
    EXPECT_EQ(data.read("202603.sch"), crlf({line("30"), line("31")}));
    EXPECT_EQ(data.read("202604.sch"), crlf({line("01"), line("02"), kept}));
}

TEST_F(SchInputFixture, CopyAddsALineAndLeavesTheOriginal)
{
    const std::string original = rec("09", "09:00", "", "", "0000", "Copied", "Hall");
    data.write("202612.sch", crlf({original}));
    {
        auto d = open(recordRequest(SchInputMode::Copy, "202612.sch", 0));
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8("スケジュール複写"));
        EXPECT_EQ(d->LabelComent->text(), QString::fromUtf8("コピー先の日付を入力して下さい。"));
        EXPECT_TRUE(d->ChkRepeat->isHidden());
        d->BtnOkClick();
        EXPECT_EQ(d->result(), QDialog::Accepted);
        EXPECT_EQ(data.read("202612.sch"), crlf({original, original}));
    }
    auto d = open(recordRequest(SchInputMode::Copy, "202612.sch", 1));
    d->DtpSchDate->setDate(QDate(2027, 2, 3));
    d->BtnOkClick();
    EXPECT_EQ(data.read("202612.sch"), crlf({original, original}));
    EXPECT_EQ(data.read("202702.sch"), crlf({rec("03", "09:00", "", "", "0000", "Copied", "Hall")}));
}

TEST_F(SchInputFixture, ARecordNoLongerThereLeavesTheFieldsEmpty)
{
    data.write("202612.sch", crlf({rec("09", "09:00", "", "", "0000", "Now")}));
    SchInputRequest r = request(SchInputMode::Copy);
    r.record = ScheduleRef{data.file("202612.sch"), 0, rec("09", "09:00", "", "", "0000", "Then")};
    auto d = open(r);
    EXPECT_TRUE(d->CmbTitle->currentText().isEmpty());
    EXPECT_TRUE(d->CmbStrhhmm->currentText().isEmpty());
    EXPECT_EQ(d->DtpSchDate->date(), QDate(2026, 12, 9));
}

TEST_F(SchInputFixture, ATodoBecomesAScheduleWithItsTitleAndCategory)
{
    writeCategories();
    SchInputRequest r = request(SchInputMode::FromTodo, {2027, 3, 31});
    r.title = sj("見積書を送る");
    r.categoryIndex = 1;
    auto d = open(r);
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("ToDoをスケジュールにコピー"));
    EXPECT_TRUE(d->ChkRepeat->isHidden());
    EXPECT_EQ(d->CmbTitle->currentText(), QString::fromUtf8("見積書を送る"));
    EXPECT_EQ(d->CmbBunrui->currentIndex(), 1);
    d->BtnOkClick();
    EXPECT_EQ(data.read("202703.sch"), crlf({rec("31", "", "", sj("私用"), "0000", sj("見積書を送る"))}));

    r.categoryIndex = -1;
    EXPECT_EQ(open(r)->CmbBunrui->currentIndex(), -1);
}

TEST_F(SchInputFixture, RepeatGroupDefaultsAndLinkedPeriodControls)
{
    platform.setToday(2026, 12, 8); // a Tuesday
    auto d = open(request(SchInputMode::New, {2027, 3, 30}));
    EXPECT_TRUE(d->GroupRepeat->isHidden());
    EXPECT_EQ(d->DtpFromSch->date(), QDate(2027, 3, 30));
    EXPECT_EQ(d->DtpToSch->date(), QDate(2027, 3, 30));
    EXPECT_EQ(d->SpinDay->value(), 1);
    EXPECT_EQ(d->SpinDay->minimum(), 1);
    EXPECT_EQ(d->SpinDay->maximum(), 99);
    EXPECT_TRUE(d->RadioAllDay->isChecked());
    EXPECT_EQ(d->CmbDateDay->count(), 31);
    EXPECT_EQ(d->CmbDateDay->currentText(), QString::fromUtf8("8日"));
    EXPECT_EQ(d->CmbWeekNo->currentText(), QString::fromUtf8("毎週"));
    EXPECT_EQ(d->CmbWeek->currentText(), QString::fromUtf8("火曜日"));
    EXPECT_TRUE(d->SpinDay->isEnabled());
    EXPECT_FALSE(d->CmbDateDay->isEnabled());
    EXPECT_FALSE(d->CmbWeek->isEnabled());

    d->ChkRepeat->setChecked(true);
    EXPECT_FALSE(d->GroupRepeat->isHidden());
    d->RadioWeek->setChecked(true);
    EXPECT_FALSE(d->SpinDay->isEnabled());
    EXPECT_FALSE(d->CmbDateDay->isEnabled());
    EXPECT_TRUE(d->CmbWeekNo->isEnabled() && d->CmbWeek->isEnabled());
    d->RadioDate->setChecked(true);
    EXPECT_TRUE(d->CmbDateDay->isEnabled());
    EXPECT_FALSE(d->CmbWeekNo->isEnabled());

    d->SpinDay->setValue(4);
    EXPECT_EQ(d->DtpToSch->date(), QDate(2027, 4, 2));
    d->DtpFromSch->setDate(QDate(2027, 4, 10)); // past the last day: the last day follows
    EXPECT_EQ(d->DtpToSch->date(), QDate(2027, 4, 10));
    EXPECT_EQ(d->SpinDay->value(), 1);
    d->DtpFromSch->setDate(QDate(2027, 1, 1));
    d->DtpToSch->setDate(QDate(2027, 5, 30)); // 150 days
    EXPECT_EQ(d->SpinDay->value(), 99);
    EXPECT_EQ(d->DtpToSch->date(), QDate(2027, 5, 30));

    d->ChkRepeat->setChecked(false);
    EXPECT_TRUE(d->GroupRepeat->isHidden());
}

TEST_F(SchInputFixture, RepeatingEveryDayWritesEachOccurrence)
{
    auto d = open(request(SchInputMode::New, {2026, 3, 30}));
    fill(*d, "09:00", "", "朝会");
    d->ChkRepeat->setChecked(true);
    d->SpinDay->setValue(4);
    d->BtnOkClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    auto line = [](const char* day) { return rec(day, "09:00", "", "", "0000", sj("朝会")); };
    EXPECT_EQ(data.read("202603.sch"), crlf({line("30"), line("31")}));
    EXPECT_EQ(data.read("202604.sch"), crlf({line("01"), line("02")}));
}

TEST_F(SchInputFixture, RepeatingByWeekOfMonthKeepsToThePeriod)
{
    auto d = open(request(SchInputMode::New, {2026, 4, 20}));
    fill(*d, "", "", "Board", "Hall");
    d->ChkRepeat->setChecked(true);
    d->DtpToSch->setDate(QDate(2026, 6, 30));
    d->RadioWeek->setChecked(true);
    d->CmbWeekNo->setCurrentIndex(1); // 第1
    d->CmbWeek->setCurrentIndex(1);   // 月曜日
    d->BtnOkClick();
    // The first Monday of April (the 6th) lies before the period and is not written.
    EXPECT_FALSE(data.exists("202604.sch"));
    EXPECT_EQ(data.read("202605.sch"), crlf({rec("04", "", "", "", "0000", "Board", "Hall")}));
    EXPECT_EQ(data.read("202606.sch"), crlf({rec("01", "", "", "", "0000", "Board", "Hall")}));

    TempFolder rentData;
    SchInputRequest rent = request(SchInputMode::New, {2026, 1, 1});
    rent.dataPath = rentData.path();
    auto monthly = open(rent);
    fill(*monthly, "", "", "Rent");
    monthly->ChkRepeat->setChecked(true);
    monthly->DtpToSch->setDate(QDate(2026, 5, 31));
    monthly->RadioDate->setChecked(true);
    monthly->CmbDateDay->setCurrentIndex(30); // 31日
    monthly->BtnOkClick();
    for (const char* file : {"202601.sch", "202603.sch", "202605.sch"})
        EXPECT_EQ(rentData.read(file), crlf({rec("31", "", "", "", "0000", "Rent")})) << file;
    EXPECT_FALSE(rentData.exists("202602.sch"));
    EXPECT_FALSE(rentData.exists("202604.sch"));
}

TEST_F(SchInputFixture, AWriteFailureIsShownAndTheDialogStaysOpen)
{
    SchInputRequest r = request(SchInputMode::New);
    r.dataPath = data.file("gone/");
    for (bool repeat : {false, true}) {
        SCOPED_TRACE(repeat);
        platform.messages.clear();
        auto d = open(r);
        fill(*d, "", "", "x");
        d->ChkRepeat->setChecked(repeat);
        QSignalSpy finished(d.get(), &QDialog::finished);
        d->BtnOkClick();
        EXPECT_EQ(finished.count(), 0);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].caption, "スケジュール更新");
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
        const std::string lead = "スケジュールを保存できません。\r\n";
        EXPECT_EQ(platform.messages[0].text.rfind(lead, 0), 0u);
        EXPECT_GT(platform.messages[0].text.size(), lead.size());
    }
}

TEST_F(SchInputFixture, EndTimeDropDownStartsAtTheStartTime)
{
    auto d = open(request(SchInputMode::New));
    d->CmbStrhhmm->setEditText("10:00");
    d->CmbEndhhmm->showPopup();
    d->CmbEndhhmm->hidePopup();
    EXPECT_EQ(d->CmbEndhhmm->currentText(), "10:00");
    d->CmbEndhhmm->setEditText("11:30");
    d->CmbEndhhmmDropDown();
    EXPECT_EQ(d->CmbEndhhmm->currentText(), "11:30");
    d->CmbEndhhmm->setEditText("09:00");
    d->CmbEndhhmmDropDown();
    EXPECT_EQ(d->CmbEndhhmm->currentText(), "10:00");
}

TEST_F(SchInputFixture, FieldsTakeOnlyWhatTheRecordCanHold)
{
    auto d = open(request(SchInputMode::New));
    QTest::keyClicks(d->CmbStrhhmm->lineEdit(), "10:000");
    EXPECT_EQ(d->CmbStrhhmm->currentText(), "10:00");
    typeText(d->CmbEndhhmm->lineEdit(), QString::fromUtf8("１２３"));
    EXPECT_EQ(d->CmbEndhhmm->currentText(), QString::fromUtf8("１２")); // five bytes hold two
    QTest::keyClicks(d->CmbTitle->lineEdit(), QString(41, 'a'));
    EXPECT_EQ(d->CmbTitle->currentText(), QString(40, 'a'));
    typeText(d->CmbPlace->lineEdit(), QString::fromUtf8("Café 本社"));
    EXPECT_EQ(d->CmbPlace->currentText(), QString::fromUtf8("Caf 本社"));
    EXPECT_TRUE(d->CmbStrhhmm->lineEdit()->inputMethodHints() & Qt::ImhPreferLatin);
}

TEST_F(SchInputFixture, ADayTypedThroughTheInputMethodIsTheDayWritten)
{
    auto d = open(request(SchInputMode::New));
    d->show();
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
    d->DtpSchDate->setFocus();
    d->DtpSchDate->setSelectedSection(QDateTimeEdit::DaySection);
    typeText(d->DtpSchDate, QString::fromUtf8("２４"));
    fill(*d, "", "", "party");
    d->BtnOkClick();
    EXPECT_EQ(data.read("202612.sch"), crlf({rec("24", "", "", "", "0000", "party")}));
}

TEST_F(SchInputFixture, TheCategoryButtonReloadsTheRowsAfterOk)
{
    writeCategories();
    auto d = open(request(SchInputMode::New));
    d->CmbBunrui->setCurrentIndex(1);
    dialogs.handlers.push_back([this](QDialog&) {
        home.write("Category.tbl", crlf({kPrivateLine, kWorkLine, "Travel        1 "}));
        return int(QDialog::Accepted);
    });
    d->BtnCatClick();
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgCatSet");
    EXPECT_EQ(items(d->CmbBunrui), (QStringList{QString::fromUtf8("私用"), "Work", "Travel"}));
    EXPECT_EQ(d->CmbBunrui->currentIndex(), -1);

    d->CmbBunrui->setCurrentIndex(2);
    home.write("Category.tbl", crlf({kWorkLine}));
    d->BtnCatClick(); // cancelled: nothing reloaded
    EXPECT_EQ(d->CmbBunrui->count(), 3);
    EXPECT_EQ(d->CmbBunrui->currentIndex(), 2);
    fill(*d, "", "", "Trip");
    d->BtnOkClick();
    EXPECT_EQ(data.read("202612.sch"), crlf({rec("09", "", "", "Travel", "0000", "Trip")}));
}
