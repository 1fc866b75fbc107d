// The page routine: one month page on any painter (printer, PDF, preview, image), whose origin
// is the paper's top-left corner, at the given device pixels per inch.
#pragma once

#include "print/MonthPrint.h"
#include "print/PageLayout.h"

class QPainter;
class QPageLayout;

namespace kal::qt {

struct PageResolution {
    double x = 96;
    double y = 96;
};

void PaintMonthPage(QPainter& painter, const MonthPage& page, const PageFrame& frame, PageResolution dpi);

// The layout the routine uses, for the same page and paper (fonts measured unhinted).
PageLayout MonthPageLayout(const MonthPage& page, const PageFrame& frame);

// The paper of a page layout, oriented, with the strips the printer cannot reach.
PageFrame FrameOf(const QPageLayout& layout);

} // namespace kal::qt
