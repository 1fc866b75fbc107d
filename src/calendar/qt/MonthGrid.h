// The calendar grid of the month view: a header row and the week rows of 7 columns.
#pragma once

#include "calendar/qt/CellGrid.h"

namespace kal::qt {

class MonthGrid : public CellGrid {
    Q_OBJECT
public:
    explicit MonthGrid(QWidget* parent = nullptr);

    // The shape: row 0 is the header; `rowCount` includes it.
    void setRowCount(int rowCount);
    void setHeaderHeight(int height);
    int headerHeight() const { return headerHeight_; }

    void relayout() override;

private:
    int rows_ = 7;
    int headerHeight_ = 16;
};

} // namespace kal::qt
