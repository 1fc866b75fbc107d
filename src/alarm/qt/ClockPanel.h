// The clock at the top of the right-hand panel: a row of seven-segment cells with the weekday,
// AM/PM and colon labels (graphic look), or one formatted line in a chosen font (text look).
// The main window applies the look from the settings and calls tick() every second.
#pragma once

#include "alarm/ClockDisplay.h"
#include "platform/Platform.h"

#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QString>

#include <array>
#include <optional>
#include <string>

class QPainter;

namespace kal::qt {

struct ClockLook {
    int type = 0;                              // 0 graphic, 1 text
    FontSpec font;                             // text clock: UTF-8 name, size, style, colour
    std::string style = "yyyy-mm-dd hh:mm:ss"; // Shift-JIS date-time pattern of the text clock
    bool leftAligned = false;
    bool seconds = true;
    bool twentyFourHour = true;
    // The defaults of colour items 18 to 20.
    ColorValue dateColor = 8453888;
    ColorValue background = 0;
    ColorValue weekdayColor = 255;
    ColorValue timeColor = 16776960;
};

// `LabelClock`: paints every segment of every digit cell on each update.
class ClockDigits : public QLabel {
public:
    explicit ClockDigits(QWidget* parent);

    void setColors(const QColor& date, const QColor& time, const QColor& background);
    // Drawn this much smaller where the panel is narrower than the clock (1: full size).
    void setScale(double scale);
    void setGlyph(int cell, clock::Glyph glyph);
    clock::Glyph glyphAt(int cell) const;
    // The fill of one segment (1..7) of a cell as it is painted; the background for label cells.
    QColor segmentColor(int cell, int segment) const;
    QColor background() const { return background_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintCell(QPainter& painter, int cell) const;

    std::array<clock::Glyph, clock::kCellCount> cells_{};
    QColor date_, time_, background_;
    double scale_ = 1;
};

class ClockPanel : public QFrame {
    Q_OBJECT
public:
    explicit ClockPanel(QWidget* parent = nullptr);

    ClockDigits* LabelClock;
    QLabel* LabelWeek;
    QLabel* LabelAmPm;
    QLabel* LabelCol1;
    QLabel* LabelCol2;

    // At start and after the settings dialog; redraws the last time shown in the new look.
    void applyLook(const ClockLook& look);
    // One update: the text caption, or the seconds cells, TimeSet and DateSet.
    void tick(const DateTime& now);

    void DateSet(const clock::ClockFace& face);
    void TimeSet(const clock::ClockFace& face);
    void DigitalSet(int cell, clock::Glyph glyph);

    clock::Glyph glyphAt(int cell) const { return LabelClock->glyphAt(cell); }
    // The text clock's line as shown.
    const QString& caption() const { return caption_; }
    const ClockLook& look() const { return look_; }
    bool isTextClock() const { return look_.type == 1; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The digits and labels at their places, the whole clock shrunk to a narrower panel.
    void placeFace();
    void applyTextLook();
    void applyGraphicLook();
    void paintCaption();
    clock::SecondsDisplay secondsDisplay() const;
    clock::HourDisplay hourDisplay() const;

    ClockLook look_;
    QString caption_;
    std::optional<DateTime> shown_;
};

} // namespace kal::qt
