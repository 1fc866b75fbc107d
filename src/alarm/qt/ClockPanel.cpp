#include "alarm/qt/ClockPanel.h"

#include "platform/qt/QtText.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <qdrawutil.h>

#include <algorithm>
#include <utility>

namespace kal::qt {

namespace {

constexpr int kPanelHeight = 26;
constexpr int kDigitsHeight = 22;
// Wide enough for the last cell's digit (x 300 + 13); the nominal 302 would clip it.
constexpr int kDigitsWidth = clock::kCellCount * clock::kCellWidth;
// The single border of the graphic look; the cells start inside it.
constexpr int kBorder = 1;
constexpr int kTextFallbackSize = 14;
constexpr int kTextIndent = 4;

QFont labelFont(int pixelSize)
{
    QFont font("Arial");
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

void setColors(QWidget& widget, const QColor& text, const QColor& back)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, back);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A label's place on the clock at full size, and its bold font's pixel size.
struct LabelPlace {
    int x, width, fontPixels;
};

int scaled(int length, double scale)
{
    return static_cast<int>(length * scale + 0.5);
}

// The clock is one label to assistive tools, read as words; its digits and labels are not read
// one by one.
class ClockAccessible : public QAccessibleWidget {
public:
    explicit ClockAccessible(QWidget* clock) : QAccessibleWidget(clock, QAccessible::StaticText) { }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
};

QAccessibleInterface* clockFactory(const QString&, QObject* object)
{
    auto* clock = qobject_cast<ClockPanel*>(object);
    return clock ? new ClockAccessible(clock) : nullptr;
}

} // namespace

ClockDigits::ClockDigits(QWidget* parent) : QLabel(parent)
{
    setObjectName("LabelClock");
    cells_.fill(clock::Glyph::Blank);
}

void ClockDigits::setColors(const QColor& date, const QColor& time, const QColor& background)
{
    date_ = date;
    time_ = time;
    background_ = background;
    update();
}

void ClockDigits::setScale(double scale)
{
    scale_ = scale;
    update();
}

void ClockDigits::setGlyph(int cell, clock::Glyph glyph)
{
    if (cell < 0 || cell >= clock::kCellCount)
        return;
    cells_[static_cast<std::size_t>(cell)] = glyph;
    update();
}

clock::Glyph ClockDigits::glyphAt(int cell) const
{
    if (cell < 0 || cell >= clock::kCellCount)
        return clock::Glyph::Blank;
    return cells_[static_cast<std::size_t>(cell)];
}

QColor ClockDigits::segmentColor(int cell, int segment) const
{
    clock::CellGroup group = clock::cellGroup(cell);
    if (group == clock::CellGroup::Label || segment < 1 || segment > clock::kSegmentCount)
        return background_;
    if (!clock::segmentsOf(glyphAt(cell))[static_cast<std::size_t>(segment - 1)])
        return background_;
    return group == clock::CellGroup::Date ? date_ : time_;
}

void ClockDigits::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    painter.setRenderHint(QPainter::Antialiasing, scale_ < 1);
    painter.scale(scale_, scale_);
    painter.setPen(QPen(background_, 1));
    for (int cell = 0; cell < clock::kCellCount; ++cell)
        if (clock::cellGroup(cell) != clock::CellGroup::Label)
            paintCell(painter, cell);
}

void ClockDigits::paintCell(QPainter& painter, int cell) const
{
    for (int segment = 1; segment <= clock::kSegmentCount; ++segment) {
        QPolygon polygon;
        for (const clock::SegmentPoint& point : clock::segmentPolygon(segment))
            polygon << QPoint(clock::cellX(cell) + point.x, point.y);
        painter.setBrush(segmentColor(cell, segment));
        painter.drawPolygon(polygon);
    }
}

ClockPanel::ClockPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName("PanelClock");
    setFixedHeight(kPanelHeight);
    static const bool accessible = (QAccessible::installFactory(clockFactory), true);
    (void)accessible;

    LabelClock = new ClockDigits(this);
    LabelWeek = makeLabel(this, "LabelWeek", "SUN");
    LabelAmPm = makeLabel(this, "LabelAmPm", "AM");
    LabelCol1 = makeLabel(this, "LabelCol1", ":");
    LabelCol2 = makeLabel(this, "LabelCol2", ":");
    // Weekday and AM/PM sit on the digits' baseline.
    for (QLabel* label : {LabelWeek, LabelAmPm}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->setContentsMargins(0, 0, 0, 1);
    }
    placeFace();

    applyLook(look_);
}

void ClockPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    placeFace();
}

void ClockPanel::placeFace()
{
    const double scale = std::min(1.0, static_cast<double>(width() - 2 * kBorder) / kDigitsWidth);
    const int height = scaled(kDigitsHeight, scale);
    const int top = (kPanelHeight - height) / 2;
    LabelClock->setGeometry(kBorder, top, scaled(kDigitsWidth, scale), height);
    LabelClock->setScale(scale);
    const std::pair<QLabel*, LabelPlace> labels[] = {
        {LabelWeek, {152, 26, 12}},
        {LabelAmPm, {178, 17, 10}},
        {LabelCol1, {225, clock::kCellWidth, 18}},
        {LabelCol2, {270, clock::kCellWidth, 18}},
    };
    for (const auto& [label, place] : labels) {
        label->setGeometry(kBorder + scaled(place.x, scale), top, scaled(place.width, scale), height);
        label->setFont(labelFont(std::max(1, scaled(place.fontPixels, scale))));
    }
}

void ClockPanel::applyLook(const ClockLook& look)
{
    look_ = look;
    setPalette(QPalette());
    setAutoFillBackground(false);
    if (isTextClock())
        applyTextLook();
    else
        applyGraphicLook();
    if (shown_)
        tick(*shown_);
    update();
}

void ClockPanel::applyTextLook()
{
    // The bevels are painted by paintEvent.
    setFrameStyle(QFrame::NoFrame);
    for (QWidget* label :
         {static_cast<QWidget*>(LabelClock), static_cast<QWidget*>(LabelWeek), static_cast<QWidget*>(LabelAmPm),
          static_cast<QWidget*>(LabelCol1), static_cast<QWidget*>(LabelCol2)})
        label->hide();
    FontSpec fontSpec = look_.font;
    if (fontSpec.size <= 0)
        fontSpec.size = kTextFallbackSize;
    setFont(toQFont(fontSpec));
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, toQColor(fontSpec.color));
    setPalette(palette);
}

void ClockPanel::applyGraphicLook()
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(kBorder);
    setFont(QFont());
    QColor back = toQColor(look_.background);
    QColor time = toQColor(look_.timeColor);
    setColors(*this, palette().color(QPalette::WindowText), back);
    LabelClock->setColors(toQColor(look_.dateColor), time, back);
    setColors(*LabelWeek, toQColor(look_.weekdayColor), back);
    setColors(*LabelAmPm, time, back);
    setColors(*LabelCol1, time, back);
    setColors(*LabelCol2, time, back);

    LabelClock->show();
    LabelWeek->show();
    LabelCol1->show();
    LabelCol2->setVisible(look_.seconds);
    LabelAmPm->setVisible(!look_.twentyFourHour);
    if (!look_.seconds) {
        DigitalSet(19, clock::Glyph::Blank);
        DigitalSet(20, clock::Glyph::Blank);
    }
}

void ClockPanel::tick(const DateTime& now)
{
    shown_ = now;
    // A new name tells the bus: once a minute, not every second.
    if (const QString spoken = fromSjis(clock::spokenClock(now, hourDisplay())); spoken != accessibleName())
        setAccessibleName(spoken);
    clock::ClockFace face = clock::clockFace(now, secondsDisplay(), hourDisplay());
    if (isTextClock()) {
        caption_ = fromSjis(clock::clockCaption(look_.style, now));
        TimeSet(face);
        update();
        return;
    }
    DigitalSet(19, face.cells[19]);
    DigitalSet(20, face.cells[20]);
    TimeSet(face);
    DateSet(face);
}

void ClockPanel::TimeSet(const clock::ClockFace& face)
{
    LabelAmPm->setText(QString::fromLatin1(face.amPm.c_str()));
    if (isTextClock())
        return;
    for (int cell : {13, 14, 16, 17})
        DigitalSet(cell, face.cells[static_cast<std::size_t>(cell)]);
}

void ClockPanel::DateSet(const clock::ClockFace& face)
{
    for (int cell = 0; cell <= 9; ++cell)
        DigitalSet(cell, face.cells[static_cast<std::size_t>(cell)]);
    LabelWeek->setText(QString::fromLatin1(face.weekday.c_str()));
}

void ClockPanel::DigitalSet(int cell, clock::Glyph glyph)
{
    LabelClock->setGlyph(cell, glyph);
}

void ClockPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (isTextClock())
        paintCaption();
}

void ClockPanel::paintCaption()
{
    QPainter painter(this);
    QRect outer = rect();
    qDrawShadePanel(&painter, outer, palette(), true, 1);
    qDrawShadePanel(&painter, outer.adjusted(1, 1, -1, -1), palette(), false, 1);
    QRect inner = outer.adjusted(2 + kTextIndent, 2, -2 - kTextIndent, -2);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    Qt::Alignment horizontal = look_.leftAligned ? Qt::AlignLeft : Qt::AlignHCenter;
    painter.drawText(inner, static_cast<int>(horizontal | Qt::AlignVCenter), caption_);
}

clock::SecondsDisplay ClockPanel::secondsDisplay() const
{
    return look_.seconds ? clock::SecondsDisplay::Shown : clock::SecondsDisplay::Hidden;
}

clock::HourDisplay ClockPanel::hourDisplay() const
{
    return look_.twentyFourHour ? clock::HourDisplay::TwentyFour : clock::HourDisplay::Twelve;
}

} // namespace kal::qt
