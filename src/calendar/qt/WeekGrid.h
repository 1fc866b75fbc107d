// The grid of the week view: 7 rows, one day each in the order of the week start, with the
// fixed date column, the lines column and the memo column.
#pragma once

#include "calendar/qt/CellGrid.h"

namespace kal::qt {

class WeekGrid : public CellGrid {
    Q_OBJECT
public:
    static constexpr int kDateColumn = 0;
    static constexpr int kLinesColumn = 1;
    static constexpr int kMemoColumn = 2;

    explicit WeekGrid(QWidget* parent = nullptr);

    // The rows that give up pixels when the height does not divide by 7.
    void setWeekendRows(int saturdayRow, int sundayRow);
    void setMemoColumn(bool shown);
    bool memoColumn() const { return memoColumn_; }

    void relayout() override;

private:
    int saturdayRow_ = 6;
    int sundayRow_ = 0;
    bool memoColumn_ = true;
};

} // namespace kal::qt
