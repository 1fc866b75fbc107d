#include "print/qt/PageView.h"

#include <QPainter>

namespace kal::qt {

PageView::PageView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageView::setPage(const MonthPage* page, const PageFrame& frame, double dpi)
{
    page_ = page;
    frame_ = frame;
    dpi_ = dpi;
    update();
}

void PageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!page_)
        return;
    painter.translate(-UnitsToPixels(frame_.minLeft, dpi_), -UnitsToPixels(frame_.minTop, dpi_));
    PaintMonthPage(painter, *page_, frame_, {dpi_, dpi_});
}

} // namespace kal::qt
