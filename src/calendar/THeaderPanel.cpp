#include "calendar/THeaderPanel.h"

#include <QMouseEvent>
#include <QPainter>

namespace kal {

THeaderPanel::THeaderPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("PanelMonSch");
    setAutoFillBackground(true);
}

void THeaderPanel::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void THeaderPanel::setCaptionFont(const QFont& font)
{
    font_ = font;
    update();
}

void THeaderPanel::setCaptionColor(const QColor& color)
{
    color_ = color;
    update();
}

void THeaderPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font_);
    painter.setPen(color_);
    painter.drawText(rect(), Qt::AlignCenter, caption_);
}

void THeaderPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

void THeaderPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit resized();
}

} // namespace kal
