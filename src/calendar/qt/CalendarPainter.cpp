#include "calendar/qt/CalendarPainter.h"

#include "calendar/WeekView.h"
#include "calendar/qt/WeekGrid.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"
#include "settings/AppSettings.h"

#include <QPainter>
#include <QTextOption>

namespace kal::qt {
namespace {

const QColor kFixedCellColor(0xF0, 0xF0, 0xF0);
constexpr ColorValue kWeekBorderColor = 0x000000;

QFont styled(QFont font, const TextStyle& style)
{
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeout);
    return font;
}

void drawBorder(QPainter& painter, const QRect& rect, ColorValue color)
{
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), toQColor(color));
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), toQColor(color));
}

CellArea areaOf(const QRect& rect)
{
    return CellArea{rect.left(), rect.top(), rect.right(), rect.bottom()};
}

QRect rectOf(const CellArea& area)
{
    return QRect(QPoint(area.left, area.top), QPoint(area.right, area.bottom));
}

// Where the bands of a cell go: the first band's top, the pixels each band adds to the font's
// height and how far below its band's top the text stands.
struct BandPlacement {
    int top = 0;
    int extraHeight = 0;
    int textDown = 0;
};

// A line that does not fit the cell is left out whole and none is drawn over the marks; schedule
// and ToDo bands are as wide as their text plus 3 pixels.
void drawBands(QPainter& painter, const std::vector<CellBand>& bands, const QFont& base, const QRect& rect,
               const BandPlacement& place, const std::optional<CellArea>& marks = std::nullopt)
{
    std::vector<int> heights;
    for (const CellBand& band : bands)
        heights.push_back(QFontMetrics(styled(base, band.style)).height() + place.extraHeight);
    const std::vector<CellArea> areas = PlaceBands(areaOf(rect), place.top, heights, marks);
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const CellBand& band = bands[i];
        const QRect area = rectOf(areas[i]);
        const QFont font = styled(base, band.style);
        const QFontMetrics metrics(font);
        const QString text = fromSjis(band.text);
        painter.save();
        painter.setClipRect(area, Qt::IntersectClip);
        if (band.background)
            painter.fillRect(QRect(rect.left() + 2, area.top(), metrics.horizontalAdvance(text) + 3, area.height()),
                             toQColor(*band.background));
        painter.setFont(font);
        painter.setPen(toQColor(band.textColor));
        painter.drawText(QPoint(rect.left() + 2, area.top() + place.textDown + metrics.ascent()), text);
        painter.restore();
    }
}

// The almanac as far as it fits the width, left in the rokuyo's colour at `top`, and only where
// its whole line fits above `bottom`; the height taken.
int drawAlmanac(QPainter& painter, const std::vector<std::string>& items, const QFont& font, QColor color,
                QPoint topLeft, int width, int bottom)
{
    const QFontMetrics metrics(font);
    const std::string fitted = FitAlmanac(
        items, width, [&metrics](const std::string& text) { return metrics.horizontalAdvance(fromSjis(text)); });
    if (fitted.empty() || topLeft.y() + metrics.height() - 1 > bottom)
        return 0;
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QPoint(topLeft.x(), topLeft.y() + metrics.ascent()), fromSjis(fitted));
    return metrics.height();
}

} // namespace

CalendarPainter::CalendarPainter()
{
    memoIcon_ = resourcePixmap("memo");
    todoIcons_[1] = resourcePixmap("todo-overdue");
    todoIcons_[2] = resourcePixmap("todo-today");
    todoIcons_[3] = resourcePixmap("todo-warning");
    todoIcons_[4] = resourcePixmap("todo-normal");
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
            drawBorder(painter, rect, kCellBorderColor);
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
    painter.fillRect(rect, kFixedCellColor);
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
        // Within the day number's height: a larger desktop font would lift it above the cell.
        QFont font = rokuyoFont();
        for (int pixels = QFontInfo(font).pixelSize(); pixels > 6 && QFontMetrics(font).height() > dayHeight; --pixels)
            font.setPixelSize(pixels - 1);
        QFontMetrics rokuyoMetrics(font);
        painter.setFont(font);
        painter.setPen(toQColor(look_.textColor[ColRokuyo]));
        const int bottom = rect.top() - 2 + dayHeight;
        painter.drawText(QPoint(rect.left() + dayHeight + 6, bottom - rokuyoMetrics.descent()), fromSjis(cell.rokuyo));
    }

    int bandsTop = rect.top() + dayHeight - 2;
    bandsTop += drawAlmanac(painter, cell.almanac, rokuyoFont(), toQColor(look_.textColor[ColRokuyo]),
                            QPoint(rect.left() + 2, bandsTop), rect.width() - 4, rect.bottom());
    const CellMarks marks = PlaceMarks(areaOf(rect), cell.memoIcon, cell.todoIcon != TodoIcon::None);
    drawBands(painter, cell.bands, fonts_.schedule, rect, BandPlacement{bandsTop, 0, 0}, marks.area());

    if (marks.memo)
        painter.drawPixmap(marks.memo->left, marks.memo->top, memoIcon_);
    if (marks.todo)
        painter.drawPixmap(marks.todo->left, marks.todo->top, todoIcons_[static_cast<std::size_t>(cell.todoIcon)]);
    drawBorder(painter, rect, kCellBorderColor);
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

QFont CalendarPainter::rokuyoFont() const
{
    QFont font(fonts_.schedule.family());
    font.setPointSize(std::max(1, fonts_.window.pointSize() - 1));
    return font;
}

void CalendarPainter::paintWeek(QPainter& painter, int weekRow, int gridColumn, int gridRow, const QRect& rect,
                                bool selected) const
{
    if (!build_ || !categories_ || weekRow < 1 || weekRow > 6 || gridRow < 0 || gridRow > 6)
        return;
    const WeekDayPaint day = PaintWeekDay(build_->layout, build_->lists, *categories_, look_, today_, gridRow, weekRow);
    if (gridColumn == WeekGrid::kDateColumn) {
        paintWeekDate(painter, day, rect);
        return;
    }
    if (gridColumn == WeekGrid::kLinesColumn) {
        painter.fillRect(rect, toQColor(day.backColor));
        const int almanacHeight = drawAlmanac(painter, day.almanac, rokuyoFont(), toQColor(look_.textColor[ColRokuyo]),
                                              QPoint(rect.left() + 2, rect.top() + 2), rect.width() - 4, rect.bottom());
        drawBands(painter, day.bands, fonts_.week, rect, BandPlacement{rect.top() + 1 + almanacHeight, 1, 1});
    } else {
        paintWeekMemo(painter, build_->memoText(gridRow, weekRow), rect);
    }
    drawBorder(painter, rect, kWeekBorderColor);
    if (selected)
        paintSelection(painter, rect);
}

void CalendarPainter::paintWeekDate(QPainter& painter, const WeekDayPaint& day, const QRect& rect) const
{
    painter.fillRect(rect, kFixedCellColor);
    const int middle = rect.top() + rect.height() / 2;
    // Without a rokuyo below it the date moves down.
    const int lower = day.rokuyo.empty() ? 5 : 0;
    QFont font;
    int left = 0, top = 0;
    if (look_.eraDates) {
        font = QFont(fonts_.schedule.family());
        font.setPointSize(fonts_.window.pointSize());
        left = 9;
        top = middle - 10 + lower;
    } else {
        font = fonts_.day;
        font.setBold(true);
        font.setItalic(false);
        left = 6;
        top = middle - 12 + lower;
    }
    painter.setFont(font);
    painter.setPen(toQColor(day.dateColor));
    painter.drawText(QPoint(rect.left() + left, top + QFontMetrics(font).ascent()), fromSjis(day.dateText));
    if (day.rokuyo.empty())
        return;
    const QFont small = rokuyoFont();
    painter.setFont(small);
    painter.setPen(toQColor(look_.textColor[ColRokuyo]));
    painter.drawText(QPoint(rect.left() + 14, middle + 4 + QFontMetrics(small).ascent()), fromSjis(day.rokuyo));
}

void CalendarPainter::paintWeekMemo(QPainter& painter, const std::vector<std::string>& memo, const QRect& rect) const
{
    painter.fillRect(rect, toQColor(look_.backColor[ColMemoList]));
    if (memo.empty() || !look_.weekView.on(WeekViewFlag::MemoText))
        return;
    const QFontMetrics metrics(fonts_.window);
    const std::size_t shown = MemoLinesShown(memo.size(), rect.height(), metrics.height());
    QString text;
    for (std::size_t i = 0; i < shown; ++i)
        text += fromSjis(memo[i]) + '\n';
    painter.setFont(fonts_.window);
    painter.setPen(toQColor(look_.textColor[ColWeekday]));
    QTextOption wrap;
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(QRectF(rect.adjusted(2, 1, 0, 0)), text, wrap);
}

} // namespace kal::qt
