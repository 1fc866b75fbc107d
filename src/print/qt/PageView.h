// The printable area of the preview's page: paints the month page at the preview's
// resolution, shifted by the strips the printer cannot reach.
#pragma once

#include "print/qt/MonthPagePainter.h"

#include <QWidget>

namespace kal::qt {

class PageView : public QWidget {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    // `page` must outlive the view or be replaced before it goes.
    void setPage(const MonthPage* page, const PageFrame& frame, double dpi);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const MonthPage* page_ = nullptr;
    PageFrame frame_;
    double dpi_ = 96;
};

} // namespace kal::qt
