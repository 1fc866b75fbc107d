#include "print/qt/MonthPagePainter.h"

#include "platform/qt/QtText.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kal::qt {
namespace {

constexpr double kDayLabelPoints = 11;
constexpr double kRokuyoPoints = 8;
constexpr double kHeaderPoints = 10;
constexpr double kCreationDatePoints = 11;
constexpr int kTitleDateGap = 200;

// Unhinted, so that glyphs scale with the resolution and every device sees the same text.
QFont pageFont(const std::string& utf8Name, const TextStyle& style)
{
    QFont font(fromUtf8(utf8Name));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeout);
    return font;
}

TextStyle styleOf(FontStyle style)
{
    return StyleOf(style, '0', '0');
}

TextStyle boldStyle()
{
    TextStyle style;
    style.bold = true;
    return style;
}

// Measures are taken at a large pixel size, so that they do not depend on any device.
constexpr int kMeasurePixels = 240;

int measuredUnits(double pixels, double points)
{
    return static_cast<int>(std::lround(PointUnits(points) * pixels / kMeasurePixels));
}

// The height of one line of a font, in units.
int lineUnits(QFont font, double points)
{
    font.setPixelSize(kMeasurePixels);
    return measuredUnits(QFontMetricsF(font).height(), points);
}

// The width of a text, in units.
int widthUnits(QFont font, double points, const QString& text)
{
    font.setPixelSize(kMeasurePixels);
    return measuredUnits(QFontMetricsF(font).horizontalAdvance(text), points);
}

const std::string& headerFontName(const MonthPage& page)
{
    return page.source.look.eraDates ? page.source.scheduleFont.name : page.source.dayFont.name;
}

PageLayoutInput layoutInput(const MonthPage& page, const PageFrame& frame)
{
    const PrintSettings& s = page.settings;
    const PrintSource& source = page.source;
    PageLayoutInput in;
    in.frame = frame;
    in.top = s.top;
    in.bottom = s.bottom;
    in.left = s.left;
    in.right = s.right;
    in.columns = s.columns();
    in.eraDates = source.look.eraDates;
    in.text.title = lineUnits(pageFont(s.titleFont.name, styleOf(s.titleFont.style)), s.titleFont.size);
    if (!page.creationDate.empty())
        in.text.creationDate = lineUnits(pageFont(source.scheduleFont.name, {}), kCreationDatePoints);
    in.text.header = lineUnits(pageFont(headerFontName(page), boldStyle()), kHeaderPoints);
    in.text.dayLabel = lineUnits(pageFont(source.dayFont.name, styleOf(source.dayFont.style)), kDayLabelPoints);
    in.text.line = lineUnits(pageFont(source.scheduleFont.name, styleOf(source.look.scheduleStyle)), s.fontSize);
    return in;
}

class PagePainter {
public:
    PagePainter(QPainter& painter, const MonthPage& page, const PageLayout& layout, PageResolution dpi)
        : p_(painter), page_(page), l_(layout), dpi_(dpi)
    {
    }

    void paint()
    {
        p_.save();
        p_.setBackgroundMode(Qt::TransparentMode);
        p_.setRenderHint(QPainter::TextAntialiasing);
        paintTitleBand();
        paintHeaderRow();
        paintWeekRows();
        paintBorders();
        p_.restore();
    }

private:
    int x(int units) const { return UnitsToPixels(units, dpi_.x); }
    int y(int units) const { return UnitsToPixels(units, dpi_.y); }
    QRect rect(int left, int top, int right, int bottom) const
    {
        return QRect(QPoint(x(left), y(top)), QPoint(x(right) - 1, y(bottom) - 1));
    }
    int gridLeft() const { return l_.columnEdges.front(); }
    int gridRight() const { return l_.columnEdges.back(); }

    void setFont(const std::string& utf8Name, double points, const TextStyle& style)
    {
        QFont font = pageFont(utf8Name, style);
        // Points at this page's resolution, whatever resolution the device reports.
        font.setPointSizeF(points * dpi_.y / p_.device()->logicalDpiY());
        p_.setFont(font);
    }
    void setColor(ColorValue color) { p_.setPen(toQColor(color)); }
    void text(const QRect& area, int flags, const std::string& sjisText)
    {
        p_.drawText(area, flags | Qt::TextSingleLine, fromSjis(sjisText));
    }

    void hLine(int atY, int fromX, int toX, int pen)
    {
        const int w = PenPixels(pen, dpi_.y);
        p_.fillRect(QRect(x(fromX) - w / 2, y(atY) - w / 2, x(toX) - x(fromX) + w, w), Qt::black);
    }
    void vLine(int atX, int fromY, int toY, int pen)
    {
        const int w = PenPixels(pen, dpi_.x);
        p_.fillRect(QRect(x(atX) - w / 2, y(fromY) - w / 2, w, y(toY) - y(fromY) + w), Qt::black);
    }

    // The title first, then the creation date at the right end of the band.
    void paintTitleBand()
    {
        const PrintSettings& s = page_.settings;
        int titleRight = gridRight();
        if (!page_.creationDate.empty()) {
            setFont(page_.source.scheduleFont.name, kCreationDatePoints, {});
            const double width = QFontMetricsF(p_.font(), p_.device()).horizontalAdvance(fromSjis(page_.creationDate));
            titleRight -= static_cast<int>(std::lround(width * kUnitsPerInch / dpi_.x)) + kTitleDateGap;
        }
        setFont(s.titleFont.name, s.titleFont.size, styleOf(s.titleFont.style));
        setColor(s.color && s.titleHasColor ? s.titleFont.color : kPrintBlack);
        text(rect(gridLeft(), l_.top, std::max(gridLeft(), titleRight), l_.titleBottom), Qt::AlignLeft | Qt::AlignTop,
             page_.title);
        if (!page_.creationDate.empty()) {
            setFont(page_.source.scheduleFont.name, kCreationDatePoints, {});
            setColor(kPrintBlack);
            const QRect area = rect(gridLeft(), l_.top, gridRight(), l_.titleBottom - kDateAboveRule);
            text(area, Qt::AlignRight | Qt::AlignBottom, page_.creationDate);
        }
    }

    void paintHeaderRow()
    {
        p_.fillRect(rect(gridLeft(), l_.headerTop, gridRight(), l_.headerBottom), toQColor(kHeaderBackground));
        setFont(headerFontName(page_), kHeaderPoints, boldStyle());
        const std::vector<int> columns = printedColumns();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            HeaderPaint header = PrintHeader(page_, columns[i]);
            setColor(header.textColor);
            text(rect(l_.columnEdges[i], l_.headerTop, l_.columnEdges[i + 1], l_.headerBottom), Qt::AlignCenter,
                 header.text);
        }
    }

    void paintWeekRows()
    {
        p_.fillRect(rect(gridLeft(), l_.rowTop(1), gridRight(), l_.rowBottom(6)), Qt::white);
        const std::vector<int> columns = printedColumns();
        for (int row = 1; row <= 6; ++row)
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const PrintedCell cell = PrintCell(page_, columns[i], row, i == 0);
                if (cell.drawn)
                    paintCell(cell, l_.columnEdges[i], l_.columnEdges[i + 1], row);
            }
    }

    void paintCell(const PrintedCell& cell, int left, int right, int row)
    {
        const PrintSource& source = page_.source;
        const int top = l_.rowTop(row);
        p_.save();
        // Nothing of a cell runs into its neighbours.
        p_.setClipRect(rect(left, top, right, l_.rowBottom(row)));
        p_.fillRect(rect(left, top, right, top + l_.dateBand), toQColor(cell.back));

        const QFont dayFont = pageFont(source.dayFont.name, styleOf(source.dayFont.style));
        setFont(source.dayFont.name, kDayLabelPoints, styleOf(source.dayFont.style));
        setColor(cell.dayColor);
        text(rect(left + kDayLabelIndent, top, right, top + l_.dateBand), Qt::AlignLeft | Qt::AlignVCenter,
             cell.dayLabel);

        if (!cell.rokuyo.empty()) {
            // Right of a long "mm/dd" label rather than over it.
            const int labelEnd =
                kDayLabelIndent + widthUnits(dayFont, kDayLabelPoints, fromSjis(cell.dayLabel)) + kDayLabelIndent;
            setFont(source.scheduleFont.name, kRokuyoPoints, {});
            setColor(cell.rokuyoColor);
            text(rect(left + std::max(kRokuyoIndent, labelEnd), top + kDayLabelIndent, right, top + l_.dateBand),
                 Qt::AlignLeft | Qt::AlignTop, cell.rokuyo);
        }

        const int first = paintAlmanac(cell, left, right, row) ? 1 : 0;
        const std::size_t count = std::min(cell.lines.size(), static_cast<std::size_t>(l_.linesPerCell - first));
        for (std::size_t k = 0; k < count; ++k) {
            const PrintLine& line = cell.lines[k];
            const int lineTop = l_.lineTop(row, static_cast<int>(k) + first);
            setFont(source.scheduleFont.name, page_.settings.fontSize, line.style);
            setColor(line.color);
            text(rect(left + kLineIndent, lineTop, right, lineTop + l_.lineBand), Qt::AlignLeft | Qt::AlignTop,
                 line.text);
        }
        p_.restore();
    }

    // The almanac on the first line as far as it fits the cell; whether anything was printed.
    bool paintAlmanac(const PrintedCell& cell, int left, int right, int row)
    {
        if (cell.almanac.empty() || l_.linesPerCell < 1)
            return false;
        const QFont font = pageFont(page_.source.scheduleFont.name, {});
        const double points = page_.settings.fontSize;
        const std::string fitted = FitAlmanac(cell.almanac, right - left - 2 * kLineIndent, [&](const std::string& t) {
            return widthUnits(font, points, fromSjis(t));
        });
        if (fitted.empty())
            return false;
        const int lineTop = l_.lineTop(row, 0);
        setFont(page_.source.scheduleFont.name, points, {});
        setColor(cell.rokuyoColor);
        text(rect(left + kLineIndent, lineTop, right, lineTop + l_.lineBand), Qt::AlignLeft | Qt::AlignTop, fitted);
        return true;
    }

    void paintBorders()
    {
        const int columns = l_.columns();
        hLine(l_.titleBottom, gridLeft(), gridRight(), 3);
        hLine(l_.headerTop, gridLeft(), gridRight(), 3);
        for (int row = 0; row <= 6; ++row) {
            const int top = row == 0 ? l_.headerTop : l_.rowTop(row);
            const int bottom = row == 0 ? l_.headerBottom : l_.rowBottom(row);
            if (row > 0)
                hLine(top, gridLeft(), gridRight(), row == 1 ? 2 : 1);
            for (int c = 0; c < columns; ++c)
                vLine(l_.columnEdges[static_cast<std::size_t>(c)], top, bottom, c == 0 ? 3 : 1);
            vLine(gridRight(), top, bottom, 3);
        }
        hLine(l_.rowBottom(6), gridLeft(), gridRight(), 3);
    }

    std::vector<int> printedColumns() const
    {
        return PrintedColumns(page_.source.build.layout.weekStart, page_.settings.noWeekend);
    }

    QPainter& p_;
    const MonthPage& page_;
    const PageLayout& l_;
    PageResolution dpi_;
};

} // namespace

PageLayout MonthPageLayout(const MonthPage& page, const PageFrame& frame)
{
    return LayOutPage(layoutInput(page, frame));
}

void PaintMonthPage(QPainter& painter, const MonthPage& page, const PageFrame& frame, PageResolution dpi)
{
    const PageLayout layout = MonthPageLayout(page, frame);
    PagePainter(painter, page, layout, dpi).paint();
}

PageFrame FrameOf(const QPageLayout& pageLayout)
{
    QPageLayout mm = pageLayout;
    mm.setUnits(QPageLayout::Millimeter);
    const QRectF paper = mm.fullRect();
    const QMarginsF minimum = mm.minimumMargins();
    PageFrame frame;
    frame.width = MmUnits(paper.width());
    frame.height = MmUnits(paper.height());
    frame.minLeft = MmUnits(minimum.left());
    frame.minTop = MmUnits(minimum.top());
    frame.minRight = MmUnits(minimum.right());
    frame.minBottom = MmUnits(minimum.bottom());
    return frame;
}

} // namespace kal::qt
