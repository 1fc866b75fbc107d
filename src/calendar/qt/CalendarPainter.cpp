#include "calendar/qt/CalendarPainter.h"

#include "app/AppSettings.h"
#include "platform/qt/QtText.h"

#include <QIcon>
#include <QPainter>

namespace kal::qt {
namespace {

QFont styled(QFont font, const TextStyle& style)
{
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeout);
    return font;
}

QPixmap iconPixmap(const char* resource)
{
    return QIcon(resource).pixmap(16, 16);
}

} // namespace

CalendarPainter::CalendarPainter()
{
    memoIcon_ = iconPixmap(":/icons/memo.svg");
    todoIcons_[1] = iconPixmap(":/icons/todo-overdue.svg");
    todoIcons_[2] = iconPixmap(":/icons/todo-today.svg");
    todoIcons_[3] = iconPixmap(":/icons/todo-warning.svg");
    todoIcons_[4] = iconPixmap(":/icons/todo-normal.svg");
}

void CalendarPainter::setTodoIcon(int state, const QPixmap& pixmap)
{
    if (state >= 1 && state <= 4)
        todoIcons_[static_cast<std::size_t>(state)] = pixmap;
}

void CalendarPainter::paint(QPainter& painter, int column, int row, const QRect& rect, bool selected) const
{
    if (!build_ || !categories_)
        return;
    if (row == 0) {
        paintHeader(painter, column, rect);
        return;
    }
    CellPaint cell = PaintCell(build_->layout, build_->lists, *categories_, look_, today_, column, row);
    if (!cell.drawn) {
        painter.fillRect(rect, plain_);
        // The mini calendar has no grid lines.
        if (!mini_)
            paintBorder(painter, rect);
    } else if (mini_) {
        paintMiniDay(painter, cell, rect);
    } else {
        paintDay(painter, cell, rect);
    }
    if (selected)
        paintSelection(painter, rect);
}

QFont CalendarPainter::headerFont() const
{
    QFont font = look_.eraDates ? fonts_.window : fonts_.day;
    font.setBold(!look_.eraDates);
    font.setItalic(false);
    return font;
}

int CalendarPainter::headerHeight() const
{
    return headerTextTop() + QFontMetrics(headerFont()).height() + 1;
}

void CalendarPainter::paintHeader(QPainter& painter, int column, const QRect& rect) const
{
    HeaderForm form = mini_ ? HeaderForm::Mini : withPanel_ ? HeaderForm::Short : HeaderForm::Long;
    HeaderPaint header = PaintHeader(build_->layout, look_, column, form);
    painter.fillRect(rect, QColor(0xF0, 0xF0, 0xF0));
    painter.setFont(headerFont());
    painter.setPen(toQColor(header.textColor));
    QRect textRect = rect.adjusted(0, headerTextTop(), 0, 0);
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, fromSjis(header.text));
}

void CalendarPainter::paintDay(QPainter& painter, const CellPaint& cell, const QRect& rect) const
{
    painter.fillRect(rect, toQColor(cell.backColor));

    QFontMetrics dayMetrics(fonts_.day);
    const int dayHeight = dayMetrics.height();
    painter.setFont(fonts_.day);
    painter.setPen(toQColor(cell.textColor));
    painter.drawText(QPoint(rect.left() + 2, rect.top() - 2 + dayMetrics.ascent()), fromSjis(cell.dayText));

    if (!cell.rokuyo.empty()) {
        QFont rokuyoFont(fonts_.schedule.family());
        rokuyoFont.setPointSize(std::max(1, fonts_.window.pointSize() - 1));
        QFontMetrics rokuyoMetrics(rokuyoFont);
        painter.setFont(rokuyoFont);
        painter.setPen(toQColor(look_.textColor[ColRokuyo]));
        const int bottom = rect.top() - 2 + dayHeight;
        painter.drawText(QPoint(rect.left() + dayHeight + 6, bottom - rokuyoMetrics.descent()), fromSjis(cell.rokuyo));
    }

    int bandTop = rect.top() + dayHeight - 2;
    for (const CellBand& band : cell.bands) {
        if (bandTop > rect.bottom())
            break;
        QFont font = styled(fonts_.schedule, band.style);
        QFontMetrics metrics(font);
        const QString text = fromSjis(band.text);
        const int bandHeight = metrics.height();
        if (band.background)
            painter.fillRect(QRect(rect.left() + 2, bandTop, metrics.horizontalAdvance(text) + 3, bandHeight),
                             toQColor(*band.background));
        painter.setFont(font);
        painter.setPen(toQColor(band.textColor));
        painter.drawText(QPoint(rect.left() + 2, bandTop + metrics.ascent()), text);
        bandTop += bandHeight;
    }

    const int iconTop = rect.bottom() + 1 - 16;
    if (cell.memoIcon)
        painter.drawPixmap(rect.right() + 1 - 18, iconTop, memoIcon_);
    if (cell.todoIcon != TodoIcon::None) {
        int offset = cell.memoIcon ? 34 : 18;
        painter.drawPixmap(rect.right() + 1 - offset, iconTop, todoIcons_[static_cast<std::size_t>(cell.todoIcon)]);
    }

    paintBorder(painter, rect);
}

void CalendarPainter::paintBorder(QPainter& painter, const QRect& rect) const
{
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), toQColor(kCellBorderColor));
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), toQColor(kCellBorderColor));
}

void CalendarPainter::paintMiniDay(QPainter& painter, const CellPaint& cell, const QRect& rect) const
{
    painter.fillRect(rect, toQColor(cell.backColor));
    // The row (or the column, when narrower) sets the character height; two digits must still
    // fit the column with a gap, or neighbouring days run together.
    QFont font = fonts_.mini;
    int height = rect.height() < rect.width() ? rect.height() + 1 : rect.width() - 1;
    int pixels = std::max(6, height * 4 / 5);
    font.setPixelSize(pixels);
    while (pixels > 6 && QFontMetrics(font).horizontalAdvance("88") > rect.width() - 5)
        font.setPixelSize(--pixels);
    painter.setFont(font);
    painter.setPen(toQColor(cell.textColor));
    painter.drawText(rect, Qt::AlignCenter, fromSjis(cell.dayText).trimmed());
    if (cell.underline)
        painter.fillRect(QRect(rect.left() + 2, rect.bottom() - 1, rect.width() - 4, 1), toQColor(cell.textColor));
}

void CalendarPainter::paintSelection(QPainter& painter, const QRect& rect) const
{
    QPen pen(toQColor(look_.backColor[ColSelectedFrame]));
    pen.setWidth(2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect.left() + 2, rect.top() + 2, rect.width() - 3, rect.height() - 3));
}

} // namespace kal::qt
