#include "alarm/qt/StatusPanel.h"

#include <QPainter>

#include <algorithm>

namespace kal::qt {

StatusPanel::StatusPanel(const char* name, int width, QWidget* parent) : QFrame(parent)
{
    setObjectName(name);
    // The text at 24 pixels stays whole in a larger desktop font.
    setFixedWidth(std::max(width, 24 + fontMetrics().horizontalAdvance(QString::fromUtf8("アラームOFF")) + 6));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void StatusPanel::setContent(const QPixmap& icon, const QString& text)
{
    icon_ = icon;
    text_ = text;
    setAccessibleName(text);
    update();
}

void StatusPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    if (!icon_.isNull())
        painter.drawPixmap(2, (height() - icon_.height()) / 2, icon_);
    painter.drawText(QRect(24, 0, width() - 24, height()), Qt::AlignVCenter | Qt::AlignLeft, text_);
}

} // namespace kal::qt
