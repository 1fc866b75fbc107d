#include "app/TSetupPageCalendar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kal {

TSetupMonthPage::TSetupMonthPage(QWidget* parent) : TSetupPage(parent)
{
    auto* layout = pageColumn(this);
    QVBoxLayout* cell = groupColumn("日付欄に表示する項目", this, layout);
    ChkHol1 = setupCheck("ChkHol1", "祝日(&1)", this);
    ChkHol2 = setupCheck("ChkHol2", "休日(&2)", this);
    ChkHol3 = setupCheck("ChkHol3", "記念日(&3)", this);
    ChkSch = setupCheck("ChkSch", "スケジュール(&4)", this);
    ChkCalStr = setupCheck("ChkCalStr", "    開始時刻(&5)", this);
    ChkCalPlace = setupCheck("ChkCalPlace", "    場所(&6)", this);
    ChkMemoUmu = setupCheck("ChkMemoUmu", "メモの有無(&7)", this);
    ChkTodoUmu = setupCheck("ChkTodoUmu", "ToDoの有無(&8)", this);
    ChkTodoDtl = setupCheck("ChkTodoDtl", "ToDoの件名(&9)", this);
    for (QWidget* w : {ChkHol1, ChkHol2, ChkHol3, ChkSch, ChkCalStr, ChkCalPlace, ChkMemoUmu, ChkTodoUmu, ChkTodoDtl})
        cell->addWidget(w);
    QVBoxLayout* rokuyo = groupColumn("表示する六曜", this, layout);
    auto* grid = new QGridLayout;
    rokuyo->addLayout(grid);
    const char* names[] = {"先勝", "友引", "先負", "仏滅", "大安", "赤口"};
    QCheckBox** boxes[] = {&ChkR1, &ChkR2, &ChkR3, &ChkR4, &ChkR5, &ChkR6};
    for (int i = 0; i < 6; ++i) {
        *boxes[i] = setupCheck(QString("ChkR%1").arg(i + 1).toLatin1().constData(), names[i], this);
        grid->addWidget(*boxes[i], i / 3, i % 3);
        connect(*boxes[i], &QCheckBox::toggled, this, &TSetupMonthPage::rikuyoChanged);
    }
    auto* almanac = new QHBoxLayout;
    groupColumn("六曜と並べて表示する暦（月間・週間・印刷）", this, layout)->addLayout(almanac);
    ChkKyureki = setupCheck("ChkKyureki", "旧暦の日付(&K)", this);
    ChkSekki = setupCheck("ChkSekki", "二十四節気(&S)", this);
    ChkZassetsu = setupCheck("ChkZassetsu", "雑節(&Z)", this);
    for (QWidget* w : {ChkKyureki, ChkSekki, ChkZassetsu})
        almanac->addWidget(w);
    ChkOtherMon = setupCheck("ChkOtherMon", "前月と翌月の日付を表示する。(&O)", this);
    ChkMonWeek = setupCheck("ChkMonWeek", "１ヶ月を５週表示にする。(&W)", this);
    layout->addWidget(ChkOtherMon);
    layout->addWidget(ChkMonWeek);
    connect(ChkSch, &QCheckBox::toggled, this, &TSetupMonthPage::updateEnabled);
}

FlagBoxes<CalViewFlag> TSetupMonthPage::calViewBoxes() const
{
    return {
        {CalViewFlag::Holidays, ChkHol1},    {CalViewFlag::DaysOff, ChkHol2},     {CalViewFlag::Anniversaries, ChkHol3},
        {CalViewFlag::Schedules, ChkSch},    {CalViewFlag::MemoMark, ChkMemoUmu}, {CalViewFlag::TodoMark, ChkTodoUmu},
        {CalViewFlag::StartTime, ChkCalStr}, {CalViewFlag::Place, ChkCalPlace},   {CalViewFlag::TodoTitle, ChkTodoDtl}};
}

FlagBoxes<RokuyoFlag> TSetupMonthPage::rikuyoBoxes() const
{
    return {{RokuyoFlag::Sensho, ChkR1},     {RokuyoFlag::Tomobiki, ChkR2}, {RokuyoFlag::Senbu, ChkR3},
            {RokuyoFlag::Butsumetsu, ChkR4}, {RokuyoFlag::Taian, ChkR5},    {RokuyoFlag::Shakko, ChkR6}};
}

void TSetupMonthPage::load(const AppSettings& s)
{
    showFlags(calViewBoxes(), s.calView);
    showFlags(rikuyoBoxes(), s.rikuyo);
    ChkKyureki->setChecked(s.almanac.oldDate);
    ChkSekki->setChecked(s.almanac.solarTerm);
    ChkZassetsu->setChecked(s.almanac.seasonalDays);
    ChkOtherMon->setChecked(s.otherMon == 1);
    ChkMonWeek->setChecked(s.monWeek == 5);
    updateEnabled();
}

void TSetupMonthPage::store(AppSettings& s) const
{
    takeFlags(calViewBoxes(), s.calView);
    takeFlags(rikuyoBoxes(), s.rikuyo);
    s.almanac = AlmanacFlags{ChkKyureki->isChecked(), ChkSekki->isChecked(), ChkZassetsu->isChecked()};
    s.otherMon = checkedFlag(ChkOtherMon->isChecked());
    s.monWeek = ChkMonWeek->isChecked() ? 5 : 6;
}

void TSetupMonthPage::updateEnabled()
{
    ChkCalStr->setEnabled(ChkSch->isChecked());
    ChkCalPlace->setEnabled(ChkSch->isChecked());
}

TSetupWeekPage::TSetupWeekPage(QWidget* parent) : TSetupPage(parent)
{
    auto* layout = pageColumn(this);
    QVBoxLayout* day = groupColumn("週間カレンダーに表示する項目", this, layout);
    ChkWeekHol1 = setupCheck("ChkWeekHol1", "祝日(&1)", this);
    ChkWeekHol2 = setupCheck("ChkWeekHol2", "休日(&2)", this);
    ChkWeekHol3 = setupCheck("ChkWeekHol3", "記念日(&3)", this);
    ChkWeekSch = setupCheck("ChkWeekSch", "スケジュール(&4)", this);
    ChkWeekStr = setupCheck("ChkWeekStr", "    開始時刻(&5)", this);
    ChkWeekEnd = setupCheck("ChkWeekEnd", "    終了時刻(&6)", this);
    ChkWeekPlace = setupCheck("ChkWeekPlace", "    場所(&7)", this);
    ChkWeekMemo = setupCheck("ChkWeekMemo", "メモ(&8)", this);
    ChkWeekTodo = setupCheck("ChkWeekTodo", "ToDoの件名(&9)", this);
    for (QWidget* w : {ChkWeekHol1, ChkWeekHol2, ChkWeekHol3, ChkWeekSch, ChkWeekStr, ChkWeekEnd, ChkWeekPlace,
                       ChkWeekMemo, ChkWeekTodo})
        day->addWidget(w);
    connect(ChkWeekSch, &QCheckBox::toggled, this, &TSetupWeekPage::updateEnabled);
}

FlagBoxes<WeekViewFlag> TSetupWeekPage::weekViewBoxes() const
{
    return {{WeekViewFlag::Holidays, ChkWeekHol1},      {WeekViewFlag::DaysOff, ChkWeekHol2},
            {WeekViewFlag::Anniversaries, ChkWeekHol3}, {WeekViewFlag::Schedules, ChkWeekSch},
            {WeekViewFlag::MemoText, ChkWeekMemo},      {WeekViewFlag::StartTime, ChkWeekStr},
            {WeekViewFlag::EndTime, ChkWeekEnd},        {WeekViewFlag::Place, ChkWeekPlace},
            {WeekViewFlag::TodoTitle, ChkWeekTodo}};
}

void TSetupWeekPage::load(const AppSettings& s)
{
    showFlags(weekViewBoxes(), s.weekView);
    updateEnabled();
}

void TSetupWeekPage::store(AppSettings& s) const
{
    takeFlags(weekViewBoxes(), s.weekView);
}

void TSetupWeekPage::updateEnabled()
{
    for (QCheckBox* box : {ChkWeekStr, ChkWeekEnd, ChkWeekPlace})
        box->setEnabled(ChkWeekSch->isChecked());
}

} // namespace kal
