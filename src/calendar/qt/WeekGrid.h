// The grid of the week view: 7 rows, one day each in the order of the week start, with the
// fixed date column, the lines column and the memo column. It shows one week row of the month
// layout: the row of the selected cell.
#pragma once

#include "calendar/qt/CalendarView.h"
#include "calendar/qt/CellGrid.h"

namespace kal::qt {

class WeekGrid : public CellGrid, public CalendarView {
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
    // The shown week: the row of the month layout, 1 to 6.
    int weekRow() const { return weekRow_; }

    void relayout() override;

    CalendarViewMode mode() const override { return CalendarViewMode::Week; }
    CellGrid* grid() override { return this; }
    const ViewCaptions& captions() const override;
    bool stepsByYear() const override { return false; }
    bool showsMemoTexts(const AppSettings& settings) const override;
    void applyLook(const AppSettings& settings) override;
    CellPos selectionAfterBuild(const MonthLayout& layout, const Date& selected,
                                const CellPos& previous) const override;
    std::optional<ViewMove> step(const MonthLayout& layout, const CalendarCursor& cursor, bool forward) const override;
    void showSelection(const MonthLayout& layout, const CellPos& selected, bool entering) override;
    // Grid row r is the layout's column r.
    CellPos layoutCell(int, int row) const override { return CellPos{row, weekRow_}; }
    bool memoSelected() const override { return selectedColumn() == kMemoColumn; }
    void paintCell(const CalendarPainter& painter, QPainter& p, int column, int row, const QRect& rect,
                   bool selected) const override;

private:
    int saturdayRow_ = 6;
    int sundayRow_ = 0;
    bool memoColumn_ = true;
    int weekRow_ = 1;
};

} // namespace kal::qt
