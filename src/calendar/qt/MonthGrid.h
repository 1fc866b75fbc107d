// The calendar grid of the month view: a header row and the week rows of 7 columns. Its
// selection is the selected cell of the month layout, kept while another view is shown.
#pragma once

#include "calendar/qt/CalendarView.h"
#include "calendar/qt/CellGrid.h"

namespace kal::qt {

class MonthGrid : public CellGrid, public CalendarView {
    Q_OBJECT
public:
    explicit MonthGrid(QWidget* parent = nullptr);

    // The shape: row 0 is the header; `rowCount` includes it.
    void setRowCount(int rowCount);
    void setHeaderHeight(int height);
    int headerHeight() const { return headerHeight_; }

    void relayout() override;

    CalendarViewMode mode() const override { return CalendarViewMode::Month; }
    CellGrid* grid() override { return this; }
    const ViewCaptions& captions() const override;
    bool stepsByYear() const override { return true; }
    bool showsMemoTexts(const AppSettings&) const override { return false; }
    // Its line width follows the display mode instead.
    void applyLook(const AppSettings&) override { }
    CellPos selectionAfterBuild(const MonthLayout& layout, const Date& selected,
                                const CellPos& previous) const override;
    std::optional<ViewMove> step(const MonthLayout& layout, const CalendarCursor& cursor, bool forward) const override;
    // The grid holds the selection already.
    void showSelection(const MonthLayout&, const CellPos&, bool) override { }
    CellPos layoutCell(int column, int row) const override { return CellPos{column, row}; }
    bool memoSelected() const override { return false; }
    void paintCell(const CalendarPainter& painter, QPainter& p, int column, int row, const QRect& rect,
                   bool selected) const override;

private:
    int rows_ = 7;
    int headerHeight_ = 16;
};

} // namespace kal::qt
