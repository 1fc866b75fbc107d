#include "platform/qt/DeferredIcons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>

namespace kal::qt {
namespace {

// Asks the style for the icon the first time it is used.
class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(QPointer<QStyle> style, QStyle::StandardPixmap which) : style_(style), which_(which) { }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override
    {
        auto* copy = new DeferredIconEngine(style_, which_);
        copy->icon_ = icon_;
        return copy;
    }
    QString key() const override { return QStringLiteral("KalendraDeferred"); }
    bool isNull() override { return false; }

private:
    const QIcon& icon()
    {
        if (icon_.isNull() && style_)
            icon_ = style_->standardIcon(which_);
        return icon_;
    }

    QPointer<QStyle> style_;
    QStyle::StandardPixmap which_;
    QIcon icon_;
};

class DeferringStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        if (which != SP_ToolBarHorizontalExtensionButton && which != SP_ToolBarVerticalExtensionButton)
            return QProxyStyle::standardIcon(which, option, widget);
        return QIcon(new DeferredIconEngine(QPointer<QStyle>(baseStyle()), which));
    }
};

} // namespace

void deferOverflowIcons()
{
    if (!dynamic_cast<DeferringStyle*>(QApplication::style()))
        QApplication::setStyle(new DeferringStyle(QApplication::style()->name()));
}

} // namespace kal::qt
