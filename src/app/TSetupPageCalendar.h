// The pages "月間" (month cell contents, rokuyo, almanac, weeks) and "週間" (week-view day contents).
#pragma once

#include "app/TSetupPage.h"

class QCheckBox;

namespace kal {

class TSetupMonthPage : public TSetupPage {
    Q_OBJECT
public:
    explicit TSetupMonthPage(QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;
    void updateEnabled();

    QCheckBox *ChkHol1, *ChkHol2, *ChkHol3, *ChkSch, *ChkMemoUmu, *ChkTodoUmu, *ChkCalStr, *ChkCalPlace, *ChkTodoDtl;
    QCheckBox *ChkR1, *ChkR2, *ChkR3, *ChkR4, *ChkR5, *ChkR6;
    QCheckBox *ChkKyureki, *ChkSekki, *ChkZassetsu; // [Koyomi], for the month, the week and the print
    QCheckBox *ChkOtherMon, *ChkMonWeek;

    FlagBoxes<CalViewFlag> calViewBoxes() const;
    FlagBoxes<RokuyoFlag> rikuyoBoxes() const;

signals:
    void rikuyoChanged();
};

class TSetupWeekPage : public TSetupPage {
    Q_OBJECT
public:
    explicit TSetupWeekPage(QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;
    void updateEnabled();

    QCheckBox *ChkWeekHol1, *ChkWeekHol2, *ChkWeekHol3, *ChkWeekSch, *ChkWeekMemo, *ChkWeekStr, *ChkWeekEnd,
        *ChkWeekPlace, *ChkWeekTodo;

    FlagBoxes<WeekViewFlag> weekViewBoxes() const;
};

} // namespace kal
