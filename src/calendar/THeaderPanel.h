// The header above the calendar: a large caption (the month number, or year and month in the
// mini calendar) drawn in the middle, the navigation buttons on it, and a double click that
// toggles the mini calendar (the window manager keeps the title bar's double click).
#pragma once

#include <QWidget>

namespace kal {

class THeaderPanel : public QWidget {
    Q_OBJECT
public:
    explicit THeaderPanel(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }
    void setCaptionFont(const QFont& font);
    void setCaptionColor(const QColor& color);

signals:
    void doubleClicked();
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString caption_;
    QFont font_;
    QColor color_ = Qt::blue;
};

} // namespace kal
